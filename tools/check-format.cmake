# cmake -DCLANG_FORMAT=<clang-format> -DSOURCE_DIR=<top of the tree> -P check-format.cmake
# Fails when a C++ file under src/, tests/, bench/, fuzz/ or tools/ differs
# from what clang-format makes of it (.clang-format at the top). Mend with
#   clang-format -i FILE
cmake_minimum_required(VERSION 3.24)
set(FILES "")
foreach(folder src tests bench fuzz tools)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND FILES ${found})
endforeach()
list(FILTER FILES EXCLUDE REGEX "/fuzz/corpus/")
list(SORT FILES)
list(LENGTH FILES count)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${FILES}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE status ERROR_VARIABLE complaints)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${complaints}\nNot formatted as .clang-format says; run clang-format -i on the files above.")
endif()
message(STATUS "${count} files formatted as .clang-format says")
