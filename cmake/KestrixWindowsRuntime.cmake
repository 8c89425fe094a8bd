# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
include_guard(GLOBAL)
# What a MinGW-built program needs beside it on Windows: Qt's DLLs and
# plugins, SQLite, libpq for the school archive, and the compiler's runtime DLLs.

get_filename_component(KESTRIX_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
find_file(KESTRIX_SQLITE_DLL libsqlite3-0.dll PATH_SUFFIXES bin REQUIRED)
find_file(KESTRIX_LIBPQ_DLL libpq.dll PATH_SUFFIXES bin REQUIRED)

# The compiler's runtime DLLs, wherever this compiler keeps them.
set(KESTRIX_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    find_file(path_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH)
    set(path "${path_${dll}}")
  endif()
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler's runtime ${dll} was not found")
  endif()
  # Debian's runtime DLLs carry debug information (libstdc++ 23 MB): ship
  # stripped copies.
  set(stripped "${PROJECT_BINARY_DIR}/runtime-stripped/${dll}")
  if(NOT EXISTS "${stripped}" OR "${path}" IS_NEWER_THAN "${stripped}")
    file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/runtime-stripped")
    execute_process(COMMAND "${CMAKE_STRIP}" --strip-debug -o "${stripped}" "${path}"
      RESULT_VARIABLE failed)
    if(failed)
      file(COPY_FILE "${path}" "${stripped}")
    endif()
  endif()
  list(APPEND KESTRIX_MINGW_DLLS "${stripped}")
endforeach()

# kestrix_windows_runtime(DLLS PLUGINS): the files to ship with the programs.
function(kestrix_windows_runtime dlls_var plugins_var)
  set(dlls "${KESTRIX_SQLITE_DLL}" "${KESTRIX_LIBPQ_DLL}" ${KESTRIX_MINGW_DLLS})
  foreach(module Core Gui Widgets Sql Network Charts)
    list(APPEND dlls "${KESTRIX_QT_PREFIX}/bin/Qt6${module}.dll")
  endforeach()
  set(plugins)
  foreach(plugin platforms/qwindows.dll styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll
      sqldrivers/qsqlpsql.dll)
    list(APPEND plugins "${KESTRIX_QT_PREFIX}/plugins/${plugin}")
  endforeach()
  set(${dlls_var} ${dlls} PARENT_SCOPE)
  set(${plugins_var} ${plugins} PARENT_SCOPE)
endfunction()

# kestrix_wine_environment(VAR): environment entries that let a program of
# the build tree find those DLLs (and the test-only ones) and the plugins
# when Wine runs it. The DLLs are copied into one folder because Wine's
# search path cannot be passed through ctest's list-valued environment
# with more than one entry.
function(kestrix_wine_environment var)
  set(folder "${PROJECT_BINARY_DIR}/wine-runtime")
  file(GLOB qt_dlls "${KESTRIX_QT_PREFIX}/bin/*.dll")
  file(COPY ${qt_dlls} "${KESTRIX_SQLITE_DLL}" "${KESTRIX_LIBPQ_DLL}" ${KESTRIX_MINGW_DLLS}
    DESTINATION "${folder}")
  # Wine hides the Linux side's QT_* variables from Windows programs and
  # passes WINEQT_* under the QT_* name instead.
  set(${var} "WINEPATH=Z:${folder}" "WINEQT_PLUGIN_PATH=Z:${KESTRIX_QT_PREFIX}/plugins"
    "WINEQT_QPA_PLATFORM=offscreen" PARENT_SCOPE)
endfunction()
