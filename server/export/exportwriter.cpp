// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exportwriter.h"

#include "export/documentname.h"

#include <QDir>

WorkbookExport ExportWriter::write(const QVector<ExportedRow> &rows, const GradingScale &scale,
                                   const QString &titleNote) const
{
    if (!QDir().mkpath(m_folder))
        return { tr("无法建立导出文件夹 %1").arg(QDir::toNativeSeparators(m_folder)), {}, {} };
    const QString path = ResultExporter::newWorkbookPath(m_folder, m_heldAt, m_articleName);
    documentname::ExamCaption exam { m_heldAt, true, m_articleName, m_examMinutes, {} };
    for (const ExportedRow &row : rows)
        exam.departments << row.result.department;
    const ResultExporter::Outcome outcome =
            ResultExporter::write(rows, path, scale, documentname::caption(exam), titleNote);
    if (!outcome.problem.isEmpty())
        return { outcome.problem, {}, {} };
    return { {}, path, ResultExporter::doneMessage(path, outcome.changed) };
}
