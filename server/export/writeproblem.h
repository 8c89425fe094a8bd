// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file the console could not write, told in the examiner's words: what
// happened and what to do, with what the library or the system said kept
// as the detail, e.g. "无法写出学期报告 D:\成绩\报告.xlsx：无法建立文件。请确认…
// 然后再试一次。（详细信息：Error creating output xlsx file. …）".
#include <QString>

namespace writeproblem {

// `cannotWrite` is the sentence's start ("无法写出学期报告 D:\…"), `cause` a
// short cause in Chinese, `detail` the library's or the system's text.
QString sentence(const QString &cannotWrite, const QString &cause, const QString &detail);
// The same for a refusal of libxlsxwriter (an lxw_error), its cause named.
QString ofWorkbook(const QString &cannotWrite, int libraryError);

}  // namespace writeproblem
