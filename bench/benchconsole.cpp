// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchconsole.h"

#include "exchange/examdigest.h"
#include "exchange/gbk.h"

#include <QDir>
#include <QFile>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace

BenchConsole::BenchConsole()
{
    const QDir root(m_root.path());
    if (!root.mkpath(QStringLiteral("app")) || !root.mkpath(QStringLiteral("exchange")))
        qFatal("cannot make the console's folders");
    const QString app = root.filePath(QStringLiteral("app"));
    m_folders = { app, app, root.filePath(QStringLiteral("exchange")),
                  root.filePath(QStringLiteral("cj.mdb")), m_root.path() };
}

void BenchConsole::writeExam(const QString &article, int minutes) const
{
    const QDir app(m_folders.application);
    writeFile(app.filePath(QStringLiteral("test.txt")), gbk::encode(article));
    writeFile(app.filePath(QStringLiteral("time.txt")), QByteArray::number(minutes) + "\r\n");
}

QByteArray BenchConsole::publishedDigest() const
{
    QFile published(QDir(m_folders.exchange).filePath(QStringLiteral("te.txt")));
    if (!published.open(QIODevice::ReadOnly))
        qFatal("no te.txt");
    return examDigest(published.readAll());
}
