// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "classlists.h"

#include <xlsxwriter.h>

void writeWorkbook(const QString &path, const QList<QStringList> &rows, bool constantMemory,
                   const QString &options)
{
    lxw_workbook_options bookOptions {};
    bookOptions.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *book = workbook_new_opt(path.toUtf8().constData(), &bookOptions);
    lxw_worksheet *hidden = nullptr;
    if (options == u"hidden") {
        hidden = workbook_add_worksheet(book, "旧名单");
        worksheet_write_string(hidden, 0, 0, "考号", nullptr);
        worksheet_write_string(hidden, 0, 1, "姓名", nullptr);
        worksheet_write_string(hidden, 1, 0, "999", nullptr);
        worksheet_write_string(hidden, 1, 1, "隐藏", nullptr);
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, "名单");
    if (hidden) {
        worksheet_activate(sheet);
        worksheet_hide(hidden);
    }
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString &cell = rows[r][c];
            if (cell.startsWith(u'#')) {
                lxw_format *format = nullptr;
                if (cell.contains(u'@')) {
                    format = workbook_add_format(book);
                    format_set_num_format(format, cell.section(u'@', 1).toUtf8().constData());
                }
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c),
                                       cell.section(u'@', 0, 0).mid(1).toDouble(), format);
            } else if (!cell.isEmpty()) {
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(),
                                       nullptr);
            }
        }
    }
    if (options.startsWith(u"merge:")) {
        const QStringList at = options.mid(6).split(u',');
        const int r = at[0].toInt(), c = at[1].toInt();
        worksheet_merge_range(sheet, lxw_row_t(r), lxw_col_t(c), lxw_row_t(at[2].toInt()),
                              lxw_col_t(at[3].toInt()), rows[r][c].toUtf8().constData(), nullptr);
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        qFatal("cannot write the workbook");
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar ch : text) {
        const char high = char(ch.unicode() >> 8), low = char(ch.unicode() & 0xFF);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}
