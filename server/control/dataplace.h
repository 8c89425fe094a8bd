// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the console keeps its data: the settings (time.txt, test.txt,
// kestrix.ini, and an earlier version's exchange.txt), the exam as
// published (fb.txt) and the results (cj.mdb).
// An installed copy keeps them in the user's data folder whatever its
// program folder allows at a start, so that a start as administrator
// cannot open a second, empty console. A portable copy (the zip, the build
// tree) keeps them beside itself, as it always did.
#include <QCoreApplication>
#include <QStringList>

class DataPlace
{
    Q_DECLARE_TR_FUNCTIONS(DataPlace)
public:
    // The files that make up the console's data.
    static QStringList dataFileNames();
    // Where a different copy found elsewhere is put, inside the data folder.
    static QString asideFolderName() { return QStringLiteral("旧位置的数据"); }
    // Left in the data folder once the other places were looked at.
    static QString takenOverMarkName() { return QStringLiteral("taken-over.txt"); }

    struct Folders
    {
        QString application;  // settings, fb.txt, articles
        QString database;  // the folder of cj.mdb
        bool installed = false;
    };

    // Installed when the installer's or package's note lies in
    // `shipFolder` (where the manual ships): then both are `userData`
    // (KESTRIX_APP_DIR still names the application folder). Otherwise the
    // program's folder and the start folder, read-only ones standing in as
    // paths::applicationFolder() and paths::workingFolder() say.
    static Folders choose(const QString &shipFolder, const QString &programFolder,
                          const QString &startFolder, const QString &userData);

    // Once for each data folder: copies the data an earlier start left in
    // `otherFolders` into the application folder. A file the data folder
    // has already is never overwritten; a different copy goes into
    // asideFolderName(). What the examiner is told: from where to where,
    // and what could not be copied; empty when nothing was found.
    static QString takeOver(const QString &dataFolder, const QStringList &otherFolders);
};
