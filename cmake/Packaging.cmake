# What an installation holds besides the programs, the help files, the desktop entry and the icons (whose
# rules stand beside their targets), and the Debian package that CPack's DEB generator makes of it
# (./package runs it).

set(QUARVEL_HOMEPAGE "https://quarvel.example.org" CACHE STRING
    "The project's home page; the software-centre screenshots are read from its docs/ folder")
set(QUARVEL_PACKAGE_MAINTAINER "The Quarvel developers <quarvel@example.org>" CACHE STRING
    "Name and mail address of whoever answers for the Debian package")

# Software centres read the metainfo; Debian wants the same releases as a changelog in its own format,
# newest first, which is written from it. Each release has one paragraph; its newest must be the version
# being built.
set(quarvel_metainfo_source ${PROJECT_SOURCE_DIR}/res/quarvel.metainfo.xml.in)
file(READ ${quarvel_metainfo_source} quarvel_metainfo_text)
string(REGEX MATCHALL "<release version=\"[^\"]*\" date=\"[^\"]*\">[^<]*<description>[^<]*<p>[^<]*</p>"
       quarvel_releases "${quarvel_metainfo_text}")
set(quarvel_changelog "")
foreach(release IN LISTS quarvel_releases)
    string(REGEX MATCH "version=\"([^\"]*)\" date=\"([^\"]*)\".*<p>([^<]*)</p>" quarvel_ignored "${release}")
    set(quarvel_release_version ${CMAKE_MATCH_1})
    set(quarvel_release_date ${CMAKE_MATCH_2})
    string(REGEX REPLACE "\n *" "\n    " quarvel_release_notes "${CMAKE_MATCH_3}")
    execute_process(COMMAND date --rfc-email --utc --date "${quarvel_release_date} 12:00 UTC"
                    OUTPUT_VARIABLE quarvel_release_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    if(NOT quarvel_changelog AND NOT quarvel_release_version STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "res/quarvel.metainfo.xml.in: the newest release is ${quarvel_release_version}, "
                            "not ${PROJECT_VERSION}: add the release with its date and a paragraph on what "
                            "it brings")
    endif()
    string(APPEND quarvel_changelog "quarvel (${quarvel_release_version}) unstable; urgency=medium\n\n"
                                    "  * ${quarvel_release_notes}\n\n"
                                    " -- ${QUARVEL_PACKAGE_MAINTAINER}  ${quarvel_release_time}\n\n")
endforeach()
if(NOT quarvel_changelog)
    message(FATAL_ERROR "res/quarvel.metainfo.xml.in names no release with a <p> paragraph")
endif()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/changelog CONTENT "${quarvel_changelog}" @ONLY)

# Its id is the home page's host name reversed (quarvel.example.org: org.example.quarvel), as software
# centres expect.
if(NOT QUARVEL_HOMEPAGE MATCHES "^https://([^/]+)")
    message(FATAL_ERROR "QUARVEL_HOMEPAGE must be an https:// address, not \"${QUARVEL_HOMEPAGE}\"")
endif()
string(REPLACE "." ";" quarvel_host_names "${CMAKE_MATCH_1}")
list(REVERSE quarvel_host_names)
string(JOIN "." QUARVEL_APPSTREAM_ID ${quarvel_host_names})
set(quarvel_metainfo ${PROJECT_BINARY_DIR}/${QUARVEL_APPSTREAM_ID}.metainfo.xml)
configure_file(${quarvel_metainfo_source} ${quarvel_metainfo} @ONLY)
install(FILES ${quarvel_metainfo} DESTINATION share/metainfo)

# Manual pages and the changelog go compressed, as Debian keeps them; gzip -n leaves out the time stamp,
# so that the same text always gives the same bytes.
set(quarvel_compressed_docs)
function(quarvel_compress source folder)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${folder}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
        COMMAND gzip -9nf ${folder}/${name}
        DEPENDS ${source})
    list(APPEND quarvel_compressed_docs ${folder}/${name}.gz)
    set(quarvel_compressed_docs ${quarvel_compressed_docs} PARENT_SCOPE)
endfunction()
foreach(page quarvel.1 quarvel-ini.1)
    quarvel_compress(${PROJECT_SOURCE_DIR}/res/man/${page} ${PROJECT_BINARY_DIR}/man)
    install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz DESTINATION share/man/man1)
endforeach()
quarvel_compress(${PROJECT_BINARY_DIR}/changelog ${PROJECT_BINARY_DIR}/doc)
add_custom_target(quarvel_compressed_docs ALL DEPENDS ${quarvel_compressed_docs})
install(FILES ${PROJECT_SOURCE_DIR}/res/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION share/doc/quarvel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUARVEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUARVEL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "editor for the configuration files of Flight Simulator 2004 under Wine
Quarvel edits the configuration files of Microsoft Flight Simulator 2004 (FS9)
for players who run the simulator under Wine: fs9.cfg, scenery.cfg,
devices.cfg, display.cfg, suneffect.cfg, terrain.cfg and aircraft.cfg.
Sections show as a tree and keys as a list with a description of each key.
Every edit is written at once, leaving every other byte of the file as it was.
.
The package also holds quarvel-ini, a command-line tool for scripted edits.")
# Depends is what dpkg-shlibdeps finds the programs linked against (the Qt 6 and C++ libraries).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
