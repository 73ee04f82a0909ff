# Installing and packaging.
#
# `cmake --install build --prefix PREFIX` lays out:
#   PREFIX/lib/sonolux/      the program folder, as build/dist: the program, the launcher
#                            sonolux-open, the loader module, the outside libraries, the
#                            archiver helper, the tools, skin/ and format/, and the marker
#                            that makes each user's files go to the user's own folders
#   PREFIX/bin/              links to the program, the launcher and the tools
#   PREFIX/share/            the desktop entry, the icon, the Recomposer MIME type, the
#                            AppStream metadata, the manual pages (docs/man), and in
#                            doc/sonolux/ README, the copyright file and the changelog
# `cpack -G DEB` (run in build/) makes sonolux_<version>_<arch>.deb of the same layout for
# the prefix /usr.

include(GNUInstallDirs)

set(SONOLUX_INSTALL_DIR "lib/sonolux")
set(SONOLUX_INSTALL_MARKER "${CMAKE_BINARY_DIR}/sonolux.installed")
file(WRITE "${SONOLUX_INSTALL_MARKER}"
    "This program folder is installed: each user's settings, play list and designs are kept\n"
    "in the user's own folders ($XDG_CONFIG_HOME/sonolux and $XDG_DATA_HOME/sonolux).\n")

install(TARGETS sonolux sonolux-open arcworker rcp2smf sonolux-render
    RUNTIME DESTINATION "${SONOLUX_INSTALL_DIR}")
install(TARGETS sonolux_loader rcpcv unrar unlha32 unzip32 cab32 tar32 unrar32 unarj32j
    LIBRARY DESTINATION "${SONOLUX_INSTALL_DIR}")
install(DIRECTORY "${SONOLUX_DIST_DIR}/skin" "${SONOLUX_DIST_DIR}/format"
    DESTINATION "${SONOLUX_INSTALL_DIR}"
    FILES_MATCHING PATTERN "*.mbd" PATTERN "*.MID")
install(FILES "${SONOLUX_INSTALL_MARKER}" DESTINATION "${SONOLUX_INSTALL_DIR}")

# Relative links, so the tree works wherever it is unpacked.
foreach(program sonolux sonolux-open sonolux-render rcp2smf)
    install(CODE "
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(CREATE_LINK \"../${SONOLUX_INSTALL_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)
        message(STATUS \"Installing: \${bin}/${program} -> ../${SONOLUX_INSTALL_DIR}/${program}\")
    ")
endforeach()

set(desktop_dir "${CMAKE_SOURCE_DIR}/resources/desktop")
install(FILES "${desktop_dir}/sonolux.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${desktop_dir}/sonolux.svg"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${desktop_dir}/sonolux-mime.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME "sonolux.xml")
install(FILES "${desktop_dir}/io.github.sonolux.Sonolux.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The changelog in Debian's format, compressed as policy wants it (gzip -9n: no file name
# or time stamp), beside the machine-readable copyright file.
set(debian_dir "${CMAKE_SOURCE_DIR}/resources/debian")
set(changelog_gz "${CMAKE_BINARY_DIR}/changelog.gz")
find_program(GZIP_EXECUTABLE gzip REQUIRED)
add_custom_command(OUTPUT "${changelog_gz}"
    COMMAND sh -c "\"$1\" -9n <\"$2\" >\"$3\"" gzip "${GZIP_EXECUTABLE}"
        "${debian_dir}/changelog" "${changelog_gz}"
    DEPENDS "${debian_dir}/changelog"
    VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS "${changelog_gz}")
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/sonolux")
install(FILES "${CMAKE_SOURCE_DIR}/README.md" "${debian_dir}/copyright" "${changelog_gz}"
    DESTINATION "${doc_dir}")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "sonolux")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Sonolux")
set(CPACK_PACKAGE_CONTACT "Sonolux developers <sonolux-devel@googlegroups.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI file player for Japanese song collections")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sono Lux plays Standard MIDI Files and Recomposer song files (RCP, R36, G36)\n"
    "through FluidSynth or an external sound module on an ALSA port, playing a reset\n"
    "file before every song. It takes songs straight out of LZH, ZIP, CAB, RAR, TAR\n"
    "and ARJ archives, shows Shift-JIS titles as written, and answers the desktop's\n"
    "media keys and media controls.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/sonolux/sonolux")
# CPack writes postinst and postrm scripts that run ldconfig whenever a shared library lies
# under /usr/lib, unless scripts of those names are given here; a given one that does not
# exist is left out. The libraries in lib/sonolux/ are the program's own, found through its
# run path and never through ldconfig's cache, so the package has no maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_BINARY_DIR}/no-maintainer-scripts/postinst"
    "${CMAKE_BINARY_DIR}/no-maintainer-scripts/postrm")
# Libraries from dpkg-shlibdeps (unarr, lhasa and zlib named as well: the RAR engine and
# the archive helper, loaded or run on demand, need them); a Japanese font for the titles
# and, for the default FluidSynth output, a General MIDI SoundFont (not needed with an
# external sound module).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libunarr1, liblhasa0, zlib1g, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fluid-soundfont-gm | timgm6mb-soundfont")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "playerctl")
include(CPack)
