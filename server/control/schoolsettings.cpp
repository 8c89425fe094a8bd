// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolsettings.h"

#include "archive/archiveplace.h"
#include "gbk.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QSysInfo>

namespace console {

namespace {

// Three short lines; anything larger is something else.
constexpr qint64 kMaxBytes = 4096;

}  // namespace

SchoolSettings::SchoolSettings(QString applicationFolder)
    : m_path(QDir(applicationFolder).filePath(fileName()))
{
}

QString SchoolSettings::defaultLab()
{
    return QSysInfo::machineHostName();
}

QString SchoolSettings::defaultTeacher()
{
    const QString windows = qEnvironmentVariable("USERNAME");
    return windows.isEmpty() ? qEnvironmentVariable("USER") : windows;
}

bool SchoolSettings::placeFromEnvironment()
{
    return !qEnvironmentVariable(ArchivePlace::environmentVariable()).trimmed().isEmpty();
}

SchoolSetting SchoolSettings::inForce() const
{
    QStringList lines;
    if (QFile::exists(m_path)) {
        const wholefile::Reading stored = wholefile::read(m_path, kMaxBytes);
        if (stored.bytes)
            lines = gbk::decode(*stored.bytes).split(QStringLiteral("\r\n"));
    }
    SchoolSetting setting { lines.value(0).trimmed(), lines.value(1).trimmed(),
                            lines.value(2).trimmed() };
    if (placeFromEnvironment())
        setting.place = qEnvironmentVariable(ArchivePlace::environmentVariable()).trimmed();
    if (setting.lab.isEmpty())
        setting.lab = defaultLab();
    if (setting.teacher.isEmpty())
        setting.teacher = defaultTeacher();
    return setting;
}

QString SchoolSettings::save(const SchoolSetting &setting) const
{
    const QString place = setting.place.trimmed();
    if (!place.isEmpty() && !ArchivePlace::fromText(place).isSchool())
        return QStringLiteral("学校存档的地址应如 postgresql://用户@服务器:5432/数据库。");
    // archive.txt is anyone's to read: a password belongs in libpq's own file.
    if (ArchivePlace::fromText(place).hasPassword())
        return QStringLiteral("数据库地址中不能写口令（地址保存在 archive.txt 中，谁都能读到）。"
                              "请从地址中去掉口令，填在“口令”一栏并按“写入口令文件”。");
    const QString text =
            QStringList { place, setting.lab.trimmed(), setting.teacher.trimmed() }.join(
                    QStringLiteral("\r\n"))
            + QStringLiteral("\r\n");
    if (gbk::decode(gbk::encode(text)) != text)
        return QStringLiteral("机房或教师的名字中有无法保存的字符。");
    return wholefile::write(m_path, gbk::encode(text));
}

}  // namespace console
