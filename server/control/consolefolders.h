// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the console reads and writes, chosen once at the start.
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace console {

struct ConsoleFolders
{
    QString application;  // time.txt, test.txt, scratch files, article/
    QString program;  // where the manual ships, beside the program
    QString exchange;  // the folder the FTP service publishes
    QString database;  // the results database file (cj.mdb)
    QString exports;  // where exported workbooks are written; made when absent

    // The folders holding the console's program, settings and results,
    // which the exchange folder must never be.
    QStringList ownFolders() const
    {
        return { application, program, QFileInfo(database).absolutePath() };
    }
};

}  // namespace console
