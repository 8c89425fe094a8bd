// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolsettings.h"

#include "archive/archiveplace.h"
#include "archive/pgpassfile.h"
#include "exchange/gbk.h"

#include <QDir>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

namespace console {

SchoolSettings::SchoolSettings(QString applicationFolder) : m_folder(std::move(applicationFolder))
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
    SchoolSetting setting = ConsolePreferences(m_folder).school();
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
        return tr("学校存档的地址应如 postgresql://用户@服务器:5432/数据库。");
    // The settings file is anyone's to read: a password belongs in libpq's own file.
    if (ArchivePlace::fromText(place).hasPassword())
        return tr("数据库地址中不能写口令（地址保存在 %1 中，谁都能读到）。"
                  "请从地址中去掉口令，填在“口令”一栏并按“写入口令文件”。")
                .arg(ConsolePreferences::fileName());
    const SchoolSetting kept { place, setting.lab.trimmed(), setting.teacher.trimmed() };
    // Like the examinees' names, which travel in GBK, these stay within it.
    const QString names = kept.lab + kept.teacher;
    if (gbk::decode(gbk::encode(names)) != names)
        return tr("机房或教师的名字中有无法保存的字符。");
    return ConsolePreferences(m_folder).setSchool(kept);
}

QString SchoolSettings::movePasswordOut(const QString &passFile) const
{
    SchoolSetting setting = ConsolePreferences(m_folder).school();
    if (!ArchivePlace::fromText(setting.place).hasPassword())
        return {};
    QUrl address(setting.place);
    QUrlQuery options(address);
    const QString password = address.password().isEmpty()
            ? options.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded)
            : address.password(QUrl::FullyDecoded);
    address.setPassword({});
    options.removeAllQueryItems(QStringLiteral("password"));
    address.setQuery(options);
    setting.place = address.toString();
    const QString said =
            tr("%1 中保存的学校存档地址含有口令，谁都能读到。").arg(ConsolePreferences::fileName());
    if (const QString problem = pgpassfile::writeEntry(passFile, setting.place, password);
        !problem.isEmpty())
        return said + problem + tr("\n地址暂时保持原样。");
    if (const QString problem = save(setting); !problem.isEmpty())
        return said + tr("口令已写入口令文件，但无法从地址中去掉它：") + problem;
    return said
            + tr("口令已移到只有本账号能读的口令文件 %1，地址中不再有口令。")
                      .arg(QDir::toNativeSeparators(passFile));
}

}  // namespace console
