// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/connectionwatch.h"

// Before anything that could bring in windows.h, which MinGW wants after it.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include "archive/archivedatabase.h"

#include <QSqlDriver>
#include <QVariant>

#include <libpq-fe.h>

namespace {

// libpq's connection under Qt's PostgreSQL driver; none for SQLite.
PGconn *handleOf(const QSqlDatabase &db)
{
    if (!db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Named after libpq's struct behind the typedef.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0
            && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// A wait on the socket, in any thread, ends at once as a closed connection.
void cut(qintptr socket)
{
#ifdef Q_OS_WIN
    ::shutdown(SOCKET(socket), SD_BOTH);
#else
    ::shutdown(int(socket), SHUT_RDWR);
#endif
}

}  // namespace

std::optional<qintptr> ConnectionWatch::socketOf(const ArchiveDatabase &archive)
{
    PGconn *connection = handleOf(archive.connection());
    if (!connection || PQsocket(connection) < 0)
        return std::nullopt;
    return qintptr(PQsocket(connection));
}

bool ConnectionWatch::lost(const ArchiveDatabase &archive)
{
    PGconn *connection = handleOf(archive.connection());
    return connection && PQstatus(connection) == CONNECTION_BAD;
}

void ConnectionWatch::begin(const ArchiveDatabase &archive)
{
    const std::optional<qintptr> socket = socketOf(archive);
    const QMutexLocker lock(&m_mutex);
    m_cut = m_stopped;
    if (m_stopped && socket) {
        cut(*socket);
        return;
    }
    m_socket = socket;
    m_since.start();
}

void ConnectionWatch::end()
{
    // The socket may be closed and its number reused once the statement ends.
    const QMutexLocker lock(&m_mutex);
    m_socket.reset();
}

bool ConnectionWatch::cutIfStalled(qint64 limitMillis)
{
    const QMutexLocker lock(&m_mutex);
    if (!m_socket || m_since.elapsed() < limitMillis)
        return false;
    cut(*m_socket);
    // Once is enough: libpq sees the connection closed.
    m_socket.reset();
    m_cut = true;
    return true;
}

bool ConnectionWatch::wasCut()
{
    const QMutexLocker lock(&m_mutex);
    return m_cut;
}

void ConnectionWatch::stop()
{
    {
        const QMutexLocker lock(&m_mutex);
        m_stopped = true;
    }
    cutIfStalled(0);
}
