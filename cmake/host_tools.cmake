# Build-time generators run on the build machine, also in the cross build: each is compiled with
# the host's C++ compiler into the build folder.
#   zv_host_tool(NAME SOURCE) defines ${NAME}_EXECUTABLE
find_program(ZV_HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

function(zv_host_tool name source)
  set(executable ${CMAKE_BINARY_DIR}/host-tools/${name})
  add_custom_command(
    OUTPUT ${executable}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-tools
    COMMAND ${ZV_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Werror -o ${executable} ${source}
    DEPENDS ${source}
    COMMENT "Building host tool ${name}")
  add_custom_target(${name}_tool DEPENDS ${executable})
  set(${name}_EXECUTABLE ${executable} PARENT_SCOPE)
endfunction()

# The test image's constants: the downloader's own, so that the program's routines run in it as
# in the program, then those the tests add.
set(ZV_TEST_CONSTANT_LISTS ${CMAKE_SOURCE_DIR}/image/constants.list
    ${CMAKE_SOURCE_DIR}/tests/support/test_constants.list)

# Generates a program's ConstantSegment from its constant lists, one after another, into
# target's sources; the target includes the generated header as "program_constants.h".
#   zv_constant_segment(TARGET LIST...)
function(zv_constant_segment target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_constants)
  add_custom_command(
    OUTPUT ${dir}/program_constants.cpp ${dir}/program_constants.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${constgen_EXECUTABLE} ${ARGN} ${dir}/program_constants.cpp
            ${dir}/program_constants.h
    DEPENDS ${constgen_EXECUTABLE} ${ARGN}
    COMMENT "Generating the constant segment of ${target}")
  target_sources(${target} PRIVATE ${dir}/program_constants.cpp ${dir}/program_constants.h)
  target_include_directories(${target} PRIVATE ${dir})
endfunction()

# Generates the WindowTemplateSegment of a window description with templategen into a new static
# library named library; the handler list gives the entry-table order of the handlers. BIN, when
# given, receives a binary copy; any further arguments are files the description reads.
#   zv_window_template_segment(LIBRARY DESCRIPTION HANDLER_LIST [BIN [FILE...]])
function(zv_window_template_segment library description handler_list)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${library}.cpp)
  set(binary "")
  set(inputs "")
  if(ARGC GREATER 3)
    set(binary ${ARGV3})
    list(SUBLIST ARGN 1 -1 inputs)
  endif()
  add_custom_command(
    OUTPUT ${generated} ${binary}
    COMMAND ${ZV_TEMPLATEGEN} ${description} ${handler_list} ${generated} ${binary}
    DEPENDS templategen_tool ${ZV_TEMPLATEGEN} ${description} ${handler_list} ${inputs}
    COMMENT "Generating the window template segment of ${description}")
  add_library(${library} STATIC ${generated})
endfunction()

# Writes a program's code file at configure time: the code start every program shares
# (image/code_base.inc), then the entry table, one jmp per handler of the handler list in its
# order. A change of the list configures again.
#   zv_program_code(OUTPUT HANDLER_LIST)
function(zv_program_code output handler_list)
  file(STRINGS ${handler_list} handlers REGEX "^[A-Za-z_]")
  set(code "# Generated from ${handler_list}.\n#include \"image/code_base.inc\"\n")
  foreach(handler ${handlers})
    string(APPEND code "    jmp _${handler}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${output} CONTENT "${code}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${handler_list})
endfunction()
