# Keeps a manual page in step with its program's --help: the synopsis is the usage line, every item the
# usage lists (options, commands, environment) is a tagged paragraph of the page's section of that name,
# and every tag of the page's OPTIONS, COMMANDS and ENVIRONMENT sections is an item of --help or at least
# a word it uses. The page's version is the project's.
#
# With SHIPPED_HELP, the program's --help must name that folder as the one its key descriptions come
# from, and a copy of the program away from any help folder must say that it has none.
#
# Run by ctest: cmake -DPROGRAM=<executable> -DPAGE=<page.1> -DVERSION=<x.y> [-DSHIPPED_HELP=<folder>]
#                     -DSCRATCH=<folder> -P ManPageCheck.cmake

cmake_minimum_required(VERSION 3.25)

set(problems "")
macro(complain text)
    string(APPEND problems "\n  ${text}")
endmacro()

# Square brackets group list elements in CMake and semicolons split them; both are made harmless, in the
# page and the usage alike, before the texts are cut into lines.
function(split_lines text out)
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "\n" ";" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A page's line as it reads: without font changes, with plain hyphens and backslashes.
function(plain_page_text line out)
    string(REGEX REPLACE "\\\\f[BIRP]" "" line "${line}")
    string(REPLACE "\\-" "-" line "${line}")
    string(REPLACE "\\e" "\\" line "${line}")
    set(${out} "${line}" PARENT_SCOPE)
endfunction()

function(run_help program out)
    execute_process(COMMAND ${program} --help RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE errors)
    if(NOT status EQUAL 0 OR errors)
        message(FATAL_ERROR "${program} --help ended with ${status}: ${errors}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

run_help(${PROGRAM} help_text)
split_lines("${help_text}" help_lines)
string(JOIN "\n" plain_help_text ${help_lines})

# The usage: its first line, and the items under each "Heading:" as the term before the description.
set(usage "")
set(heading "")
set(headings "")
foreach(line IN LISTS help_lines)
    if(line MATCHES "^Usage: (.*)$")
        set(usage "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^([A-Z][a-z]+):$")
        string(TOUPPER "${CMAKE_MATCH_1}" heading)
        list(APPEND headings ${heading})
    elseif(heading AND line MATCHES "^  ([^ ]([^ ]| [^ ])*)")
        list(APPEND items_${heading} "${CMAKE_MATCH_1}")
    elseif(line STREQUAL "")
        set(heading "")
    endif()
endforeach()

file(READ ${PAGE} page_text)
split_lines("${page_text}" page_lines)
set(section "")
set(synopsis "")
set(next_is_tag FALSE)
foreach(raw IN LISTS page_lines)
    plain_page_text("${raw}" line)
    if(line MATCHES "^\\.TH [^ ]+ [0-9] \"[^\"]*\" \"Quarvel ([^\"]*)\"")
        if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
            complain("the page is for version ${CMAKE_MATCH_1}, the program is ${VERSION}")
        endif()
    elseif(line MATCHES "^\\.SH (.*)$")
        set(section "${CMAKE_MATCH_1}")
    elseif(line STREQUAL ".TP")
        set(next_is_tag TRUE)
    elseif(next_is_tag)
        list(APPEND tags_${section} "${line}")
        set(next_is_tag FALSE)
    elseif(section STREQUAL "SYNOPSIS" AND NOT line MATCHES "^\\.")
        set(synopsis "${line}")
    endif()
endforeach()

get_filename_component(program_name ${PROGRAM} NAME)
if(NOT synopsis STREQUAL usage)
    complain("SYNOPSIS reads \"${synopsis}\" where --help has \"${usage}\"")
endif()
foreach(heading IN LISTS headings)
    foreach(item IN LISTS items_${heading})
        if(NOT item IN_LIST tags_${heading})
            complain("--help lists \"${item}\" under ${heading}; the page has no such tag there")
        endif()
    endforeach()
endforeach()
foreach(section OPTIONS COMMANDS ENVIRONMENT)
    foreach(tag IN LISTS tags_${section})
        string(REGEX MATCH "^[^ ,]+" first_word "${tag}")
        string(REGEX REPLACE "([.?*+^$()|\\])" "\\\\\\1" first_word "${first_word}")
        if(section IN_LIST headings AND NOT tag IN_LIST items_${section})
            complain("the page's ${section} has \"${tag}\", which --help does not list there")
        elseif(NOT plain_help_text MATCHES "(^|[^-A-Za-z0-9_.])${first_word}([^-A-Za-z0-9_]|$)")
            complain("the page's ${section} has \"${tag}\", which --help never mentions")
        endif()
    endforeach()
endforeach()

if(SHIPPED_HELP)
    string(FIND "${help_text}" " in ${SHIPPED_HELP}\n" named)
    if(named EQUAL -1)
        complain("--help does not name ${SHIPPED_HELP} as the folder of the shipped key descriptions")
    endif()
    file(REMOVE_RECURSE ${SCRATCH})
    file(COPY ${PROGRAM} DESTINATION ${SCRATCH})
    run_help(${SCRATCH}/${program_name} bare_help_text)
    if(NOT bare_help_text MATCHES "which are missing")
        complain("a copy without help files does not say in --help that they are missing")
    endif()
    file(REMOVE_RECURSE ${SCRATCH})
endif()

if(problems)
    message(FATAL_ERROR "${PAGE} is out of step with ${program_name} --help:${problems}")
endif()
