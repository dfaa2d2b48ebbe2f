# Installation rules and the Debian package (cpack -G DEB, see scripts/package.sh): the program, its desktop
# entry, icons, AppStream metadata, manual page and the Debian documentation files, all named by the
# application id (cmake/VantorixIdentity.cmake). The demo service is a development stand-in for the real
# service and is not installed. Linux only: this is a Debian package.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()
include(GNUInstallDirs)

set(VANTORIX_VENDOR "Vantorix")
set(VANTORIX_MAINTAINER "Vantorix maintainers <packages@vantorix.example>")
# The release date of PROJECT_VERSION, in the metainfo release, the manual page and the changelog.
set(VANTORIX_RELEASE_DATE "2026-12-06")
string(SUBSTRING "${VANTORIX_RELEASE_DATE}" 0 4 VANTORIX_COPYRIGHT_YEAR)
execute_process(COMMAND date -u -R -d "${VANTORIX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE VANTORIX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(_src ${PROJECT_SOURCE_DIR}/packaging)
set(_out ${CMAKE_BINARY_DIR}/packaging)
configure_file(${_src}/desktop.in ${_out}/${VANTORIX_APP_ID}.desktop @ONLY)
configure_file(${_src}/metainfo.xml.in ${_out}/${VANTORIX_APP_ID}.metainfo.xml @ONLY)
configure_file(${_src}/vantorix.1.in ${_out}/vantorix.1 @ONLY)
configure_file(${_src}/changelog.in ${_out}/changelog @ONLY)
configure_file(${_src}/copyright.in ${_out}/copyright @ONLY)

# Built with the program (a few milliseconds): the PNG icons from the SVG mark, the compressed manual page
# and changelog (gzip -n: no time stamp, so the package is the same at every build).
find_program(VANTORIX_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VANTORIX_GZIP gzip REQUIRED)
set(_icon_svg ${PROJECT_SOURCE_DIR}/assets/icons/vantorix-icon.svg)
set(_icon_sizes 48 64 128 256)
set(_generated)
foreach(size IN LISTS _icon_sizes)
    set(png ${_out}/icons/${size}x${size}/${VANTORIX_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_out}/icons/${size}x${size}
        COMMAND ${VANTORIX_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${_icon_svg}
        DEPENDS ${_icon_svg}
        VERBATIM)
    list(APPEND _generated ${png})
endforeach()
foreach(name vantorix.1 changelog)
    add_custom_command(OUTPUT ${_out}/${name}.gz
        COMMAND ${VANTORIX_GZIP} -9 -n -k -f ${_out}/${name}
        DEPENDS ${_out}/${name}
        VERBATIM)
    list(APPEND _generated ${_out}/${name}.gz)
endforeach()
add_custom_target(vantorix_package_files ALL DEPENDS ${_generated})

install(TARGETS vantorix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_out}/${VANTORIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_out}/${VANTORIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VANTORIX_APP_ID}.svg)
foreach(size IN LISTS _icon_sizes)
    install(FILES ${_out}/icons/${size}x${size}/${VANTORIX_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${_out}/vantorix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_out}/copyright ${_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantorix)

# The package. Library dependencies come from dpkg-shlibdeps; what the program loads at run time without
# linking it is named here: the QML modules its views and Qt's own controls import, and the SVG image
# plugin that draws the icons (tests/package checks this list against what the program imports).
set(VANTORIX_RUNTIME_PACKAGES
    qml6-module-qtqml
    qml6-module-qtqml-models
    qml6-module-qtqml-workerscript
    qml6-module-qtquick
    qml6-module-qtquick-window
    qml6-module-qtquick-controls
    qml6-module-qtquick-templates
    qml6-module-qtquick-layouts
    qml6-module-qtquick-dialogs
    qml6-module-qt-labs-folderlistmodel
    qml6-module-qt5compat-graphicaleffects
    libqt6svg6
)
list(JOIN VANTORIX_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "freerdp2-x11")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${VANTORIX_VENDOR}")
set(CPACK_PACKAGE_CONTACT "${VANTORIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client of the Vantorix cloud-desktop service")
set(CPACK_PACKAGE_DESCRIPTION
    "Run the cloud computers of a Vantorix account and connect to them.\n"
    "Create, start, stop, reboot, rename and delete the Windows and Linux\n"
    "computers the service runs for the account, see a preview of their\n"
    "desktops, connect to them through the Remote Desktop client, buy credits\n"
    "and read the billing history and activity logs. The program keeps\n"
    "running in the system tray.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VANTORIX_DEFAULT_SERVICE_URL}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
