// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New, empty archive places on both of the archive's databases, for tests
// that run on each as data rows ("backend": file or school): a SQLite file
// in a temporary folder, or a database of a PostgreSQL server of the
// test's own: Debian's PostgreSQL, started by the test broker for the
// Windows build's tests under Wine.
#include "postgrescluster.h"
#include "testbroker.h"

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
        if (!hasServer())
            return {};
        m_cluster = std::make_unique<PostgresCluster>();
        return m_cluster->problem();
    }
    void stop() { m_cluster.reset(); }
    // The server; none where there is none.
    PostgresCluster *cluster() const { return m_cluster.get(); }

    ArchivePlace newPlace(const QString &backend)
    {
        if (backend == u"school")
            return ArchivePlace::fromText(m_cluster->newDatabase());
        return ArchivePlace::file(m_files.filePath(QStringLiteral("%1.db").arg(++m_fileCount)));
    }

    // A new place without tables: a file not yet there, or a database of
    // the server reached as its superuser, to be set up by the test.
    ArchivePlace blankPlace(const QString &backend)
    {
        if (backend == u"school")
            return ArchivePlace::fromText(
                    m_cluster->uri(m_cluster->newBlankDatabase(), PostgresCluster::user()));
        return newPlace(backend);
    }

    static QStringList backends()
    {
        if (hasServer())
            return { QStringLiteral("file"), QStringLiteral("school") };
        return { QStringLiteral("file") };
    }

    // The column "backend" and a row for each.
    static void addBackends()
    {
        QTest::addColumn<QString>("backend");
        for (const QString &backend : backends())
            QTest::newRow(qPrintable(backend)) << backend;
    }

private:
    // Windows has the server only through the broker, under Wine.
    static bool hasServer()
    {
#ifdef Q_OS_UNIX
        return true;
#else
        return testbroker::inUse();
#endif
    }

    std::unique_ptr<PostgresCluster> m_cluster;
    QTemporaryDir m_files;
    int m_fileCount = 0;
};
