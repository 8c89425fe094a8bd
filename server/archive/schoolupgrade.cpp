// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/schoolupgrade.h"

#include "archive/archivedatabase.h"
#include "archive/schema.h"

#include <QCoreApplication>

namespace schoolupgrade {

ArchiveRead<QString> run(const QString &address)
{
    const ArchivePlace place = ArchivePlace::fromText(address);
    if (!place.isSchool())
        return { std::nullopt,
                 QCoreApplication::translate(
                         "schoolupgrade",
                         "学校存档的地址应如 postgresql://所有者@服务器:5432/数据库。") };
    const ArchiveDatabase archive(place, ArchiveDatabase::Tables::Upgrade);
    if (!archive.isOpen())
        return { std::nullopt, archive.startProblem() };
    const int found = archive.versionFound();
    if (found == archiveschema::kVersion)
        return { QCoreApplication::translate("schoolupgrade",
                                             "学校存档 %1 已是版本%2，不需要升级。")
                         .arg(place.shown())
                         .arg(found),
                 {} };
    const QString done = found == 0
            ? QCoreApplication::translate("schoolupgrade",
                                          "已在学校存档 %1 中建好数据表（存档版本%2）。")
                      .arg(place.shown())
                      .arg(archiveschema::kVersion)
            : QCoreApplication::translate("schoolupgrade", "学校存档 %1 已从版本%2升级到版本%3。")
                      .arg(place.shown())
                      .arg(found)
                      .arg(archiveschema::kVersion);
    return { done
                     + QCoreApplication::translate(
                               "schoolupgrade",
                               "\n%1 的成员（各机房的账号）现在可以使用它：读取所有考试，"
                               "只能更改和删除本机房的考试。")
                               .arg(archiveschema::labsRole()),
             {} };
}

}  // namespace schoolupgrade
