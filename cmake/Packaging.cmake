# What a package needs besides the executable: the manual page, the AppStream
# metadata with a screenshot drawn by the program itself, shell completion, the
# Debian copyright and changelog, and CPack's Debian generator.

set(OVRA_HOMEPAGE "https://www.tamrel.example/ovra-clock/" CACHE STRING "The program's home page")
set(OVRA_SCREENSHOT_URL "${OVRA_HOMEPAGE}screenshots/ovra-clock-${PROJECT_VERSION}.png"
    CACHE STRING "Where the screenshot drawn at build time is published")
# The release date in the metadata and the changelog: the source's last commit,
# so that two builds of one source make the same package.
set(OVRA_RELEASE_EPOCH "" CACHE STRING "Seconds since 1970 of the release (empty: the last commit)")
if(OVRA_RELEASE_EPOCH STREQUAL "")
    execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE OVRA_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
endif()
if(OVRA_RELEASE_EPOCH STREQUAL "")
    string(TIMESTAMP OVRA_RELEASE_EPOCH "%s" UTC)
endif()
set(ENV{SOURCE_DATE_EPOCH} ${OVRA_RELEASE_EPOCH})
string(TIMESTAMP OVRA_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP OVRA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(pkg ${CMAKE_CURRENT_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${pkg})

# Manual page.
find_program(OVRA_SCDOC scdoc REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/ovra-clock.1 ${pkg}/ovra-clock.1.gz
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\" && gzip -9n -c \"$2\" > \"$3\""
            ${OVRA_SCDOC} ${PROJECT_SOURCE_DIR}/docs/ovra-clock.1.scd
            ${PROJECT_BINARY_DIR}/ovra-clock.1 ${pkg}/ovra-clock.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/ovra-clock.1.scd
    COMMENT "Manual page ovra-clock.1" VERBATIM)

# The screenshot: the default clock at ten past ten, drawn with a HOME of its own
# so that nothing of the builder's settings shows in it.
set(shot ${PROJECT_BINARY_DIR}/screenshots/ovra-clock-${PROJECT_VERSION}.png)
set(shothome ${pkg}/screenshot-home)
add_custom_command(OUTPUT ${shot}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${shothome}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${shothome}/runtime ${PROJECT_BINARY_DIR}/screenshots
    COMMAND ${CMAKE_COMMAND} -E env HOME=${shothome} XDG_CONFIG_HOME=${shothome}/config
            XDG_DATA_HOME=${shothome}/data XDG_CACHE_HOME=${shothome}/cache
            XDG_RUNTIME_DIR=${shothome}/runtime LC_ALL=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:ovra-clock> --render ${shot} --at "2026-12-07 10:08:37"
    DEPENDS ovra-clock
    COMMENT "Screenshot of the face" VERBATIM)

# The metadata carries the screenshot's size, read from the picture just drawn.
add_custom_command(OUTPUT ${pkg}/ovra-clock.metainfo.xml
    COMMAND ${CMAKE_COMMAND} -DPNG=${shot} -DIN=${PROJECT_SOURCE_DIR}/data/ovra-clock.metainfo.xml.in
            -DOUT=${pkg}/ovra-clock.metainfo.xml -DOVRA_HOMEPAGE=${OVRA_HOMEPAGE}
            -DOVRA_SCREENSHOT_URL=${OVRA_SCREENSHOT_URL} -DPROJECT_VERSION=${PROJECT_VERSION}
            -DOVRA_RELEASE_DATE=${OVRA_RELEASE_DATE}
            -P ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake
    DEPENDS ${shot} ${PROJECT_SOURCE_DIR}/data/ovra-clock.metainfo.xml.in
            ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake
    COMMENT "AppStream metadata" VERBATIM)

configure_file(data/changelog.in ${pkg}/changelog @ONLY)
add_custom_command(OUTPUT ${pkg}/changelog.gz
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${pkg}/changelog ${pkg}/changelog.gz
    DEPENDS ${pkg}/changelog VERBATIM)

add_custom_target(package_files ALL DEPENDS ${PROJECT_BINARY_DIR}/ovra-clock.1
    ${pkg}/ovra-clock.1.gz ${pkg}/ovra-clock.metainfo.xml ${pkg}/changelog.gz)

# Debian strips the compiler's notes as well as the symbols.
foreach(installed "${CMAKE_INSTALL_BINDIR}/ovra-clock"
                  "${CMAKE_INSTALL_LIBDIR}/ovra-clock/plugins/ovra-clock-sound.so")
    install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${installed}\")")
endforeach()
install(FILES ${pkg}/ovra-clock.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg}/ovra-clock.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/completion/ovra-clock.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME ovra-clock)
install(FILES data/completion/_ovra-clock DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES data/copyright ${pkg}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ovra-clock)

# cpack -G DEB, from a Release build.
set(CPACK_PACKAGE_NAME ovra-clock)
set(CPACK_PACKAGE_VENDOR Tamrel)
set(CPACK_PACKAGE_CONTACT "Tamrel <support@tamrel.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${OVRA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The xcb platform plugin and the sound back end are loaded at run time, so no
# library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, gstreamer1.0-plugins-good")
# xdg-utils: the alarms open documents and addresses with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-translations-l10n, tzdata, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "round, transparent desktop clock with alarms")
set(CPACK_PACKAGE_DESCRIPTION
    "Ovra Clock shows the time as three rings that fill clockwise from twelve,\n\
with the weekday, the digital time and the date in the middle, on a round\n\
face whose corners are transparent. Keep several named clocks, each in one\n\
of 97 time zones with its own colours, sizes and up to 128 alarms; an alarm\n\
shows a notice with a sound, opens a file or web address, or locks, shuts\n\
down or restarts the computer after a cancellable countdown.")
include(CPack)
