# One ctest per GoogleTest suite of a test program, found after each build by listing the program's tests (under
# CMAKE_CROSSCOMPILING_EMULATOR for the Windows tests, so one Wine start per suite rather than per case).
#
#   add_gtest_suites(TARGET LABEL label [PREFIX name] [FILTER gtest-filter] [ENVIRONMENT VAR=value...])
#
# PREFIX names the ctests (default: the label); FILTER keeps only the cases it matches; ENVIRONMENT is set for the
# listing and for every run.
function(add_gtest_suites target)
  cmake_parse_arguments(arg "" "LABEL;PREFIX;FILTER" "ENVIRONMENT" ${ARGN})
  if(NOT arg_PREFIX)
    set(arg_PREFIX ${arg_LABEL})
  endif()
  set(listed ${CMAKE_CURRENT_BINARY_DIR}/${arg_PREFIX}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${arg_PREFIX}_include.cmake)
  get_property(emulator TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env ${arg_ENVIRONMENT} ${CMAKE_COMMAND}
      "-DPROGRAM=$<TARGET_FILE:${target}>" "-DEMULATOR=${emulator}" "-DOUTPUT=${listed}" "-DLABEL=${arg_LABEL}"
      "-DPREFIX=${arg_PREFIX}" "-DFILTER=${arg_FILTER}" "-DENVIRONMENT=${arg_ENVIRONMENT}"
      -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/list_gtest_suites.cmake
    BYPRODUCTS ${listed} VERBATIM)
  file(WRITE ${include_file}
    "if(EXISTS \"${listed}\")\n  include(\"${listed}\")\nelse()\n"
    "  add_test(${arg_PREFIX}.NOT_BUILT ${CMAKE_COMMAND} -E false)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
