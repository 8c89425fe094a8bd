// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debian's own FTP services started on 127.0.0.1 for one test, set up as the
// manual tells a school: an anonymous home that examinees cannot write, the
// exchange folder beneath it, where they may store new files but cannot
// overwrite, rename or delete any (write-once).
//
// vsftpd gets its own configuration file and home. pure-ftpd always serves
// the home of the system user "ftp", so the exchange folder is made in a new
// folder beneath that home. Starting needs root; start() says why it could
// not start, for the test to skip.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class SystemFtpService
{
public:
    enum class Kind { Vsftpd, PureFtpd };

    explicit SystemFtpService(Kind kind);
    ~SystemFtpService();
    SystemFtpService(const SystemFtpService &) = delete;
    SystemFtpService &operator=(const SystemFtpService &) = delete;

    // Empty when the service greets a client; otherwise why it could not start.
    QString start();

    // The exchange folder on disk.
    QString exchangeFolder() const { return m_exchange; }
    // What an examinee types as the server address: "127.0.0.1:PORT/folder".
    QString address() const;

    static QString name(Kind kind);

private:
    QString startVsftpd();
    QString startPureFtpd();
    QString prepareFolders(const QString &home);
    QString launch(const QString &program, const QStringList &arguments);

    Kind m_kind;
    std::unique_ptr<QTemporaryDir> m_scratch;  // configuration (vsftpd)
    std::unique_ptr<QTemporaryDir> m_home;  // the home or the folder beneath it
    QString m_exchange;
    QString m_folderInAddress;
    quint16 m_port = 0;
    QProcess m_process;
};
