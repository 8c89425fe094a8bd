// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/writeproblem.h"

#include <xlsxwriter.h>
#include <QCoreApplication>

namespace writeproblem {

QString sentence(const QString &cannotWrite, const QString &cause, const QString &detail)
{
    return cannotWrite + QCoreApplication::translate("writeproblem", "：") + cause
            + QCoreApplication::translate("writeproblem",
                                          "。请确认这个文件夹可以写入、同名文件没有在 Excel 或 WPS "
                                          "中打开、磁盘还有空间，然后再试一次。（详细信息：")
            + detail + QCoreApplication::translate("writeproblem", "）");
}

QString ofWorkbook(const QString &cannotWrite, int libraryError)
{
    QString cause;
    switch (libraryError) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        cause = QCoreApplication::translate("writeproblem", "内存不足");
        break;
    case LXW_ERROR_CREATING_XLSX_FILE:
        cause = QCoreApplication::translate("writeproblem", "无法建立文件");
        break;
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        cause = QCoreApplication::translate("writeproblem", "无法使用临时文件");
        break;
    default:
        cause = QCoreApplication::translate("writeproblem", "表格内容无法写入文件");
    }
    return sentence(cannotWrite, cause,
                    QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(libraryError))));
}

}  // namespace writeproblem
