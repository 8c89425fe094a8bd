// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who is sitting the exam and where the server is: set by the login window,
// read by the typing window and the result upload for the rest of the run.
#include "exchange/publication.h"

#include <QByteArray>
#include <QString>

struct Examinee
{
    QString serverIP;  // as typed at login; may carry a port, "127.0.0.1:2121"
    QString department;  // department
    QString examNumber;  // exam number
    QString name;  // name
    qint16 examMinutes = 0;
    // The exam's publication (pb.txt); without an id from an older console.
    Publication publication = {};
    // Only when the publication requires codes: the code as typed, and the
    // key drawn from it once at login, which signs every record.
    QString loginCode = {};
    QByteArray recordKey = {};
};
