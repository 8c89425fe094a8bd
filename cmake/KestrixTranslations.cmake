# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# kestrix_translations(TARGET CATALOGUE FOLDER ...): the windows are written
# in simplified Chinese; the program carries the English catalogue
# translations/CATALOGUE_en.ts of every text in the FOLDERs' sources, compiled
# into its resources as :/i18n/CATALOGUE_en.qm. The target
# update_translations refreshes the .ts files from the sources (lupdate); the
# build compiles them (lrelease).
function(kestrix_translations target catalogue)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB_RECURSE folder_sources CONFIGURE_DEPENDS
      "${PROJECT_SOURCE_DIR}/${folder}/*.cpp" "${PROJECT_SOURCE_DIR}/${folder}/*.h")
    list(APPEND sources ${folder_sources})
  endforeach()
  qt_add_translations(${target}
    TS_FILES "${PROJECT_SOURCE_DIR}/translations/${catalogue}_en.ts"
    SOURCES ${sources}
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -locations none -no-obsolete)
endfunction()
