#pragma once
// Export of the results table to a new spreadsheet workbook (.xlsx): the
// title in row 1, six headers in row 2, then one row per record from row 3.
#include "resultstore.h"

#include <QDateTime>
#include <QString>
#include <QVector>

class ResultExporter
{
public:
    static QString title() { return QStringLiteral("打字考试成绩表"); }

    // A new workbook path in the folder whose name tells what and when, e.g.
    // 打字考试成绩表-20261207-104500.xlsx; never the name of an existing file.
    static QString newWorkbookPath(const QString &folder, const QDateTime &when);

    // Writes the rows in the order given. Returns an empty text on success,
    // otherwise why the workbook could not be written.
    static QString write(const QVector<ResultRow> &rows, const QString &path);
};
