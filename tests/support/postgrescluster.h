// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PostgreSQL server of the test's own, as a school runs one: a cluster
// made by initdb in a temporary folder, listening on a free port of
// 127.0.0.1, its user logging in by SCRAM password through a temporary
// libpq password file (PGPASSFILE, set for the whole test). Beside the
// superuser, the roles a school sets up: the owner of the archive's
// tables and two labs, all with the same password. Run as an
// unprivileged user when the test runs as root; stopped when it goes, also
// after a failed test. Under Wine, where a test cannot start Linux
// programs, scripts/test-broker.py runs the same server for it.
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QTcpSocket;

class PostgresCluster
{
public:
    PostgresCluster();
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;

    // Empty when the server answers; otherwise why it did not start.
    const QString &problem() const { return m_problem; }

    // A new database, its tables made by the owner's upgrade; its URI as `lab`.
    QString newDatabase(const QString &lab = labA());
    // A new database owned by the owner, without tables; its name.
    QString newBlankDatabase();
    // The URI of a database of this server as `role`.
    QString uri(const QString &database, const QString &role = labA()) const;
    // Runs a statement as the server's superuser in `database`; its error or empty.
    QString run(const QString &database, const QString &statement);

    // Stops and starts the server again, keeping its data; the problem or empty.
    QString stop();
    QString start();
    // Stops the server's processes where they are (SIGSTOP), as a hung
    // server; resume() lets them go on. Not under the test broker.
    QString pause();
    QString resume();
    // Another session holds an exclusive lock on `table` of `database`
    // until unlock(); the problem or empty.
    QString lockTable(const QString &database, const QString &table);
    void unlock();

    static QString user() { return QStringLiteral("kestrix"); }
    static QString owner() { return QStringLiteral("kestrix_owner"); }
    static QString labA() { return QStringLiteral("lab_a"); }
    static QString labB() { return QStringLiteral("lab_b"); }

private:
    QString pgCtl(const QStringList &arguments);
    QString writePassFile();
    QString createRoles();
    // The broker's reply to `command`: empty and the port kept when it
    // answers "PORT n" or "STOPPED", else the problem.
    QString askBroker(const QByteArray &command);
    // Stops or continues the server and its backends; the problem or empty.
    QString signalServer(bool stop);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTcpSocket> m_broker;  // under Wine: the server lives as long as it
    QString m_problem;
    QString m_binaries;
    QString m_runAs;  // the unprivileged user, when the test runs as root
    quint16 m_port = 0;
    int m_databases = 0;
    bool m_running = false;
    bool m_paused = false;
    QString m_locker;  // the connection that holds a lock
};
