# What `cmake --install` places and what the Debian package holds: the
# program, the command-line tool and the simulated panel, the desktop entry,
# the icon (SVG and PNG sizes) and the MIME type of .TMB settings files.
#
#   cmake --install build                 # under /usr/local (run update-mime-database
#                                         # and update-desktop-database there afterwards)
#   cmake --build build --target package  # build/tamberline_<version>_<arch>.deb
#
# The icon's PNGs are rendered from tamberline.svg by scripts/render-icons.sh.
include(GNUInstallDirs)

foreach(program tamberline tamberline-cli tamberline-panelsim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

set(T2_PACKAGING ${CMAKE_CURRENT_LIST_DIR})
set(T2_ICON_SIZES 16 24 32 48 64 128 256)
install(FILES ${T2_PACKAGING}/tamberline.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${T2_PACKAGING}/tamberline.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${T2_PACKAGING}/icons/tamberline.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${T2_ICON_SIZES})
    install(FILES ${T2_PACKAGING}/icons/tamberline-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tamberline.png)
endforeach()

# The Debian package. Its dependencies are read off the binaries
# (dpkg-shlibdeps); the desktop, MIME and icon caches are refreshed by the
# triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamberline)
set(CPACK_PACKAGE_VENDOR "VEL")
set(CPACK_PACKAGE_CONTACT "Tamberline II host developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Host program for the Tamberline II lighting-control relay panel")
set(CPACK_PACKAGE_DESCRIPTION
    "Builds the panel's whole configuration (relays, groups, switch inputs, Vantel network devices, "
    "timers, presets, calendar, names), keeps it in .TMB settings files, downloads it to the panel and "
    "uploads it back over a serial line, a modem or TCP/IP, watches and switches the panel live and "
    "writes a documentation report. With tamberline-cli for scripts and tamberline-panelsim, a "
    "simulated panel.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A fixed-width face for the report's printed and PDF pages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme, fonts-dejavu-core")
# The fleet recipes of the README run the command-line tool under GNU parallel and jq.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "parallel, jq")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
