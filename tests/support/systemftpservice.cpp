// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemftpservice.h"

#include "testfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <optional>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int kStartMillis = 10000;

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

bool greets(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(500) && socket.waitForReadyRead(1000)
            && socket.readAll().startsWith("220");
}

// Debian installs one of the two services only (they conflict); the other
// may be unpacked beside it by scripts/install-deps.
QString findProgram(const QString &name, const char *variable)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString found = QStandardPaths::findExecutable(
            name,
            { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
              QStringLiteral("/opt/kestrix-test/%1/usr/sbin").arg(name) });
    return found;
}

bool runsAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;  // the services run on the Linux side only
#endif
}

// The home folder of the system user "ftp", when there is one.
std::optional<QString> ftpUserHome()
{
#ifdef Q_OS_UNIX
    if (const passwd *ftp = getpwnam("ftp"))
        return QString::fromLocal8Bit(ftp->pw_dir);
#endif
    return std::nullopt;
}

}  // namespace

SystemFtpService::SystemFtpService(Kind kind) : m_kind(kind)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

SystemFtpService::~SystemFtpService()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}

QString SystemFtpService::name(Kind kind)
{
    return kind == Kind::Vsftpd ? QStringLiteral("vsftpd") : QStringLiteral("pure-ftpd");
}

QString SystemFtpService::address() const
{
    return QStringLiteral("127.0.0.1:%1/%2").arg(m_port).arg(m_folderInAddress);
}

QString SystemFtpService::start()
{
    if (!runsAsRoot())
        return name(m_kind) + QStringLiteral(" needs root on Linux to start");
    return m_kind == Kind::Vsftpd ? startVsftpd() : startPureFtpd();
}

// As the manual sets them up: the home stays root's and read-only for
// others; the exchange folder beneath it belongs to the examiner (here root)
// and the group "ftp", which the anonymous user writes through.
QString SystemFtpService::prepareFolders(const QString &home)
{
    m_exchange = QDir(home).filePath(QStringLiteral("typedata"));
    if (!QDir().mkpath(m_exchange))
        return QStringLiteral("cannot make ") + m_exchange;
#ifdef Q_OS_UNIX
    const group *ftp = getgrnam("ftp");
    if (!ftp)
        return QStringLiteral("no system group \"ftp\"");
    if (chmod(QFile::encodeName(home).constData(), 0755) != 0
        || chown(QFile::encodeName(m_exchange).constData(), 0, ftp->gr_gid) != 0
        || chmod(QFile::encodeName(m_exchange).constData(), 02775) != 0)
        return QStringLiteral("cannot set the owner and permissions of ") + home;
#endif
    return {};
}

QString SystemFtpService::startVsftpd()
{
    const QString program = findProgram(QStringLiteral("vsftpd"), "KESTRIX_VSFTPD");
    if (program.isEmpty())
        return QStringLiteral("vsftpd is not installed (scripts/install-deps installs it)");
    if (!ftpUserHome())
        return QStringLiteral("vsftpd needs the system user \"ftp\"");
    m_scratch = std::make_unique<QTemporaryDir>();
    m_home = std::make_unique<QTemporaryDir>();
    if (const QString problem = prepareFolders(m_home->path()); !problem.isEmpty())
        return problem;
    const QString empty = m_scratch->filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    m_folderInAddress = QStringLiteral("typedata");
    m_port = freePort();
    // Debian's own configuration, with the manual's lines set over it, then
    // what a test on loopback needs: its own port, its own home, in the
    // foreground, without the sandboxing that containers refuse.
    const QStringList recipe { u"listen=YES"_qs,
                               u"listen_ipv6=NO"_qs,
                               u"anonymous_enable=YES"_qs,
                               u"no_anon_password=YES"_qs,
                               u"local_enable=NO"_qs,
                               u"write_enable=YES"_qs,
                               u"anon_upload_enable=YES"_qs,
                               u"anon_mkdir_write_enable=NO"_qs,
                               u"anon_other_write_enable=NO"_qs,
                               u"anon_umask=022"_qs };
    const QStringList loopback { u"anon_root="_qs + m_home->path(),
                                 u"listen_address=127.0.0.1"_qs,
                                 u"listen_port="_qs + QString::number(m_port),
                                 u"background=NO"_qs,
                                 u"xferlog_enable=NO"_qs,
                                 u"seccomp_sandbox=NO"_qs,
                                 u"isolate=NO"_qs,
                                 u"isolate_network=NO"_qs,
                                 u"secure_chroot_dir="_qs + empty };
    QStringList lines;
    if (const QByteArray debian = readFile(QStringLiteral("/etc/vsftpd.conf")); !debian.isEmpty())
        lines = QString::fromUtf8(debian).split(u'\n');
    for (const QString &line : recipe + loopback) {
        const QString key = line.section(u'=', 0, 0) + u'=';
        lines.removeIf([&](const QString &old) { return old.trimmed().startsWith(key); });
        lines << line;
    }
    const QByteArray settings = lines.join(u'\n').toUtf8() + '\n';
    const QString configuration = m_scratch->filePath(QStringLiteral("vsftpd.conf"));
    if (!writeFile(configuration, settings))
        return QStringLiteral("cannot write ") + configuration;
    return launch(program, { configuration });
}

QString SystemFtpService::startPureFtpd()
{
    const QString program = findProgram(QStringLiteral("pure-ftpd"), "KESTRIX_PURE_FTPD");
    if (program.isEmpty())
        return QStringLiteral("pure-ftpd is not installed (scripts/install-deps unpacks it)");
    const QString ftpHome = ftpUserHome().value_or(QString());
    if (ftpHome.isEmpty() || !QDir(ftpHome).exists())
        return QStringLiteral("pure-ftpd needs the system user \"ftp\" with a home folder");
    m_home = std::make_unique<QTemporaryDir>(
            QDir(ftpHome).filePath(QStringLiteral("kestrix-XXXXXX")));
    if (!m_home->isValid())
        return QStringLiteral("cannot make a folder in ") + ftpHome;
    if (const QString problem = prepareFolders(m_home->path()); !problem.isEmpty())
        return problem;
    m_folderInAddress = QDir(m_home->path()).dirName() + QStringLiteral("/typedata");
    m_port = freePort();
    // Anonymous users only, no name look-ups; Debian's defaults keep every
    // existing file from anonymous users.
    return launch(program,
                  { QStringLiteral("-S"), QStringLiteral("127.0.0.1,%1").arg(m_port),
                    QStringLiteral("-e"), QStringLiteral("-H"), QStringLiteral("-4") });
}

QString SystemFtpService::launch(const QString &program, const QStringList &arguments)
{
    if (m_port == 0)
        return QStringLiteral("no free port on 127.0.0.1");
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(5000))
        return program + QStringLiteral(" does not start: ") + m_process.errorString();
    const QDeadlineTimer deadline(kStartMillis);
    while (!deadline.hasExpired()) {
        if (m_process.state() == QProcess::NotRunning)
            return program + QStringLiteral(" ended: ")
                    + QString::fromLocal8Bit(m_process.readAll()).trimmed();
        if (greets(m_port))
            return {};
        QThread::msleep(50);
    }
    return program + QStringLiteral(" did not greet within 10 s");
}
