// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real FTP service on 127.0.0.1 over a temporary exchange folder, for the
// tests that transfer files. It can be stopped, killed and started again on
// the same port, and slowed down to watch a transfer in progress.
#include <QProcess>
#include <QTcpSocket>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class FtpService
{
public:
    // Serves `folder`; an empty folder means a new temporary one.
    explicit FtpService(const QString &folder = QString());
    ~FtpService();

    FtpService(const FtpService &) = delete;
    FtpService &operator=(const FtpService &) = delete;

    // Starts the service and waits (bounded) until it greets a client.
    // After a stop it comes back on the same port. `bytesPerSecond` > 0
    // throttles every data transfer.
    bool start(int bytesPerSecond = 0);
    // From the next start on, a rename onto an existing file fails, as with
    // some FTP services on Windows.
    void setRenameOverExistingRefused(bool refused) { m_renameOverRefused = refused; }
    // From the next start on, no rename at all is granted.
    void setRenameRefused(bool refused) { m_renameRefused = refused; }
    // From the next start on, only new files are stored: no overwrite,
    // rename or delete.
    void setWriteOnce(bool writeOnce) { m_writeOnce = writeOnce; }
    // From the next start on, SIZE answers half the real size.
    void setSizeUnderReported(bool under) { m_sizeUnderReported = under; }
    void stop();  // terminate and wait
    void kill();  // SIGKILL, as a crash would

    // The FTP sessions that logged in since the service started; -1 where
    // they cannot be counted (under Wine).
    int logins();

    bool isRunning() const;
    quint16 port() const { return m_port; }
    // "127.0.0.1:PORT", the form a client's server box takes.
    QString address() const;
    QString folder() const { return m_folder; }

private:
    bool waitForGreeting() const;

    std::unique_ptr<QTemporaryDir> m_ownFolder;
    QString m_folder;
    QProcess m_process;
    QByteArray m_output;  // what the service printed after its port
    quint16 m_port = 0;
    bool m_renameOverRefused = false;
    bool m_renameRefused = false;
    bool m_writeOnce = false;
    bool m_sizeUnderReported = false;
    // Under Wine the service runs through scripts/test-broker.py, as long
    // as this connection to it lasts.
    QTcpSocket m_broker;
    bool m_brokerServiceRunning = false;
};
