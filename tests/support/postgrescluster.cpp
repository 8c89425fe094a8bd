// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "postgrescluster.h"

#include "testbroker.h"

#include "archive/archivedatabase.h"
#include "archive/schema.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace {

QString password()
{
    return QStringLiteral("kestrix-test-口令");
}

// Where initdb lies: on PATH, else in Debian's versioned folder.
QString binaryFolder()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    if (!onPath.isEmpty())
        return QFileInfo(onPath).absolutePath();
    const QDir debian(QStringLiteral("/usr/lib/postgresql"));
    for (const QString &version : debian.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = debian.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(folder + QStringLiteral("/initdb")))
            return folder;
    }
    return {};
}

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        return 0;
    return probe.serverPort();
}

#ifdef Q_OS_UNIX
bool giveTo(const QString &path, const struct passwd *owner)
{
    return chown(QFile::encodeName(path).constData(), owner->pw_uid, owner->pw_gid) == 0;
}
#endif

}  // namespace

PostgresCluster::PostgresCluster() : m_folder(std::make_unique<QTemporaryDir>())
{
    if (testbroker::inUse()) {
        m_broker = std::make_unique<QTcpSocket>();
        m_problem = askBroker("POSTGRES " + password().toUtf8());
        if (m_problem.isEmpty())
            m_problem = writePassFile();
        m_running = m_problem.isEmpty();
        if (m_running)
            m_problem = createRoles();
        return;
    }
    m_binaries = binaryFolder();
    if (m_binaries.isEmpty()) {
        m_problem = QStringLiteral("initdb not found: install Debian's postgresql");
        return;
    }
    m_port = freePort();
    const QString root = m_folder->path();
    const QString pwfile = root + QStringLiteral("/pwfile");
    {
        QFile file(pwfile);
        if (!file.open(QIODevice::WriteOnly) || file.write(password().toUtf8() + '\n') <= 0) {
            m_problem = QStringLiteral("cannot write ") + pwfile;
            return;
        }
    }
    QDir(root).mkdir(QStringLiteral("socket"));
#ifdef Q_OS_UNIX
    if (geteuid() == 0) {
        const struct passwd *nobody = getpwnam("nobody");
        if (!nobody || !giveTo(root, nobody) || !giveTo(pwfile, nobody)
            || !giveTo(root + QStringLiteral("/socket"), nobody)) {
            m_problem = QStringLiteral("cannot give the cluster's folder to nobody");
            return;
        }
        m_runAs = QStringLiteral("nobody");
    }
#endif
    if (const QString failed = writePassFile(); !failed.isEmpty()) {
        m_problem = failed;
        return;
    }
    if (const QString failed = pgCtl({ QStringLiteral("initdb"), QStringLiteral("-o"),
                                       QStringLiteral("-U %1 --auth=scram-sha-256 --pwfile=%2 "
                                                      "--encoding=UTF8 --locale=C --no-sync")
                                               .arg(user(), pwfile) });
        !failed.isEmpty()) {
        m_problem = failed;
        return;
    }
    m_problem = start();
    if (m_problem.isEmpty())
        m_problem = createRoles();
}

QString PostgresCluster::createRoles()
{
    const QString login = QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'");
    QStringList statements {
        login.arg(owner(), password()),
        QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(archiveschema::labsRole())
    };
    for (const QString &lab : { labA(), labB() })
        statements << login.arg(lab, password()) + QStringLiteral(" IN ROLE ")
                        + archiveschema::labsRole();
    return run(QStringLiteral("postgres"), statements.join(u';'));
}

PostgresCluster::~PostgresCluster()
{
    // Also after a failed test: a stopped server could not be stopped for good.
    resume();
    unlock();
    // Under Wine the broker removes its server when the connection closes.
    if (m_running && !m_broker)
        stop();
}

// The client's password file, as the console uses libpq's.
QString PostgresCluster::writePassFile()
{
    const QString passfile = m_folder->path() + QStringLiteral("/pgpass");
    QFile file(passfile);
    QString lines;
    for (const QString &role : { user(), owner(), labA(), labB() })
        lines += QStringLiteral("127.0.0.1:%1:*:%2:%3\n").arg(m_port).arg(role, password());
    if (!file.open(QIODevice::WriteOnly) || file.write(lines.toUtf8()) <= 0
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return QStringLiteral("cannot write ") + passfile;
    qputenv("PGPASSFILE", QFile::encodeName(QDir::toNativeSeparators(passfile)));
    return {};
}

QString PostgresCluster::askBroker(const QByteArray &command)
{
    const QByteArray reply = testbroker::ask(*m_broker, command);
    if (reply.startsWith("PORT ")) {
        m_port = quint16(reply.mid(5).toUInt());
        return {};
    }
    if (reply == "STOPPED")
        return {};
    return QStringLiteral("the test broker's PostgreSQL: ") + QString::fromUtf8(reply);
}

QString PostgresCluster::pgCtl(const QStringList &arguments)
{
    QStringList command { m_binaries + QStringLiteral("/pg_ctl"), QStringLiteral("-D"),
                          m_folder->path() + QStringLiteral("/data") };
    command += arguments;
    QString program = command.takeFirst();
    if (!m_runAs.isEmpty()) {
        command.prepend(program);
        command = QStringList { QStringLiteral("-u"), m_runAs, QStringLiteral("--") } + command;
        program = QStringLiteral("runuser");
    }
    QProcess process;
    process.setWorkingDirectory(m_folder->path());
    process.start(program, command);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return QStringLiteral("pg_ctl %1 failed: %2%3")
                .arg(arguments.value(0), QString::fromLocal8Bit(process.readAllStandardOutput()),
                     QString::fromLocal8Bit(process.readAllStandardError()));
    }
    return {};
}

