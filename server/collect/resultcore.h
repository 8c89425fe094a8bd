// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One examinee's result as the client wrote it: what the results table
// stores, and what the live class and the archive add their marks to.
#include <QString>

struct ResultCore
{
    qint32 recNo = 0;
    QString department;
    QString examNumber;
    QString name;
    double speed = 0;
    QString accuracyLine;  // the accuracy line exactly as the client wrote it
    qint16 timePass = 0;

    // The accuracy line as a number; 0 when it does not read as one.
    double accuracy() const;

    friend bool operator==(const ResultCore &a, const ResultCore &b)
    {
        return a.recNo == b.recNo && a.department == b.department && a.examNumber == b.examNumber
                && a.name == b.name && a.speed == b.speed && a.accuracyLine == b.accuracyLine
                && a.timePass == b.timePass;
    }
};
