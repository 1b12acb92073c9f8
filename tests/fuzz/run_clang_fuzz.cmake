# Builds the fuzz targets in a separate clang build tree (sanitizers on,
# libraries instrumented for coverage) and runs them with ctest. Called as
#   cmake -DSOURCE=<repo> -DBUILD=<folder> [-DSECONDS=60] -P run_clang_fuzz.cmake
if(NOT SECONDS)
  set(SECONDS 60)
endif()
find_program(CLANG_CXX NAMES clang++ clang++-14 REQUIRED)
find_program(CLANG_C NAMES clang clang-14 REQUIRED)

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD} -G Ninja
          -DCMAKE_C_COMPILER=${CLANG_C} -DCMAKE_CXX_COMPILER=${CLANG_CXX}
          -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_SANITIZE=ON
          -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DKV_FUZZ_SECONDS=${SECONDS}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the clang fuzz build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target fuzz_targets
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed")
endif()
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${BUILD} -L fuzz --output-on-failure
                RESULT_VARIABLE ran)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "a fuzz target failed")
endif()
