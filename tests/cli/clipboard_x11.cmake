# Through a real X server (Xvfb, openbox, XTest): Ctrl+C puts
# the annotated picture on the X clipboard, and a JPEG dragged from another
# program's window (X drag and drop) opens.
get_filename_component(build "${TESSAMAR}" DIRECTORY)
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
execute_process(
    COMMAND sh "${source}/tools/run-under-x" "${build}/test_dialog"
        "--gtest_filter=WindowTransferUnderX*:*DraggedUnderX*"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  PASSED  \\] 2 tests" OR out MATCHES "SKIPPED")
    message(FATAL_ERROR "the X server test failed (${rc}):\n${out}\n${err}")
endif()
