// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An exported workbook as openpyxl reads it back: one text per row, each
// cell as "type:value" ("str:张三", "int:80", "float:56.1"), empty cells empty.
#include <QStringList>

QStringList workbookRows(const QString &path);

// The first sheet's layout as openpyxl reads it back: "sheet:成绩", then
// each merged range ("merged:A1:F1"), "bold:A1" when A1 is bold, and each
// column's width as the file stores it ("width:A=12.7").
QStringList workbookLayout(const QString &path);

// The lines a Python script prints about the workbook at sys.argv[1], with
// openpyxl imported (run here, or through the test broker under Wine).
QStringList workbookScript(const QString &script, const QString &path);
