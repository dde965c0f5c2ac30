# tessamar --export never writes over its own input nor a special file: the
# photo by any spelling, its photo-info file, a named pipe. Each refusal is one
# line on stderr and exit status 1, and every file stays as it was.
set(samples ${CMAKE_CURRENT_LIST_DIR}/../../samples)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/sub)
set(ENV{QT_QPA_PLATFORM} offscreen)
file(COPY_FILE ${samples}/living-room.jpg ${WORK}/same.jpg)
file(COPY_FILE ${samples}/living-room.dat ${WORK}/same.dat)
file(CREATE_LINK same.jpg ${WORK}/link.jpg SYMBOLIC)
execute_process(COMMAND mkfifo ${WORK}/pipe.jpg RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "mkfifo failed: ${status}")
endif()
file(SHA256 ${WORK}/same.jpg photo_sum)
file(SHA256 ${WORK}/same.dat info_sum)

function(expect_refusal out reason)
    # A writer that opened the pipe would wait for a reader for ever.
    execute_process(COMMAND ${TESSAMAR} --export same.jpg ${out}
        WORKING_DIRECTORY ${WORK} TIMEOUT 60
        RESULT_VARIABLE status OUTPUT_VARIABLE out_text ERROR_VARIABLE err)
    if(NOT status EQUAL 1)
        message(FATAL_ERROR "--export same.jpg ${out}: exit status ${status}, expected 1: ${err}")
    endif()
    string(FIND "${err}" "${reason}" at)
    string(REGEX MATCHALL "\n" lines "${err}")
    list(LENGTH lines count)
    if(at EQUAL -1 OR NOT count EQUAL 1)
        message(FATAL_ERROR "--export same.jpg ${out}: expected one line naming '${reason}': ${err}")
    endif()
    file(SHA256 ${WORK}/same.jpg now_photo)
    file(SHA256 ${WORK}/same.dat now_info)
    if(NOT now_photo STREQUAL photo_sum OR NOT now_info STREQUAL info_sum)
        message(FATAL_ERROR "--export same.jpg ${out} changed the photo or its info file")
    endif()
endfunction()

expect_refusal(same.jpg "the photo itself")
expect_refusal(./same.jpg "the photo itself")
expect_refusal(${WORK}/sub/../same.jpg "the photo itself")
expect_refusal(link.jpg "the photo itself")
expect_refusal(same.dat "the photo's info file")
expect_refusal(pipe.jpg "named pipe")

execute_process(COMMAND test -p ${WORK}/pipe.jpg RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the named pipe was replaced")
endif()
file(READ_SYMLINK ${WORK}/link.jpg target)
if(NOT target STREQUAL "same.jpg")
    message(FATAL_ERROR "the symbolic link was replaced")
endif()

# A good output is still written.
execute_process(COMMAND ${TESSAMAR} --export same.jpg out.jpg WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/out.jpg)
    message(FATAL_ERROR "--export same.jpg out.jpg failed (${status}): ${err}")
endif()
