// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "testbroker.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTcpSocket>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace testbroker {

namespace {
constexpr int kReplyMillis = 30000;
}

bool inUse()
{
    return qEnvironmentVariableIsSet("KESTRIX_TEST_BROKER");
}

QByteArray ask(QTcpSocket &socket, const QByteArray &command)
{
    if (socket.state() != QAbstractSocket::ConnectedState) {
        const QString broker = qEnvironmentVariable("KESTRIX_TEST_BROKER");
        socket.connectToHost(broker.section(u':', 0, 0), quint16(broker.section(u':', 1).toUInt()));
        if (!socket.waitForConnected(5000))
            return QByteArray();
    }
    socket.write(command + '\n');
    const QDeadlineTimer deadline(kReplyMillis);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) { }
    return socket.readLine().trimmed();
}

QString linuxPath(const QString &path)
{
#ifdef Q_OS_WIN
    // Wine's kernel32 exports the conversion; Windows does not.
    using Convert = char *(__cdecl *)(const wchar_t *);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void *>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (convert) {
        const QString native = QDir::toNativeSeparators(QDir(path).absolutePath());
        if (char *unixPath = convert(reinterpret_cast<const wchar_t *>(native.utf16()))) {
            const QString result = QString::fromUtf8(unixPath);
            HeapFree(GetProcessHeap(), 0, unixPath);
            return result;
        }
    }
#endif
    return path;
}

}  // namespace testbroker
