#pragma once
// An exported workbook as openpyxl reads it back: one text per row, each
// cell as "type:value" ("str:张三", "int:80", "float:56.1"), empty cells empty.
#include <QStringList>

QStringList workbookRows(const QString &path);
