# tessamar --print-info on a complete file: the records as one JSON line.
set(data ${CMAKE_CURRENT_LIST_DIR}/../data)
execute_process(COMMAND ${TESSAMAR} --print-info ${data}/photoinfo-v8.dat
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "exit status ${status}, stderr: ${err}")
endif()
if(NOT err STREQUAL "")
    message(FATAL_ERROR "unexpected stderr: ${err}")
endif()
file(READ ${data}/photoinfo-v8.json expected)
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "stdout differs.\nexpected: ${expected}\nactual:   ${out}")
endif()
