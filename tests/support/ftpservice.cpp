// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ftpservice.h"

#include "testbroker.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>

namespace {
constexpr int kStartMillis = 15000;
}

FtpService::FtpService(const QString &folder)
{
    if (folder.isEmpty()) {
        m_ownFolder = std::make_unique<QTemporaryDir>();
        m_folder = m_ownFolder->path();
    } else {
        m_folder = folder;
    }
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
}

FtpService::~FtpService()
{
    stop();
}

bool FtpService::start(int bytesPerSecond)
{
    if (isRunning())
        return true;
    QStringList arguments { QStringLiteral(KESTRIX_FTP_SCRIPT), QStringLiteral("--dir"), m_folder,
                            QStringLiteral("--port"), QString::number(m_port) };
    m_output.clear();
    if (bytesPerSecond > 0)
        arguments << QStringLiteral("--rate") << QString::number(bytesPerSecond);
    const std::pair<bool, const char *> options[] = {
        { m_renameOverRefused, "--no-rename-over" },
        { m_renameRefused, "--no-rename" },
        { m_writeOnce, "--write-once" },
        { m_sizeUnderReported, "--size-under-reported" },
    };
    for (const auto &[on, option] : options) {
        if (on)
            arguments << QLatin1String(option);
    }
    if (testbroker::inUse()) {
        const QStringList flags = arguments.mid(5);
        const QByteArray reply = testbroker::ask(
                m_broker,
                "START " + QByteArray::number(m_port) + ' '
                        + (flags.isEmpty() ? QByteArray("-") : flags.join(u',').toUtf8()) + ' '
                        + testbroker::linuxPath(m_folder).toUtf8());
        if (!reply.startsWith("PORT "))
            return false;
        m_brokerServiceRunning = true;
        m_port = quint16(reply.mid(5).toUInt());
        return waitForGreeting();
    }
    arguments << QStringLiteral("--report-logins");
    const QDeadlineTimer deadline(kStartMillis);
    // A port freed a moment ago can still be busy; try again until the deadline.
    while (!deadline.hasExpired()) {
        m_process.start(QStringLiteral(KESTRIX_PYTHON), arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        QByteArray output;
        while (!output.contains('\n') && m_process.waitForReadyRead(int(deadline.remainingTime())))
            output += m_process.readAllStandardOutput();
        if (output.startsWith("PORT ")) {
            m_port = quint16(output.mid(5, output.indexOf('\n') - 5).trimmed().toUInt());
            m_output = output.mid(output.indexOf('\n') + 1);
            return waitForGreeting();
        }
        m_process.waitForFinished(2000);
        QThread::msleep(200);
    }
    return false;
}

bool FtpService::waitForGreeting() const
{
    const QDeadlineTimer deadline(kStartMillis);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (socket.waitForConnected(1000) && socket.waitForReadyRead(2000)
            && socket.readAll().startsWith("220"))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void FtpService::stop()
{
    if (!isRunning())
        return;
    if (testbroker::inUse()) {
        m_brokerServiceRunning = false;
        testbroker::ask(m_broker, "STOP");
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void FtpService::kill()
{
    if (!isRunning())
        return;
    if (testbroker::inUse()) {
        m_brokerServiceRunning = false;
        testbroker::ask(m_broker, "KILL");
        return;
    }
    m_process.kill();
    m_process.waitForFinished(5000);
}

int FtpService::logins()
{
    if (testbroker::inUse())
        return -1;
    // A session's line is printed as it logs in, before its client is done;
    // what is still in the pipe is read now.
    while (m_process.waitForReadyRead(50))
        m_output += m_process.readAllStandardOutput();
    m_output += m_process.readAllStandardOutput();
    return int(m_output.count("LOGIN\n"));
}

bool FtpService::isRunning() const
{
    return testbroker::inUse() ? m_brokerServiceRunning : m_process.state() != QProcess::NotRunning;
}

QString FtpService::address() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(m_port);
}
