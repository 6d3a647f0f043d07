# The Linux install (program, desktop entry, icons, metainfo, man page) and its Debian package.
include(GNUInstallDirs)

set(kv_data ${PROJECT_SOURCE_DIR}/data)
set(KV_SCREENSHOT_BASE https://raw.githubusercontent.com/kivoret/kivoret/main/docs)
foreach(file kivoret.desktop kivoret.metainfo.xml kivoret.1)
  configure_file(${kv_data}/${file}.in ${KV_GENERATED_DIR}/${file} @ONLY)
endforeach()

install(TARGETS kivoret RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KV_GENERATED_DIR}/kivoret.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${KV_APP_ID}.desktop)
install(FILES ${KV_GENERATED_DIR}/kivoret.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${KV_APP_ID}.metainfo.xml)
# Compressed, as Debian's policy asks; -n keeps the package reproducible.
add_custom_command(OUTPUT ${KV_GENERATED_DIR}/kivoret.1.gz
                   COMMAND gzip -9nc ${KV_GENERATED_DIR}/kivoret.1 > ${KV_GENERATED_DIR}/kivoret.1.gz
                   DEPENDS ${KV_GENERATED_DIR}/kivoret.1 VERBATIM)
add_custom_target(kv_manpage DEPENDS ${KV_GENERATED_DIR}/kivoret.1.gz)
add_dependencies(kivoret kv_manpage)  # so that building the program alone is enough to install
install(FILES ${KV_GENERATED_DIR}/kivoret.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size 16 32 48)
  install(FILES ${kv_data}/icons/kivoret-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KV_APP_ID}.png)
endforeach()
install(FILES ${kv_data}/icons/kivoret.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${KV_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivoret)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kivoret")
set(CPACK_PACKAGE_CONTACT "Kivoret maintainers <kivoret@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drives and registered folders in a menu at the mouse pointer")
set(CPACK_PACKAGE_DESCRIPTION
    "Started from a key or a panel button, kivoret pops a menu up at the mouse pointer with the\n"
    "mounted volumes and the folders you registered, and opens the one you choose in the file\n"
    "manager. Its settings window keeps the list and adds a right-click entry on folders to\n"
    "Dolphin, Nemo, Nautilus, Thunar and Caja. The interface is in Japanese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the chosen folder.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
