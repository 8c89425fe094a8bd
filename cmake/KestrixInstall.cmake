# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and packages.
#   Windows: both programs, the Qt and compiler DLLs and plugins they load,
#   and the manual, all in one folder; CPack makes a ZIP and an NSIS
#   installer with Start-menu entries.
#   Linux: kestrix-server and kestrix-student (names no other package
#   uses), desktop entries, icons and the manual; CPack makes a .deb.
# Both: the licence beside the manual (the About box names it), and the
# note that marks an installed copy (its console keeps its data in the
# user's data folder); the Windows installer writes that note itself, so
# the zip of the same files stays portable.
set(KESTRIX_MANUAL "${PROJECT_SOURCE_DIR}/server/manual/安装使用说明.html")

if(WIN32)
  install(TARGETS server student RUNTIME DESTINATION .)
  install(FILES "${KESTRIX_MANUAL}" DESTINATION .)
  install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
  kestrix_windows_runtime(KESTRIX_RUNTIME_DLLS KESTRIX_RUNTIME_PLUGINS)
  install(FILES ${KESTRIX_RUNTIME_DLLS} DESTINATION .)
  foreach(plugin IN LISTS KESTRIX_RUNTIME_PLUGINS)
    get_filename_component(kind "${plugin}" DIRECTORY)
    get_filename_component(kind "${kind}" NAME)
    install(FILES "${plugin}" DESTINATION "plugins/${kind}")
  endforeach()
  # Qt's own texts in Chinese: the translation files are the same on every
  # platform, so the build machine's copy serves.
  find_file(KESTRIX_QT_ZH_CN qtbase_zh_CN.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH)
  if(KESTRIX_QT_ZH_CN)
    install(FILES "${KESTRIX_QT_ZH_CN}" DESTINATION translations)
  endif()
  # Qt finds its plugins and translations beside the program through this file.
  file(WRITE "${PROJECT_BINARY_DIR}/qt.conf" "[Paths]\nPlugins = plugins\nTranslations = translations\n")
  install(FILES "${PROJECT_BINARY_DIR}/qt.conf" DESTINATION .)
else()
  include(GNUInstallDirs)
  install(PROGRAMS $<TARGET_FILE:server> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kestrix-server)
  install(PROGRAMS $<TARGET_FILE:student> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kestrix-student)
  install(FILES "${KESTRIX_MANUAL}" DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrix)
  install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrix
    RENAME LICENSE.txt)
  file(WRITE "${PROJECT_BINARY_DIR}/${KESTRIX_INSTALLED_MARK}"
    "Installed with the package: the console keeps its data in the user's data folder.\n")
  install(FILES "${PROJECT_BINARY_DIR}/${KESTRIX_INSTALLED_MARK}"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrix)
  # Debian's machine-readable copyright file, where dpkg users look for it.
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/linux/copyright"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrix)
  foreach(program kestrix-server kestrix-student)
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/linux/${program}.desktop"
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/icons/${program}.png"
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME kestrix)
set(CPACK_PACKAGE_VENDOR Kestrix)
set(CPACK_PACKAGE_CONTACT "Kestrix <kestrix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrix)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME "kestrix-${PROJECT_VERSION}-windows-x64")
  set(CPACK_NSIS_PACKAGE_NAME "Kestrix ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  set(CPACK_NSIS_DISPLAY_NAME "Kestrix ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/packaging/icons/kestrix-server.ico")
  set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/packaging/icons/kestrix-server.ico")
  set(CPACK_NSIS_INSTALLED_ICON_NAME server.exe)
  set(CPACK_NSIS_MENU_LINKS
    server.exe "考试服务器"
    student.exe "考生端"
    "安装使用说明.html" "安装使用说明")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # A 64-bit Unicode installer (the programs are 64-bit, the texts Chinese).
  include(KestrixNsis)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION education)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6sql6-psql (>= 6.4), libqt6charts6 (>= 6.4), qt6-qpa-plugins (>= 6.4), libcurl4, libxlsxwriter4, fonts-noto-cjk")
endif()
include(CPack)
