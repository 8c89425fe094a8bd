# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# kestrix_program(TARGET DESCRIPTION text): settings both programs share.
# On Windows: a GUI program (no console window behind it) with its icon and
# a version resource; elsewhere nothing extra.
function(kestrix_program target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  if(WIN32)
    set(KESTRIX_RC_NAME ${target})
    set(KESTRIX_RC_DESCRIPTION "${ARG_DESCRIPTION}")
    set(KESTRIX_RC_ICON "${PROJECT_SOURCE_DIR}/packaging/icons/kestrix-${target}.ico")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
  endif()
endfunction()
