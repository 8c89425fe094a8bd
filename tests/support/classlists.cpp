// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "classlists.h"

#include "workbook.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <xlsxwriter.h>

namespace {

// The hidden sheet's rows: last year's class.
const QStringList kOldClass { QStringLiteral("旧1"), QStringLiteral("旧2"), QStringLiteral("旧3"),
                              QStringLiteral("旧4"), QStringLiteral("旧5") };

void writeThroughOpenpyxl(const QString &path, const QList<QStringList> &rows,
                          const QStringList &options)
{
    QJsonArray table;
    for (const QStringList &row : rows)
        table.append(QJsonArray::fromStringList(row));
    QString hidden;
    if (options.contains(u"hidden"))
        hidden = QStringLiteral("hidden");
    else if (options.contains(u"veryHidden"))
        hidden = QStringLiteral("veryHidden");
    QString merge;
    for (const QString &option : options) {
        if (option.startsWith(u"merge:"))
            merge = option.mid(6);
    }
    // The cells go in as JSON in hex, clear of Python's quoting.
    const auto hex = [](const QJsonArray &array) {
        return QString::fromLatin1(QJsonDocument(array).toJson().toHex());
    };
    const QString script =
            QStringLiteral(
                    "import json\n"
                    "rows = json.loads(bytes.fromhex('%1').decode())\n"
                    "old = json.loads(bytes.fromhex('%2').decode())\n"
                    "hidden, merge = '%3', '%4'\n"
                    "wb = openpyxl.Workbook()\n"
                    "ws = wb.active\n"
                    "if hidden:\n"
                    "  ws.title = '旧名单'\n"
                    "  ws.append(['考号', '姓名'])\n"
                    "  for n, name in enumerate(old):\n"
                    "    ws.append([str(900 + n), name])\n"
                    "  ws.sheet_state = hidden\n"
                    "  ws = wb.create_sheet('名单')\n"
                    "  wb.active = 1\n"
                    "else:\n"
                    "  ws.title = '名单'\n"
                    "for r, row in enumerate(rows):\n"
                    "  for c, cell in enumerate(row):\n"
                    "    if cell.startswith('#'):\n"
                    "      v = float(cell[1:].split('@')[0])\n"
                    "      ws.cell(r + 1, c + 1, int(v) if v.is_integer() else v)\n"
                    "    elif cell:\n"
                    "      ws.cell(r + 1, c + 1, cell)\n"
                    "if merge:\n"
                    "  r1, c1, r2, c2 = (int(n) + 1 for n in merge.split(','))\n"
                    "  ws.merge_cells(start_row=r1, start_column=c1, end_row=r2, end_column=c2)\n"
                    "wb.save(sys.argv[1])\n"
                    "print('saved')\n")
                    .arg(hex(table), hex(QJsonArray::fromStringList(kOldClass)), hidden, merge);
    if (workbookScript(script, path) != QStringList { QStringLiteral("saved") })
        qFatal("openpyxl cannot write the workbook");
}

}  // namespace

void writeWorkbook(const QString &path, const QList<QStringList> &rows, bool constantMemory,
                   const QString &optionText)
{
    const QStringList options = optionText.split(u' ', Qt::SkipEmptyParts);
    if (options.contains(u"openpyxl")) {
        writeThroughOpenpyxl(path, rows, options);
        return;
    }
    lxw_workbook_options bookOptions {};
    bookOptions.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *book = workbook_new_opt(path.toUtf8().constData(), &bookOptions);
    lxw_worksheet *hidden = nullptr;
    if (options.contains(u"hidden")) {
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
    for (const QString &option : options) {
        if (!option.startsWith(u"merge:"))
            continue;
        const QStringList at = option.mid(6).split(u',');
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
