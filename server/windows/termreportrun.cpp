// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/termreportrun.h"

#include "export/celltext.h"
#include "report/termreport.h"

#include <QDir>
#include <QProgressDialog>

namespace termreportrun {

QString run(QWidget *parent, console::HistoryController &history, const QVector<qint64> &ids,
            const QString &department, const QString &path)
{
    QProgressDialog progress(QStringLiteral("正在生成学期报告……"), QStringLiteral("取消"), 0,
                             int(ids.size()) * 2, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    // Reading the exams is half the work, writing them the other half.
    const ArchiveRead<QVector<ArchivedExam>> exams =
            history.termExams(ids, department, [&](int read) {
                progress.setValue(read);
                return !progress.wasCanceled();
            });
    if (!exams.value)
        return exams.problem;
    const termreport::Outcome outcome = termreport::write(*exams.value, path, [&](int done, int) {
        progress.setValue(int(ids.size()) + done);
        return !progress.wasCanceled();
    });
    progress.reset();
    if (outcome.cancelled)
        return {};
    if (!outcome.problem.isEmpty())
        return outcome.problem;
    return QStringLiteral("学期报告（%1场考试）已保存为 %2")
                   .arg(ids.size())
                   .arg(QDir::toNativeSeparators(path))
            + celltext::changesNote(outcome.changed, QStringLiteral("存档"));
}

}  // namespace termreportrun
