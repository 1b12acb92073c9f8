# kv_add_library(NAME [DEPENDS lib...] [PACKAGES pkgconfig-module...])
# Builds the static library NAME from every .cpp under the folder (new files
# are picked up on the next build). A folder with headers only becomes an
# interface library.
function(kv_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PACKAGES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    set(scope INTERFACE)
  endif()
  foreach(pkg IN LISTS ARG_PACKAGES)
    string(MAKE_C_IDENTIFIER ${pkg} pkgvar)
    pkg_check_modules(KVPKG_${pkgvar} REQUIRED IMPORTED_TARGET ${pkg})
    target_link_libraries(${name} ${scope} PkgConfig::KVPKG_${pkgvar})
  endforeach()
endfunction()

# How many ctest entries each GoogleTest program is split into.
set(KV_TEST_SHARDS 6 CACHE STRING "ctest shards per GoogleTest program")

# kv_add_tests(NAME [DEPENDS lib...])
# One GoogleTest executable test_NAME from every .cpp in the folder,
# registered with ctest as KV_TEST_SHARDS shards. Every *.cmake file in the
# folder is included afterwards (independent checks register themselves
# there).
function(kv_add_tests name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB extra_cmake CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  foreach(f IN LISTS extra_cmake)
    include(${f})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${name} ${ARG_DEPENDS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(test_${name} PRIVATE
    KV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # ctest runs the program in shards (GoogleTest's own sharding) rather than
  # one process a test: a sanitizer build pays its start-up per shard, not
  # per test, and ctest -j still spreads the shards over the processors.
  math(EXPR last_shard "${KV_TEST_SHARDS} - 1")
  foreach(shard RANGE ${last_shard})
    add_test(NAME test_${name}_${shard} COMMAND test_${name} --gtest_brief=1)
    set_tests_properties(test_${name}_${shard} PROPERTIES TIMEOUT 1200 ENVIRONMENT
      "GTEST_TOTAL_SHARDS=${KV_TEST_SHARDS};GTEST_SHARD_INDEX=${shard};KV_SOURCE_DIR=${PROJECT_SOURCE_DIR};KV_BINARY_DIR=${PROJECT_BINARY_DIR}")
  endforeach()
endfunction()
