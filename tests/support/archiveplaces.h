// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New, empty archive places on both of the archive's databases, for tests
// that run on each as data rows ("backend": file or school): a SQLite file
// in a temporary folder, or a database of a PostgreSQL server of the
// test's own. Debian's PostgreSQL serves it on Unix; the Windows build's
// tests under Wine have the file only.
#include "postgrescluster.h"

#include "archive/archiveplace.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class ArchivePlaces
{
public:
    // Starts the server where there is one; why it did not start, or empty.
    QString start()
    {
#ifdef Q_OS_UNIX
        m_cluster = std::make_unique<PostgresCluster>();
        return m_cluster->problem();
#else
        return {};
#endif
    }
    void stop()
    {
        m_cluster.reset();
    }
    // The server; none where there is none.
    PostgresCluster *cluster() const
    {
        return m_cluster.get();
    }

    ArchivePlace newPlace(const QString &backend)
    {
        if (backend == u"school")
            return ArchivePlace::fromText(m_cluster->newDatabase());
        return ArchivePlace::file(m_files.filePath(QStringLiteral("%1.db").arg(++m_fileCount)));
    }

    static QStringList backends()
    {
#ifdef Q_OS_UNIX
        return { QStringLiteral("file"), QStringLiteral("school") };
#else
        return { QStringLiteral("file") };
#endif
    }

    // The column "backend" and a row for each.
    static void addBackends()
    {
        QTest::addColumn<QString>("backend");
        for (const QString &backend : backends())
            QTest::newRow(qPrintable(backend)) << backend;
    }

private:
    std::unique_ptr<PostgresCluster> m_cluster;
    QTemporaryDir m_files;
    int m_fileCount = 0;
};