QString PostgresCluster::start()
{
    if (m_broker) {
        const QString failed = askBroker("PGSTART");
        m_running = failed.isEmpty();
        return failed;
    }
    const QString options = QStringLiteral("-p %1 -c listen_addresses=127.0.0.1 -k %2 -c fsync=off")
                                    .arg(m_port)
                                    .arg(m_folder->path() + QStringLiteral("/socket"));
    const QString failed =
            pgCtl({ QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-l"),
                    m_folder->path() + QStringLiteral("/log"), QStringLiteral("-o"), options });
    m_running = failed.isEmpty();
    return failed;
}

QString PostgresCluster::stop()
{
    if (m_broker) {
        const QString failed = askBroker("PGSTOP");
        m_running = !failed.isEmpty();
        return failed;
    }
    const QString failed = pgCtl({ QStringLiteral("stop"), QStringLiteral("-w"),
                                   QStringLiteral("-m"), QStringLiteral("fast") });
    m_running = !failed.isEmpty();
    return failed;
}

QString PostgresCluster::uri(const QString &database, const QString &role) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(role).arg(m_port).arg(database);
}

QString PostgresCluster::run(const QString &database, const QString &statement)
{
    // A connection of its own each time: one kept would not survive stop().
    const QString name = QStringLiteral("cluster-") + database;
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setDatabaseName(database);
        db.setUserName(user());
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(statement))
                problem = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

QString PostgresCluster::newBlankDatabase()
{
    const QString name = QStringLiteral("archive%1").arg(++m_databases);
    // One that could not be made is named all the same: opening it fails loudly.
    run(QStringLiteral("postgres"),
        QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, owner()));
    return name;
}

QString PostgresCluster::newDatabase(const QString &lab)
{
    const QString name = newBlankDatabase();
    // Set up as a school's IT person does; a lab opening one that failed says so.
    const ArchiveDatabase setUp(ArchivePlace::fromText(uri(name, owner())),
                                ArchiveDatabase::Tables::Upgrade);
    return uri(name, lab);
}

QString PostgresCluster::signalServer(bool stop)
{
#ifdef Q_OS_UNIX
    if (m_broker)
        return QStringLiteral("the test broker's server cannot be paused");
    QFile pidFile(m_folder->path() + QStringLiteral("/data/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return QStringLiteral("no postmaster.pid");
    const qint64 postmaster = pidFile.readLine().trimmed().toLongLong();
    QList<qint64> pids { postmaster };
    // Its backends: the processes whose parent it is (the fourth field of /proc/PID/stat).
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == postmaster)
            pids.append(entry.toLongLong());
    }
    for (const qint64 pid : pids) {
        if (::kill(pid_t(pid), stop ? SIGSTOP : SIGCONT) != 0)
            return QStringLiteral("cannot signal %1").arg(pid);
    }
    return {};
#else
    Q_UNUSED(stop);
    return QStringLiteral("the server cannot be paused here");
#endif
}

QString PostgresCluster::pause()
{
    const QString failed = signalServer(true);
    m_paused = failed.isEmpty();
    return failed;
}

QString PostgresCluster::resume()
{
    if (!m_paused)
        return {};
    m_paused = false;
    return signalServer(false);
}

QString PostgresCluster::lockTable(const QString &database, const QString &table)
{
    unlock();
    m_locker = QStringLiteral("locker-") + database;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_locker);
    db.setHostName(QStringLiteral("127.0.0.1"));
    db.setPort(m_port);
    db.setDatabaseName(database);
    db.setUserName(user());
    QSqlQuery query(db);
    if (!db.open() || !db.transaction()
        || !query.exec(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table)))
        return db.lastError().text() + query.lastError().text();
    return {};
}

void PostgresCluster::unlock()
{
    if (m_locker.isEmpty())
        return;
    QSqlDatabase::database(m_locker, false).close();
    QSqlDatabase::removeDatabase(m_locker);
    m_locker.clear();
}
