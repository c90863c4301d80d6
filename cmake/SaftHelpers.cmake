# saft_library(<name> <sources...> LIBS <deps...>)
# A static library for one folder; its folder is on the include path of everything that links it.
function(saft_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# saft_test(<name> <sources...> LIBS <deps...>)
# One GoogleTest executable, run by CTest with the offscreen Qt platform.
function(saft_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE testsupport ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SAFT_SHARED_DIR=${PROJECT_SOURCE_DIR}/../shared;SAFT_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
