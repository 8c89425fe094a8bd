// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/xlsxfile.h"

#include <QCoreApplication>

#include <xlsxwriter.h>

namespace xlsxfile {

namespace {

// Excel's limit on a sheet name.
constexpr qsizetype kSheetNameChars = 31;

// Cut to `limit` characters, never inside a surrogate pair, without the
// apostrophes Excel refuses at either end.
QString fitted(const QString &name, qsizetype limit)
{
    QString out = name.left(limit);
    if (out.size() < name.size() && out.back().isHighSurrogate())
        out.chop(1);
    while (out.startsWith(u'\''))
        out.remove(0, 1);
    while (out.endsWith(u'\''))
        out.chop(1);
    return out.isEmpty() ? QStringLiteral("_") : out;
}

bool isTaken(const QString &name, const QStringList &taken)
{
    // Excel keeps "History" for itself.
    return taken.contains(name, Qt::CaseInsensitive)
            || name.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString sheetName(const QString &wanted, const QStringList &taken)
{
    QString clean = wanted;
    for (const QChar sign : { u'[', u']', u':', u'*', u'?', u'/', u'\\' })
        clean.replace(sign, u'_');
    QString name = fitted(clean, kSheetNameChars);
    for (int n = 2; isTaken(name, taken); ++n) {
        const QString suffix = QStringLiteral("_%1").arg(n);
        name = fitted(clean, kSheetNameChars - suffix.size()) + suffix;
    }
    return name;
}

int printOnA4(lxw_worksheet *sheet, int headingRows, int pagesWide, int headingColumns)
{
    constexpr uint8_t kA4 = 9;
    worksheet_set_paper(sheet, kA4);
    worksheet_set_landscape(sheet);
    // So many pages wide, as many pages long as the rows take.
    worksheet_fit_to_pages(sheet, uint16_t(pagesWide), 0);
    if (const lxw_error error = worksheet_repeat_rows(sheet, 0, lxw_row_t(headingRows - 1)))
        return error;
    if (headingColumns > 0) {
        if (const lxw_error error =
                    worksheet_repeat_columns(sheet, 0, lxw_col_t(headingColumns - 1)))
            return error;
    }
    return worksheet_set_footer(
            sheet,
            QCoreApplication::translate("xlsxfile", "&C第 &P 页 / 共 &N 页").toUtf8().constData());
}

int printHeader(lxw_worksheet *sheet, const QString &text)
{
    // "&C" and every "&" doubled; a pair of surrogates is one sign to Excel
    // but two here, so the cut errs on the short side.
    constexpr qsizetype kMaxSigns = 255 - 2;
    QString shown = text;
    for (qsizetype cut = kMaxSigns; shown.size() + shown.count(u'&') > kMaxSigns; --cut) {
        shown = text.left(cut);
        if (shown.back().isHighSurrogate())
            shown.chop(1);
    }
    shown.replace(QStringLiteral("&"), QStringLiteral("&&"));
    return worksheet_set_header(sheet, (QStringLiteral("&C") + shown).toUtf8().constData());
}

}  // namespace xlsxfile
