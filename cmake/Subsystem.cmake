# brisna_include_root(NAME FOLDERS...) sets include_root to a folder of the build tree that
# holds links to src/FOLDER for each folder named and to the headers at the top of src/. A
# library compiled against it can include "folder/Header.h" only for the folders it depends
# on: an include of any other folder fails to compile instead of growing a hidden dependency.
function(brisna_include_root name)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  # Links left from an earlier list of dependencies go; only links are ever removed here.
  file(GLOB old LIST_DIRECTORIES true ${root}/*)
  foreach(link IN LISTS old)
    if(IS_SYMLINK ${link})
      file(REMOVE ${link})
    endif()
  endforeach()
  file(GLOB top_headers ${CMAKE_CURRENT_SOURCE_DIR}/src/*.h)
  foreach(header IN LISTS top_headers)
    get_filename_component(file_name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${file_name} SYMBOLIC)
  endforeach()
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  set(include_root ${root} PARENT_SCOPE)
endfunction()

# brisna_subsystem(NAME [DEPS sub...] [LIBS target...])
# Builds src/NAME/*.cpp into the static library brisna_NAME, which sees the headers of its own
# folder and of its DEPS only. A folder without sources yet becomes an interface library, so
# the tree configures at every stage of its growth.
function(brisna_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/${name}/*.cpp)
  brisna_include_root(${name} ${name} ${ARG_DEPS})
  set(deps)
  foreach(dep IN LISTS ARG_DEPS)
    list(APPEND deps brisna_${dep})
  endforeach()
  if(sources)
    add_library(brisna_${name} STATIC ${sources})
    target_include_directories(brisna_${name} PUBLIC ${include_root} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(brisna_${name} PUBLIC ${deps} ${ARG_LIBS})
  else()
    add_library(brisna_${name} INTERFACE)
    target_include_directories(brisna_${name} INTERFACE ${include_root}
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
