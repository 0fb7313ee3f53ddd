# Builds the portable core natively as 32-bit code with GCC, so that value layouts (32-bit
# addresses in text arrays and argument records) and the code page 936 literals are the same as
# in the Windows program.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
