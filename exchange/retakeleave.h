// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's leave for one more exam after a finished one, as it lies
// in the exchange folder (resultname::retakeFor): record lines naming the
// finished session set aside and, in an exam with login codes, a second
// line signing it with the examinee's key (recordsignature::keyFor). Anyone
// may write into the folder; only the console knows the codes, so only its
// signed leave lets a finished examinee of such an exam in again.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace retakeleave {

// How a leave's file name ends, after the examinee's result file name.
inline QString fileSuffix()
{
    return QStringLiteral(".retake");
}
// Far beyond a session id and a signature: a larger file is none.
constexpr qint64 kMaxBytes = 1024;

// The leave's plain record lines; unsigned when `key` is empty.
QByteArray write(const QString &sessionId, const QByteArray &key = {});

// The session the leave sets aside. With a key, only a leave signed with
// it names one; without, any leave that reads does.
std::optional<QString> sessionOf(QByteArrayView plainBytes, const QByteArray &key = {});

}  // namespace retakeleave
