// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/dataplace.h"

#include "collect/resultstore.h"
#include "exchange/paths.h"
#include "publish/consolesettings.h"
#include "publish/examaspublished.h"
#include "settings/oldsettingfiles.h"
#include "exchange/wholefile.h"

#include "kestrixversion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

// A console that ended without closing its database left the last rows in
// SQLite's write-ahead journal beside it: the journal goes with the file.
bool copyWithJournal(const QString &source, const QString &target)
{
    const QString journal = QStringLiteral("-wal");
    if (!QFile::copy(source, target))
        return false;
    return !QFile::exists(source + journal) || QFile::copy(source + journal, target + journal);
}

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(folder);
}

}  // namespace

QStringList DataPlace::dataFileNames()
{
    return { ResultStore::defaultFileName(), ConsoleSettings::timeFileName(),
             ConsoleSettings::textFileName(), ExamAsPublished::fileName(),
             oldsettings::exchangeFileName() };
}

DataPlace::Folders DataPlace::choose(const QString &shipFolder, const QString &programFolder,
                                     const QString &startFolder, const QString &userData)
{
    Folders folders;
    folders.installed =
            QFileInfo::exists(QDir(shipFolder).filePath(QStringLiteral(KESTRIX_INSTALLED_MARK)));
    if (!folders.installed) {
        folders.application = paths::applicationFolder(programFolder);
        folders.database = paths::workingFolder(startFolder);
        return folders;
    }
    QDir().mkpath(userData);
    const QString overridden = qEnvironmentVariable("KESTRIX_APP_DIR");
    folders.application = overridden.isEmpty() ? userData : paths::applicationFolder(programFolder);
    folders.database = userData;
    return folders;
}

QString DataPlace::takeOver(const QString &dataFolder, const QStringList &otherFolders)
{
    const QDir data(dataFolder);
    if (QFileInfo::exists(data.filePath(takenOverMarkName())))
        return {};
    const QString here = QFileInfo(dataFolder).canonicalFilePath();
    QStringList told, log;
    for (const QString &other : otherFolders) {
        if (other.isEmpty() || QFileInfo(other).canonicalFilePath() == here)
            continue;
        QStringList taken, aside, failed;
        for (const QString &name : dataFileNames()) {
            if (!paths::hasFileNamed(other, name))
                continue;
            const QString source = QDir(other).filePath(name);
            QString target = data.filePath(name);
            if (QFileInfo::exists(target)) {
                // A file that does not read is never taken for the same.
                const QByteArray digest = digestOf(target);
                if (!digest.isEmpty() && digest == digestOf(source))
                    continue;
                // The data folder's own file stays in use; the other one is kept beside it.
                data.mkpath(asideFolderName());
                target = QDir(data.filePath(asideFolderName())).filePath(name);
                if (QFileInfo::exists(target))
                    continue;
                (copyWithJournal(source, target) ? aside : failed) << name;
            } else {
                (copyWithJournal(source, target) ? taken : failed) << name;
            }
        }
        if (!taken.isEmpty())
            told << tr("已从 %1 复制过来：%2（原文件仍留在原处）。")
                            .arg(shown(other), taken.join(tr("、")));
        if (!aside.isEmpty())
            told << tr("%1 中的 %2 与这里已有的不同：这里的保留使用，"
                       "那边的一份复制到了 %3。")
                            .arg(shown(other), aside.join(tr("、")),
                                 shown(data.filePath(asideFolderName())));
        if (!failed.isEmpty())
            told << tr("无法从 %1 复制：%2，请手动复制。").arg(shown(other), failed.join(tr("、")));
        log << other + QStringLiteral("\t") + (taken + aside).join(u',');
    }
    // Looked at once: later files there are not the console's any more.
    const QString problem = wholefile::write(data.filePath(takenOverMarkName()),
                                             (log.join(u'\n') + u'\n').toUtf8());
    if (!problem.isEmpty())
        told << problem;
    if (told.isEmpty())
        return {};
    return tr("考试服务器的成绩和设置保存在：\n%1\n\n").arg(shown(dataFolder)) + told.join(u'\n');
}
