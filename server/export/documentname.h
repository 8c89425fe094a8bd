// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one rule for the names the console suggests for what it writes: the
// kind of document, then the exam's day and article, made safe as a file
// name on Windows and Linux.
#include <QDateTime>
#include <QString>

namespace documentname {

// The longest an article may take of a file name.
constexpr int kArticleChars = 40;

// `part` as a piece of a file name: the signs Windows refuses (\/:*?"<>|),
// control characters and the marks that reorder text become "_", blanks
// and dots go from the ends, at most kArticleChars characters, never empty.
QString safe(const QString &part);

// "考试报告-20260302-第1课": what, the exam's local day, its article (left
// out when it has none).
QString forExam(const QString &what, const QDateTime &heldAt, const QString &articleName);

}  // namespace documentname
