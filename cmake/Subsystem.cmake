# brisna_subsystem(NAME [DEPS sub...] [LIBS target...])
# Builds src/NAME/*.cpp into the static library brisna_NAME. A folder without sources yet
# becomes an interface library, so the tree configures at every stage of its growth.
function(brisna_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/${name}/*.cpp)
  set(deps)
  foreach(dep IN LISTS ARG_DEPS)
    list(APPEND deps brisna_${dep})
  endforeach()
  if(sources)
    add_library(brisna_${name} STATIC ${sources})
    target_include_directories(brisna_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src
                                                     ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(brisna_${name} PUBLIC ${deps} ${ARG_LIBS})
  else()
    add_library(brisna_${name} INTERFACE)
    target_include_directories(brisna_${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/src
                                                        ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(brisna_${name} INTERFACE ${deps} ${ARG_LIBS})
  endif()
endfunction()

# brisna_test(NAME LIBS...) builds tests/NAME/*.cpp into test_NAME and registers its cases.
function(brisna_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/TestSupport.cpp)
  target_include_directories(test_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(test_${name} PRIVATE ${ARGN} GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
      BRISNA_SOURCE_DIR="${BRISNA_SOURCE_DIR}" BRISNA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "BRISNA_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
