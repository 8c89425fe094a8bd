// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checkpoint of a running exam in the client's working folder: its
// latest record with the typed text, scrambled as an upload is and written
// whole, so that after a crash the examinee can continue where it stopped.
#include "exchange/resultrecord.h"
#include "exchange/wholefile.h"

#include <QString>

class ExamCheckpoint
{
public:
    static QString fileName() { return QStringLiteral("resume.zip"); }

    explicit ExamCheckpoint(const QString &workingFolder);

    // The record as of now, stamped with the last sequence number sent; the
    // problem or empty.
    QString write(const ResultRecord &record) const;
    // The scrambled bytes; no bytes and no problem when there is none.
    wholefile::Reading read() const;

private:
    QString m_path;
};
