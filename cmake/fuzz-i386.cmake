# Builds the portable core natively as 32-bit code with clang, for the libFuzzer targets.
# clang keeps string literals in UTF-8 (it has no code page 936 execution character set), so
# this build proves memory safety and differential agreement, not the bytes of Chinese literals;
# those are proven by the GCC builds.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
