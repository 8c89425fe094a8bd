// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the exchange folder and the programs' own folders are.
#include <QString>

namespace paths {

// d:\typedata on Windows, /srv/typedata elsewhere.
QString defaultExchangeFolder();
// The exam text and the settings file: published under these names in the
// exchange folder by the console, downloaded under the same names by the client.
inline QString examTextFileName()
{
    return QStringLiteral("te.txt");
}
inline QString examSettingsFileName()
{
    return QStringLiteral("se.dll");
}

// KESTRIX_EXCHANGE_DIR when set and not empty, else the folder the
// examiner chose (when not empty), else the default.
QString exchangeFolder(const QString &chosen = QString());
// Whether the exchange folder is usable: the default one must exist and be
// called "typedata" (in any case); an overridden one must simply exist as a
// folder.
bool exchangeFolderIsReady(const QString &folder);

// The folder where a program keeps its files: KESTRIX_APP_DIR when set,
// else the program's own folder when it is writable (a portable install),
// else the user's data folder for this program (created when missing).
QString applicationFolder(const QString &programFolder);

// The folder a program keeps its working files in (the console's results
// table, the client's downloads): the folder it was started in when
// writable, else the user's data folder for this program (created when
// missing). A shortcut into a read-only program folder still works.
QString workingFolder(const QString &startFolder);

// A file counts as present when the folder lists exactly this name, so
// "TIME.TXT" does not stand in for "time.txt" on file systems that ignore case.
bool hasFileNamed(const QString &folder, const QString &name);

}  // namespace paths
