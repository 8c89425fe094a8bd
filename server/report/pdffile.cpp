// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/pdffile.h"

#include "export/writeproblem.h"
#include "report/pdftextmap.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QCoreApplication>

namespace pdffile {

namespace {

QString chineseFamily()
{
    const QStringList installed = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString &family :
         { QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
           QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
           QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
           QStringLiteral("Droid Sans Fallback") }) {
        if (installed.contains(family))
            return family;
    }
    return installed.value(0, QFont().defaultFamily());
}

}  // namespace

void setUpA4(QPdfWriter &writer, qreal marginMillimetres, const QString &title)
{
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
            QPageLayout::Millimeter));
    writer.setTitle(title);
    writer.setCreator(QCoreApplication::translate("pdffile", "Kestrix 考试服务器"));
}

QFont chineseFont(int points, bool bold)
{
    QFont font(chineseFamily());
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QString save(const QByteArray &pdf, const QFont &font, const QString &path,
             const QString &cannotWrite)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeproblem::sentence(cannotWrite,
                                      QCoreApplication::translate("pdffile", "无法建立文件"),
                                      file.errorString());
    const QByteArray bytes = pdftextmap::withIdeographs(pdf, pdftextmap::radicalIdeographs(font));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return writeproblem::sentence(cannotWrite,
                                      QCoreApplication::translate("pdffile", "文件没有写完"),
                                      file.errorString());
    return {};
}

}  // namespace pdffile
