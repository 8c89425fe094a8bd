// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Watches the statements a thread runs on a school archive, so that another
// thread can end a wait the server will never answer. A server whose
// processes are stopped still has its system acknowledge every packet:
// neither TCP's keepalives nor its user timeout notice, the server's own
// statement timeout never fires, and libpq waits on its socket without end.
// Shutting that socket down from the watching thread makes the wait fail
// at once as a lost connection. Also tells whether libpq has lost a
// connection, which Qt's driver does not say.
#include <QElapsedTimer>
#include <QMutex>

#include <optional>

class ArchiveDatabase;

class ConnectionWatch
{
public:
    // The worker thread, around its statements on `archive`; a file archive
    // is not watched.
    void begin(const ArchiveDatabase &archive);
    void end();
    // From any thread: cuts the connection when a statement has been under
    // way `limitMillis` or longer (at once with 0); whether it did.
    bool cutIfStalled(qint64 limitMillis);
    // From any thread: cuts the statement under way and every one begun after.
    void stop();
    // Whether the statements since begin() were cut here: the server did
    // not answer, and asking again would wait as long.
    bool wasCut();

    // Whether the archive's school connection is lost: the next use must open it anew.
    static bool lost(const ArchiveDatabase &archive);

private:
    static std::optional<qintptr> socketOf(const ArchiveDatabase &archive);

    QMutex m_mutex;
    std::optional<qintptr> m_socket;  // while a statement may wait on it
    bool m_stopped = false;
    bool m_cut = false;  // since begin()
    QElapsedTimer m_since;
};
