# Thread sanitizer run of the preparation tests: a document copy prepared on
# the main thread and evaluated on a second thread beside the original. Only
# in builds without AddressSanitizer (the two cannot share one program): the
# test sources and the tree management, section, preparation and
# randomisation sources are compiled with -fsanitize=thread; the rest of the
# engine comes from the plain libraries.
if(NOT KV_SANITIZE)
  add_executable(test_engine_tsan
    ${CMAKE_CURRENT_LIST_DIR}/prepare_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/testfamily.cpp
    ${PROJECT_SOURCE_DIR}/engine/treemanage.cpp
    ${PROJECT_SOURCE_DIR}/engine/treesection.cpp
    ${PROJECT_SOURCE_DIR}/engine/prepare.cpp
    ${PROJECT_SOURCE_DIR}/engine/randomize.cpp)
  target_compile_options(test_engine_tsan PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(test_engine_tsan PRIVATE -fsanitize=thread)
  target_link_libraries(test_engine_tsan PRIVATE engine GTest::gtest_main)
  add_test(NAME engine_tsan_preparation COMMAND test_engine_tsan)
  set_tests_properties(engine_tsan_preparation PROPERTIES
    ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
endif()
