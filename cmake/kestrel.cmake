# kestrel_library(NAME folder DEPS ...): one static library per source folder,
# built from the folder's own *.cc files; the dependency list is the
# architecture's arrows, so a wrong include fails to link.
function(kestrel_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cc)
  if(NOT sources)  # a folder that is only headers so far
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# kestrel_test(NAME folder DEPS ...): one GoogleTest program per test folder.
function(kestrel_test name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cc)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KESTREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    KESTREL_SHARED_CORPUS="${PROJECT_SOURCE_DIR}/../shared/corpus/dxf"
    KESTREL_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${folder})
endfunction()
