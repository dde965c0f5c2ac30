# tessamar --screenshot: its status and messages for a missing photo and for
# wrong arguments (a picture taken: CommandLineFilesTest; what it changes:
# ScreenshotCommandTest).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{QT_QPA_PLATFORM} offscreen)

# A photo that does not exist: a clear message and a failure status.
execute_process(COMMAND "${TESSAMAR}" --screenshot "${WORK}/none.png" "${WORK}/missing.jpg"
    RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "missing.jpg")
    message(FATAL_ERROR "a missing photo was not reported: ${rc} ${err}")
endif()
if(EXISTS "${WORK}/none.png")
    message(FATAL_ERROR "a picture was written for a missing photo")
endif()

# Too many arguments: usage and status 2.
execute_process(COMMAND "${TESSAMAR}" --screenshot a b c RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 2)
    message(FATAL_ERROR "extra arguments gave status ${rc}")
endif()
