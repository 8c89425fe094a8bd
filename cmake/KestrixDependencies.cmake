# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The libraries both programs link, as targets:
#   Qt6::* (Charts for the console's charts), kestrix::curl, kestrix::xlsxwriter,
#   kestrix::libpq (the school archive's connections, beneath Qt's driver).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Sql Network Test Charts)
# lupdate and lrelease run on the building machine, also for Windows.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)
if(NOT WIN32)
  # The client switches the input method through Fcitx 5's D-Bus interface.
  find_package(Qt6 6.4 REQUIRED COMPONENTS DBus)
endif()

find_package(CURL REQUIRED)
find_package(ZLIB REQUIRED)
add_library(kestrix_curl INTERFACE)
add_library(kestrix::curl ALIAS kestrix_curl)
target_link_libraries(kestrix_curl INTERFACE CURL::libcurl)
if(WIN32)
  # The Windows toolchain's libcurl is a static library.
  target_compile_definitions(kestrix_curl INTERFACE CURL_STATICLIB)
  # Recorded on the library itself so that the linker meets zlib after it.
  set_property(TARGET CURL::libcurl APPEND PROPERTY
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB ws2_32 crypt32 bcrypt iphlpapi)
endif()

add_library(kestrix_xlsxwriter INTERFACE)
add_library(kestrix::xlsxwriter ALIAS kestrix_xlsxwriter)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND AND NOT CMAKE_CROSSCOMPILING)
  pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
  target_link_libraries(kestrix_xlsxwriter INTERFACE PkgConfig::XLSXWRITER)
else()
  find_path(XLSXWRITER_INCLUDE_DIR xlsxwriter.h REQUIRED)
  find_library(XLSXWRITER_LIBRARY NAMES xlsxwriter REQUIRED)
  # An imported library that names zlib itself, so that the linker meets
  # zlib after it even when another library brought zlib in first.
  add_library(kestrix_xlsxwriter_static UNKNOWN IMPORTED)
  set_target_properties(kestrix_xlsxwriter_static PROPERTIES
    IMPORTED_LOCATION "${XLSXWRITER_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${XLSXWRITER_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
  target_link_libraries(kestrix_xlsxwriter INTERFACE kestrix_xlsxwriter_static)
endif()

# Qt's PostgreSQL driver does not tell when its connection is lost, nor
# lets another thread end a wait on it: the console asks libpq itself.
find_path(KESTRIX_LIBPQ_INCLUDE_DIR libpq-fe.h PATH_SUFFIXES postgresql REQUIRED)
find_library(KESTRIX_LIBPQ_LIBRARY NAMES pq libpq REQUIRED)
add_library(kestrix_libpq INTERFACE)
add_library(kestrix::libpq ALIAS kestrix_libpq)
target_include_directories(kestrix_libpq INTERFACE "${KESTRIX_LIBPQ_INCLUDE_DIR}")
target_link_libraries(kestrix_libpq INTERFACE "${KESTRIX_LIBPQ_LIBRARY}")
if(WIN32)
  target_link_libraries(kestrix_libpq INTERFACE ws2_32)
endif()
