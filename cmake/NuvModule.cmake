# nuv_module(<name> [STATIC] DEPENDS <targets...>)
# One library per module folder; sources are the folder's *.cpp files.
# Modules are shared libraries so that the host and every plug-in it loads
# see one copy of each module (one registry, one set of pools).
# NUV_MODULE_NAME tells the raise macros which module a failure comes from.
function(nuv_module name)
  cmake_parse_arguments(M "STATIC" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(M_STATIC)
    add_library(${name} STATIC ${sources})
  else()
    add_library(${name} SHARED ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE NUV_MODULE_NAME="${name}")
  target_link_libraries(${name} PUBLIC ${M_DEPENDS})
endfunction()

# nuv_test(<module> DEPENDS <targets...>): one GoogleTest binary per module,
# built from tests/<module>/*.cpp (one file per unit under test).
function(nuv_test module)
  cmake_parse_arguments(T "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${module}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${module}_tests ${sources})
  target_compile_definitions(${module}_tests PRIVATE NUV_MODULE_NAME="${module}_tests"
    NUV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${module}_tests PRIVATE ${module} ${T_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${module} COMMAND ${module}_tests)
  set_tests_properties(${module} PROPERTIES LABELS unit TIMEOUT 600)
endfunction()
