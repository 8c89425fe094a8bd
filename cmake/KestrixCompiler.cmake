# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings and sanitizers for the compiler at hand. CI turns warnings into
# errors (KESTRIX_WERROR); a local build only shows them.
option(KESTRIX_WERROR "Treat compiler warnings as errors" OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra)
  if(KESTRIX_WERROR)
    add_compile_options(-Werror)
  endif()
elseif(MSVC)
  add_compile_options(/W4 /utf-8)
  if(KESTRIX_WERROR)
    add_compile_options(/WX)
  endif()
endif()

# AddressSanitizer and UndefinedBehaviorSanitizer: GCC and Clang on Linux
# have them; MinGW and MSVC builds go without.
set(KESTRIX_SANITIZERS OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(KESTRIX_SANITIZERS ON)
endif()

# kestrix_sanitize(TARGET): build TARGET with the sanitizers where supported.
function(kestrix_sanitize target)
  if(KESTRIX_SANITIZERS)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
