// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's FTP service as typed in the login window: a name or address,
// optionally with "ftp://" before it, ":port" after it and a folder beneath
// the service's home ("192.168.1.10/typedata",
// "ftp://192.168.1.10:2121/typedata"). Blanks around it do not count.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct ServerAddress
{
    QString host;  // name or address (IPv6 without brackets)
    int port = -1;  // -1: the FTP default
    QStringList folder;  // folder names beneath the home, outermost first

    // "ftp://host[:port]/folder/.../", every name escaped: a file name
    // appended after it stays inside the folder.
    QByteArray baseUrl() const;
};

struct ServerAddressReading
{
    std::optional<ServerAddress> address;
    QString problem;  // in Chinese; empty when the address was understood
};

ServerAddressReading parseServerAddress(const QString &typed);

// The address the last login used, kept in ip.txt of the working folder
// between double quotes; empty when there is none.
QString keptServerAddress(const QString &workingFolder);
// Keeping it is a convenience: a failure to write is not told.
void keepServerAddress(const QString &workingFolder, const QString &typed);
