# Fails on any C++ file of the repository that clang-format, with the repository's .clang-format, would
# change, and names each such file.
#
# Run by ctest: cmake -DQUARVEL_SOURCE_DIR=<repository> -DCLANG_FORMAT=<clang-format> -P CheckFormat.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT QUARVEL_SOURCE_DIR OR NOT CLANG_FORMAT)
    message(FATAL_ERROR "Run as: cmake -DQUARVEL_SOURCE_DIR=<repository> -DCLANG_FORMAT=<clang-format> "
                        "-P CheckFormat.cmake")
endif()

set(files "")
foreach(folder app ui sim help store platform tools tests bench fuzz)
    file(GLOB_RECURSE found RELATIVE ${QUARVEL_SOURCE_DIR}
         ${QUARVEL_SOURCE_DIR}/${folder}/*.h ${QUARVEL_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND files ${found})
endforeach()

execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${QUARVEL_SOURCE_DIR}
                RESULT_VARIABLE status
                ERROR_VARIABLE complaints)
if(NOT status EQUAL 0)
    string(REGEX MATCHALL "[^\n]+: error: code should be clang-formatted" violations "${complaints}")
    if(NOT violations)
        message(FATAL_ERROR "clang-format failed: ${complaints}")
    endif()
    list(TRANSFORM violations REPLACE ":[0-9]+:[0-9]+: error: .*" "")
    list(REMOVE_DUPLICATES violations)
    list(LENGTH violations count)
    foreach(file IN LISTS violations)
        message(NOTICE "${file}")
    endforeach()
    message(FATAL_ERROR "${count} file(s) clang-format would change: run clang-format -i on them")
endif()
message(STATUS "clang-format would change no file.")
