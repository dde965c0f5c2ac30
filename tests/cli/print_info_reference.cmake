# tessamar --print-info on a file with a reference length: the computed lengths and the reference.
set(data ${CMAKE_CURRENT_LIST_DIR}/../data)
execute_process(COMMAND ${TESSAMAR} --print-info ${data}/photoinfo-reference.dat
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "exit status ${status}, stderr: ${err}")
endif()
if(NOT err STREQUAL "")
    message(FATAL_ERROR "unexpected stderr: ${err}")
endif()
file(READ ${data}/photoinfo-reference.json expected)
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "stdout differs.\nexpected: ${expected}\nactual:   ${out}")
endif()
