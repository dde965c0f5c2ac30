# F5 pressed through a real X server (Xvfb, openbox, XTest)
# asks the connected meter for a reading.
get_filename_component(build "${TESSAMAR}" DIRECTORY)
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
execute_process(
    COMMAND sh "${source}/tools/run-under-x" "${build}/test_dialog"
        "--gtest_filter=RangeFinderUnderX*" --gtest_also_run_disabled_tests
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  PASSED  \\] 1 test" OR out MATCHES "SKIPPED")
    message(FATAL_ERROR "the X server test failed (${rc}):\n${out}\n${err}")
endif()
