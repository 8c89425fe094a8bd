// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Under Wine a test program cannot start Linux processes (the FTP service,
// the openpyxl read-back); scripts/test-broker.py runs them on its behalf.
// KESTRIX_TEST_BROKER ("127.0.0.1:PORT") says where it listens.
#include <QByteArray>
#include <QString>

class QTcpSocket;

namespace testbroker {

bool inUse();
// Sends one command line and returns the reply line (empty when the broker
// cannot be reached or does not answer in time). Connects the socket first
// when it is not connected.
QByteArray ask(QTcpSocket &socket, const QByteArray &command);
// The Linux path of a path of this process: Wine's own conversion, or the
// path itself outside Wine.
QString linuxPath(const QString &path);

}  // namespace testbroker
