#include "resultexporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

QString ResultExporter::newWorkbookPath(const QString &folder, const QDateTime &when)
{
    const QString stem = title() + QLatin1Char('-') + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral("-%1.xlsx").arg(n));
    return path;
}

namespace {

// Cells are addressed from 0; the sheet's row 1 is index 0.
class SheetWriter
{
public:
    explicit SheetWriter(lxw_worksheet *sheet) : m_sheet(sheet) {}

    void text(lxw_row_t row, lxw_col_t col, const QString &value)
    {
        keep(worksheet_write_string(m_sheet, row, col, value.toUtf8().constData(), nullptr));
    }
    void number(lxw_row_t row, lxw_col_t col, double value)
    {
        keep(worksheet_write_number(m_sheet, row, col, value, nullptr));
    }
    lxw_error error() const { return m_error; }

private:
    void keep(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    lxw_worksheet *m_sheet;
    lxw_error m_error = LXW_NO_ERROR;
};

}  // namespace

QString ResultExporter::write(const QVector<ResultRow> &rows, const QString &path)
{
    lxw_workbook_options options{};
    // Rows go out in order, so the library need not keep the sheet in memory.
    options.constant_memory = LXW_TRUE;
#ifdef Q_OS_WIN
    // libxlsxwriter takes UTF-8 file names on Windows and widens them itself.
    const QByteArray nativePath = path.toUtf8();
#else
    const QByteArray nativePath = QFile::encodeName(path);
#endif
    lxw_workbook *workbook = workbook_new_opt(nativePath.constData(), &options);
    if (!workbook)
        return QStringLiteral("无法建立成绩表 %1").arg(QDir::toNativeSeparators(path));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    if (!sheet) {
        workbook_close(workbook);
        return QStringLiteral("无法建立成绩表 %1").arg(QDir::toNativeSeparators(path));
    }

    SheetWriter cells(sheet);
    cells.text(0, 0, title());
    const QString headers[] = {
        QStringLiteral("部门"),
        QStringLiteral("考号"),
        QStringLiteral("姓名"),
        QStringLiteral("打字速度（字/分钟）"),
        QStringLiteral("正确率（%）"),
        QStringLiteral("打字时间（秒）"),
    };
    for (lxw_col_t col = 0; col < 6; ++col)
        cells.text(1, col, headers[col]);
    lxw_row_t row = 2;
    for (const ResultRow &result : rows) {
        cells.text(row, 0, result.banName);
        cells.text(row, 1, result.xueHao);
        cells.text(row, 2, result.xingMing);
        cells.number(row, 3, result.speed);
        cells.text(row, 4, result.zhengQueLv);
        cells.number(row, 5, result.timePass);
        ++row;
    }
    const lxw_error written = workbook_close(workbook);
    const lxw_error failure = cells.error() != LXW_NO_ERROR ? cells.error() : written;
    if (failure != LXW_NO_ERROR)
        return QStringLiteral("无法写出成绩表 %1：%2")
            .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(failure)));
    return {};
}
