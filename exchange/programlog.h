// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each program's own log: a few files of bounded size in a folder of its
// data, one line per message with its time, category and text. The log is
// read by people, not by the other program: it is UTF-8, not GBK. Writing
// it never stops the program: a line that cannot be written goes to the
// error output instead, and the next line tries the file again.
#include <QLoggingCategory>
#include <QMutex>
#include <QString>

// Messages of the exchange library itself (files that cannot be written)
// and of the message boxes both programs show.
Q_DECLARE_LOGGING_CATEGORY(lcExchange)
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)

// The files `baseName` (newest), `baseName`.1 ... up to `keptFiles` in
// all; none grows past `maxBytes` unless a single line does.
class RotatingLog
{
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr int kKeptFiles = 3;

    RotatingLog(QString folder, QString baseName, qint64 maxBytes = kMaxBytes,
                int keptFiles = kKeptFiles);

    QString path() const;
    // Appends the line and a line break; the problem, empty when written.
    QString append(const QString &line);

private:
    QString numbered(int index) const;
    void rotate();

    QString m_folder;
    QString m_baseName;
    qint64 m_maxBytes;
    int m_keptFiles;
    QMutex m_mutex;
};

namespace programlog {

// The folder inside the program's data folder that holds its log.
QString folder(const QString &dataFolder);
// From now on every message goes to `<folder(dataFolder)>/<program>.log`
// as well as where it went before.
void install(const QString &dataFolder, const QString &program);

}  // namespace programlog
