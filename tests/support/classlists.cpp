// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "classlists.h"

#include "workbook.h"

#include "export/workbookwriter.h"

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
    // Written as the console writes its own workbooks; the cells as a
    // school's file may hold them, past the console's rule for texts.
    WorkbookWriter file(path, QStringLiteral("名单"), constantMemory);
    const auto text = [&file](lxw_worksheet *sheet, lxw_row_t r, lxw_col_t c,
                              const QString &value) {
        file.written(worksheet_write_string(sheet, r, c, value.toUtf8().constData(), nullptr),
                     sheet, r, c);
    };
    lxw_worksheet *hidden = nullptr;
    if (options.contains(u"hidden")) {
        hidden = file.sheet(QStringLiteral("旧名单"));
        text(hidden, 0, 0, QStringLiteral("考号"));
        text(hidden, 0, 1, QStringLiteral("姓名"));
        text(hidden, 1, 0, QStringLiteral("999"));
        text(hidden, 1, 1, QStringLiteral("隐藏"));
    }
    lxw_worksheet *sheet = file.sheet(QStringLiteral("名单"));
    if (hidden) {
        worksheet_activate(sheet);
        worksheet_hide(hidden);
    }
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString &cell = rows[r][c];
            if (cell.startsWith(u'#')) {
                const QByteArray shown = cell.section(u'@', 1).toUtf8();
                lxw_format *format = cell.contains(u'@') ? file.format([&shown](lxw_format *made) {
                    format_set_num_format(made, shown.constData());
                })
                                                         : nullptr;
                file.number(sheet, lxw_row_t(r), lxw_col_t(c),
                            cell.section(u'@', 0, 0).mid(1).toDouble(), format);
            } else if (!cell.isEmpty()) {
                text(sheet, lxw_row_t(r), lxw_col_t(c), cell);
            }
        }
    }
    for (const QString &option : options) {
        if (!option.startsWith(u"merge:"))
            continue;
        const QStringList at = option.mid(6).split(u',');
        const lxw_row_t r = lxw_row_t(at[0].toInt());
        const lxw_col_t c = lxw_col_t(at[1].toInt());
        file.written(worksheet_merge_range(sheet, r, c, lxw_row_t(at[2].toInt()),
                                           lxw_col_t(at[3].toInt()),
                                           rows[r][c].toUtf8().constData(), nullptr),
                     sheet, r, c);
    }
    if (const QString problem = file.finish(); !problem.isEmpty())
        qFatal("cannot write the workbook: %s", qPrintable(problem));
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
