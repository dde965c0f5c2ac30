# Ctrl+C typed through a real X server (Xvfb, openbox, XTest through xdotool)
# puts the annotated picture on the X clipboard.
get_filename_component(build "${TESSAMAR}" DIRECTORY)
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
execute_process(
    COMMAND sh "${source}/tools/run-under-x" "${build}/test_dialog"
        "--gtest_filter=WindowTransferUnderX*"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  PASSED  \\] 1 test" OR out MATCHES "SKIPPED")
    message(FATAL_ERROR "the X server test failed (${rc}):\n${out}\n${err}")
endif()
