# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The NSIS installer in Chinese throughout: CPack's own template with the
# few English texts it hard-codes replaced, Simplified Chinese as its only
# language, and a refusal to install below Windows 10 (Qt 6 does not start
# there). Each replacement must take, or the installer would quietly fall
# back to English.
set(template "${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in")
file(READ "${template}" nsis)

function(kestrix_nsis_replace from to)
  string(FIND "${nsis}" "${from}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "CPack's NSIS template no longer holds: ${from}")
  endif()
  string(REPLACE "${from}" "${to}" replaced "${nsis}")
  set(nsis "${replaced}" PARENT_SCOPE)
endfunction()

string(REGEX REPLACE
  "  !insertmacro MUI_LANGUAGE \"English\"[^\n]*\n(  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"\n)+"
  "  !insertmacro MUI_LANGUAGE \"SimpChinese\"\n" nsis "${nsis}")
string(FIND "${nsis}" "MUI_LANGUAGE \"English\"" english)
if(NOT english EQUAL -1)
  message(FATAL_ERROR "CPack's NSIS template lists its languages differently now")
endif()
kestrix_nsis_replace(
  "\"@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\\n$\\nDo you want to uninstall the old version before installing the new one?\""
  "\"@CPACK_NSIS_PACKAGE_NAME@ 已经安装在这台计算机上。$\\n$\\n先卸载旧版本，再安装新版本吗？（成绩和设置保留在用户的数据文件夹中，不会删除。）\"")
kestrix_nsis_replace("\"Uninstall failed.\"" "\"旧版本卸载失败，安装没有进行。\"")
kestrix_nsis_replace("\\Uninstall.lnk\"" "\\卸载.lnk\"")
kestrix_nsis_replace("Function .onInit\n" "Function .onInit
  \${IfNot} \${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP \"@KESTRIX_NSIS_OLD_WINDOWS@\" /SD IDOK
    SetErrorLevel 3
    Quit
  \${EndIf}
")
set(KESTRIX_NSIS_OLD_WINDOWS
  "本软件需要 Windows 10 或更高版本，不能安装在此版本的 Windows 上。$\\n$\\nWindows 7 和 Windows 8 无法运行它：它所用的 Qt 6 要求 Windows 10。")
string(REPLACE "@KESTRIX_NSIS_OLD_WINDOWS@" "${KESTRIX_NSIS_OLD_WINDOWS}" nsis "${nsis}")
file(WRITE "${PROJECT_BINARY_DIR}/nsis/NSIS.template.in" "${nsis}")
list(PREPEND CMAKE_MODULE_PATH "${PROJECT_BINARY_DIR}/nsis")

set(CPACK_NSIS_DEFINES "Target amd64-unicode\n  !include LogicLib.nsh\n  !include WinVer.nsh")

# The licence page: a short Chinese note before the GPL's own English text,
# as a UTF-8 file with its mark, which the Unicode installer shows as such.
file(READ "${PROJECT_SOURCE_DIR}/packaging/windows/licence-note.txt" note)
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" licence)
file(WRITE "${PROJECT_BINARY_DIR}/nsis/licence.txt" "${note}${licence}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_BINARY_DIR}/nsis/licence.txt")

# The console keeps its data in the user's data folder only when this note
# lies beside it: the zip of the same files stays portable. Single quotes:
# CPack copies these into its configuration without escaping double ones.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
  "  FileOpen $0 '$INSTDIR\\\\${KESTRIX_INSTALLED_MARK}' w
  FileWrite $0 'Written by the installer: this console keeps its data in the user data folder.'
  FileClose $0")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "  Delete '$INSTDIR\\\\${KESTRIX_INSTALLED_MARK}'")
