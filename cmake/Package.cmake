# Installation in the Debian layout and the .deb made from it by CPack (scripts/package).
# Installed, the program finds its data in ../share/dtuconfig/ beside its folder.
include(GNUInstallDirs)
set(DTU_HOMEPAGE "https://github.com/dtuconfig/dtuconfig" CACHE STRING "The project's home page")
set(DTU_SCREENSHOT_URL
    "https://raw.githubusercontent.com/dtuconfig/dtuconfig/main/docs/screenshots/en-page-00.png"
    CACHE STRING "The screenshot the software centres show")
set(DTU_MAINTAINER "dtuconfig developers <dev@dtuconfig.example.org>"
    CACHE STRING "The package's maintainer, name and mail address")
set(DTU_VERSION ${PROJECT_VERSION})
set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(out ${CMAKE_BINARY_DIR}/packaging)
set(metainfo io.github.dtuconfig.dtuconfig.metainfo.xml)

configure_file(${pkg}/dtuconfig.metainfo.xml ${out}/${metainfo} @ONLY)
configure_file(${pkg}/dtuconfig.1 ${out}/dtuconfig.1 @ONLY)
configure_file(${pkg}/copyright ${out}/copyright @ONLY)
# A native package (its version has no Debian revision): the changelog is changelog.gz.
configure_file(${pkg}/changelog ${out}/changelog @ONLY)
# Debian wants manual pages and changelogs compressed, without a name or time stamp inside.
add_custom_command(OUTPUT ${out}/dtuconfig.1.gz ${out}/changelog.gz
    COMMAND gzip -9nkf ${out}/dtuconfig.1 ${out}/changelog
    DEPENDS ${out}/dtuconfig.1 ${out}/changelog)
add_custom_target(dtu_package_files ALL DEPENDS ${out}/dtuconfig.1.gz ${out}/changelog.gz)

install(TARGETS dtuconfig RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skin/ConifgENRes ${CMAKE_SOURCE_DIR}/skin/ConifgRes
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dtuconfig/skin)
install(FILES ${pkg}/dtuconfig.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out}/${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/dtuconfig-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME dtuconfig.xml)
install(FILES ${pkg}/bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME dtuconfig)
install(FILES ${out}/dtuconfig.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${out}/copyright ${out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dtuconfig)
set(icons ${CMAKE_SOURCE_DIR}/skin/ConifgENRes)
install(FILES ${icons}/dtuconfig.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${icons}/dtuconfig_${size}.png RENAME dtuconfig.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dtuconfig)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${DTU_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure industrial data terminal units over a serial line")
# The extended description, after the summary line; CPack indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "dtuconfig reads and writes the parameters of data terminal units (cellular
modems with optional LoRa, ZigBee or GPS modules, digital I/O and serial
ports) with text AT commands over a serial line, in English or Chinese.
Besides the window it backs units up to .cfg files, applies them and sets
single values from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DTU_HOMEPAGE})
# Qt and the C++ runtime as dpkg-shlibdeps finds them; the Chinese skin needs a CJK font, and
# Qt's own dialogs (file dialog, message box buttons) need Qt's Chinese catalogue.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
