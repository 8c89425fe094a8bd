// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam as the console last published it: the exam time of se.dll and
// the text of te.txt, kept in the application folder (fb.txt, and te.txt's
// bytes as fbte.txt) so that the results and their answer sheets are judged
// against it after the settings changed for the next sitting, and after a
// restart. The publication it was published as is kept with it, so that
// after a restart the console knows which publication its records belong to.
#include "exchange/publication.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct ExamAsPublished
{
    qint16 examMinutes = 0;
    qint32 textLength = 0;  // the text as the client counts it
    QByteArray textDigest;  // SHA-1 of te.txt's bytes, in hex
    // The text as the client compares it; empty when no copy of te.txt was
    // kept (or it no longer matches the digest).
    QString text;
    QByteArray textBytes;  // te.txt's bytes, when kept
    Publication publication;  // without an id when kept by an older console

    friend bool operator==(const ExamAsPublished &a, const ExamAsPublished &b)
    {
        return a.examMinutes == b.examMinutes && a.textLength == b.textLength
                && a.textDigest == b.textDigest;
    }

    static QString fileName() { return QStringLiteral("fb.txt"); }
    // Beside fb.txt.
    static QString textFileName() { return QStringLiteral("fbte.txt"); }
    // The exam in the published bytes of te.txt; empty when they are no exam text.
    static std::optional<ExamAsPublished> of(qint16 examMinutes, const QByteArray &textBytes,
                                             const Publication &publication = {});
    // GBK lines (minutes, text length, digest, publication id, whether codes
    // are required), written whole, after the copy of te.txt beside them;
    // the problem or empty.
    QString save(const QString &path) const;
    // Empty when nothing was kept or the file does not read as one; the text
    // only when its copy is there and has the digest.
    static std::optional<ExamAsPublished> load(const QString &path);
};
