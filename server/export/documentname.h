// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one rule for the names the console suggests for what it writes: the
// kind of document, then the exam's day and article, made safe as a file
// name on Windows and Linux.
#include <QDateTime>
#include <QString>
#include <QStringList>

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

// Which exam a printed page is of.
struct ExamCaption
{
    QDateTime heldAt;
    bool timeKnown = true;  // false for slips printed before the exam opens
    QString articleName;
    qint16 examMinutes = 0;  // 0 when not known
    QStringList departments;  // the examinees', repeats and blanks allowed
};
// More classes than this are counted rather than named.
constexpr int kNamedClasses = 3;
// "2026-12-10 08:00　《春晓》　20分钟　初二(3)班、初二(4)班": the local time
// (only the day when the time is not known), the article, the minutes and
// the classes, each left out when not known; classes named alike are one.
QString caption(const ExamCaption &exam);

}  // namespace documentname
