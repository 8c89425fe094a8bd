// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exportwriter.h"

#include <QDir>

WorkbookExport ExportWriter::write(const QVector<ExportedRow> &rows, const GradingScale &scale,
                                   const QString &titleNote) const
{
    if (!QDir().mkpath(m_folder))
        return { QStringLiteral("无法建立导出文件夹 %1").arg(QDir::toNativeSeparators(m_folder)),
                 {},
                 {} };
    const QString path = ResultExporter::newWorkbookPath(m_folder, m_heldAt, m_articleName);
    const ResultExporter::Outcome outcome = ResultExporter::write(rows, path, scale, titleNote);
    if (!outcome.problem.isEmpty())
        return { outcome.problem, {}, {} };
    return { {}, path, ResultExporter::doneMessage(path, outcome.changed) };
}
