# Checks that every include points down the layers: app -> ui -> sim, help -> store -> platform, with
# tools/ beside ui as the command line's face. The store holds three rooms: store/profile and
# store/registry stand side by side and use only platform/; the files of store/ itself use both. The
# platform holds two: platform/os (the host's primitives) below platform/wine; store/profile needs only the
# first. The window holds four: ui/framework uses none of the others, ui/controls only the framework,
# ui/dialogs the framework and the controls, and ui/editor all three. Below the window no file includes
# Qt. tests/, bench/ and fuzz/ may use everything and are not checked.
#
# Run by ctest: cmake -DQUARVEL_SOURCE_DIR=<repository> -P CheckLayers.cmake
# Fails naming each file and line that breaks a rule.

cmake_minimum_required(VERSION 3.25)

if(NOT QUARVEL_SOURCE_DIR)
    message(FATAL_ERROR "Run as: cmake -DQUARVEL_SOURCE_DIR=<repository> -P CheckLayers.cmake")
endif()

# Each room, the most specific first, with the rooms its files may include besides their own.
set(rooms store/profile store/registry store platform/os platform/wine help sim
    ui/framework ui/controls ui/dialogs ui/editor app tools)
set(platform_rooms platform/os platform/wine)
set(store_rooms store store/profile store/registry)
set(below_ui ${platform_rooms} ${store_rooms} help sim)
set(ui_rooms ui/framework ui/controls ui/dialogs ui/editor)
set(may_use_platform/os "")
set(may_use_platform/wine platform/os)
set(may_use_store/profile platform/os)
set(may_use_store/registry ${platform_rooms})
set(may_use_store ${platform_rooms} store/profile store/registry)
set(may_use_help ${platform_rooms} ${store_rooms})
set(may_use_sim ${platform_rooms} ${store_rooms})
set(may_use_ui/framework ${below_ui})
set(may_use_ui/controls ${below_ui} ui/framework)
set(may_use_ui/dialogs ${below_ui} ui/framework ui/controls)
set(may_use_ui/editor ${below_ui} ui/framework ui/controls ui/dialogs)
set(may_use_app ${below_ui} ${ui_rooms})
set(may_use_tools ${below_ui})
set(rooms_without_qt ${platform_rooms} ${store_rooms} help sim tools)
foreach(room IN LISTS rooms)
    if(may_use_${room})
        string(REPLACE ";" "/, " allowed "${may_use_${room}}")
        set(allowed_to_${room} "only ${allowed}/")
    else()
        set(allowed_to_${room} "no other room")
    endif()
endforeach()

# Qt's headers: <QString>, <QtCore/QString>, <qstring.h>.
set(qt_header "^(Qt[A-Za-z]*/)?(Q[A-Za-z0-9_]*|q[a-z0-9_]*\\.h)$")

# The room of a path from the repository root; outside the rooms, its first folder (tests, bench, ...).
function(room_of path result)
    foreach(room IN LISTS rooms)
        if(path MATCHES "^${room}/[^/]+$")
            set(${result} ${room} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    string(REGEX REPLACE "/.*" "" folder "${path}")
    set(${result} ${folder} PARENT_SCOPE)
endfunction()

# The line number of the first line of a file that reads exactly so.
function(line_number_of file line result)
    file(READ ${file} text)
    string(FIND "${text}" "${line}" position)
    string(SUBSTRING "${text}" 0 ${position} before)
    string(REGEX MATCHALL "\n" breaks "${before}")
    list(LENGTH breaks count)
    math(EXPR number "${count} + 1")
    set(${result} ${number} PARENT_SCOPE)
endfunction()

set(faults "")
foreach(room IN LISTS rooms)
    file(GLOB files RELATIVE ${QUARVEL_SOURCE_DIR}
         ${QUARVEL_SOURCE_DIR}/${room}/*.h ${QUARVEL_SOURCE_DIR}/${room}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${QUARVEL_SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
                continue()
            endif()
            set(quoted ${CMAKE_MATCH_1})
            set(header ${CMAKE_MATCH_2})
            set(fault "")
            if(room IN_LIST rooms_without_qt AND header MATCHES "${qt_header}")
                set(fault "includes Qt (${header}), but ${room}/ uses no Qt")
            elseif(quoted STREQUAL "\"" AND header MATCHES "(^|/)\\.\\./")
                set(fault "includes ${header}: spell includes from the repository root")
            elseif(quoted STREQUAL "\"" AND header MATCHES "/")
                room_of(${header} used)
                if(NOT used STREQUAL room AND NOT used IN_LIST may_use_${room})
                    set(fault "includes ${header} from ${used}/, but ${room}/ may use ${allowed_to_${room}}")
                endif()
            endif()
            if(fault)
                line_number_of(${QUARVEL_SOURCE_DIR}/${file} "${line}" number)
                list(APPEND faults "${file}:${number}: ${fault}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(LENGTH faults count)
    foreach(fault IN LISTS faults)
        message(NOTICE "${fault}")
    endforeach()
    message(FATAL_ERROR "${count} include(s) against the layers")
endif()
message(STATUS "Every include points down the layers.")
