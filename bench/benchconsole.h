// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A console's place for the benchmarks, below a temporary root: app/ for
// the exam's article and minutes, an empty exchange/, and cj.mdb. A place
// that cannot be made or written stops the run.
#include "control/consolefolders.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class BenchConsole
{
public:
    BenchConsole();

    const console::ConsoleFolders &folders() const { return m_folders; }
    // The exam the console publishes: its article (test.txt) and minutes
    // (time.txt) in app/.
    void writeExam(const QString &article, int minutes) const;
    // The digest of te.txt as the console published it into exchange/.
    QByteArray publishedDigest() const;

private:
    QTemporaryDir m_root;
    console::ConsoleFolders m_folders;
};
