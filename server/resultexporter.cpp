#include "resultexporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#ifdef Q_OS_WIN
#include <QCoreApplication>
#include <windows.h>
#endif

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

#ifdef Q_OS_WIN
// libxlsxwriter opens its file with fopen, which takes the name in the ANSI
// code page: a Chinese name (the workbook's own, or a user folder's) would
// come out garbled or not at all. The workbook is written under an ASCII
// name in the folder's short (8.3) form and then renamed by Qt.
QString asciiStandIn(const QString &path)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    wchar_t shortFolder[MAX_PATH];
    const DWORD length = GetShortPathNameW(reinterpret_cast<const wchar_t *>(folder.utf16()), shortFolder, MAX_PATH);
    const QString base = length > 0 && length < MAX_PATH ? QString::fromWCharArray(shortFolder, int(length)) : folder;
    return base + QStringLiteral("\\kestrix-export-%1.xlsx").arg(QCoreApplication::applicationPid());
}
#endif

}  // namespace

QString ResultExporter::write(const QVector<ResultRow> &rows, const QString &path)
{
    lxw_workbook_options options{};
    // Rows go out in order, so the library need not keep the sheet in memory.
    options.constant_memory = LXW_TRUE;
#ifdef Q_OS_WIN
    const QString written = asciiStandIn(path);
    const QByteArray nativePath = written.toLocal8Bit();
#else
    const QString &written = path;
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
    const lxw_error closed = workbook_close(workbook);
    const lxw_error failure = cells.error() != LXW_NO_ERROR ? cells.error() : closed;
    if (failure != LXW_NO_ERROR) {
        if (written != path)
            QFile::remove(written);
        return QStringLiteral("无法写出成绩表 %1：%2")
            .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(failure)));
    }
    if (written != path && !QFile::rename(written, path)) {
        QFile::remove(written);
        return QStringLiteral("无法写出成绩表 %1").arg(QDir::toNativeSeparators(path));
    }
    return {};
}
