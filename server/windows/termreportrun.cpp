// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/termreportrun.h"

#include "export/celltext.h"
#include "report/termreport.h"
#include "report/termworkbook.h"
#include "windows/termworkbookdialog.h"

#include <QDir>
#include <QProgressDialog>

namespace termreportrun {

namespace {

// Reading is half the work, writing the other half, `parts` each.
class ReportProgress
{
public:
    ReportProgress(QWidget *parent, int parts)
        : m_dialog(QStringLiteral("正在生成学期报告……"), QStringLiteral("取消"), 0, parts * 2,
                   parent),
          m_parts(parts)
    {
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
    }

    bool read(int done) { return told(done); }
    bool written(int done) { return told(m_parts + done); }
    void reset() { m_dialog.reset(); }

private:
    bool told(int value)
    {
        m_dialog.setValue(value);
        return !m_dialog.wasCanceled();
    }

    QProgressDialog m_dialog;
    int m_parts;
};

// What to tell of a written report named `what`.
QString toldOf(const termreport::Outcome &outcome, const QString &what, const QString &path)
{
    if (outcome.cancelled)
        return {};
    if (!outcome.problem.isEmpty())
        return outcome.problem;
    return QStringLiteral("%1已保存为 %2").arg(what, QDir::toNativeSeparators(path))
            + celltext::changesNote(outcome.changed, QStringLiteral("存档"));
}

}  // namespace

QString run(QWidget *parent, console::HistoryController &history, const QVector<qint64> &ids,
            const QString &department, const QString &path)
{
    ReportProgress progress(parent, int(ids.size()));
    const ArchiveRead<QVector<ArchivedExam>> exams =
            history.termExams(ids, department, [&](int read) { return progress.read(read); });
    if (!exams.value)
        return exams.problem;
    const termreport::Outcome outcome = termreport::write(
            *exams.value, path, [&](int done, int) { return progress.written(done); });
    progress.reset();
    return toldOf(outcome, QStringLiteral("学期报告（%1场考试）").arg(ids.size()), path);
}

QString runGrade(QWidget *parent, console::HistoryController &history, const SchoolTerm &term,
                 const QStringList &classes, const QString &path)
{
    ReportProgress progress(parent, int(classes.size()));
    const ArchiveRead<QVector<ClassTerm>> read =
            history.classTerms(term, classes, [&](int done) { return progress.read(done); });
    if (!read.value)
        return read.problem;
    const termreport::Outcome outcome = termworkbook::write(
            term, *read.value, path, [&](int done, int) { return progress.written(done); });
    progress.reset();
    return toldOf(outcome,
                  QStringLiteral("%1年级学期报告（%2个班）").arg(term.name()).arg(classes.size()),
                  path);
}

QString pickAndRunGrade(QWidget *parent, console::HistoryController &history,
                        const std::function<QString(const QString &suggestedName)> &chooseFile)
{
    const ArchiveRead<ExamFilterChoices> choices = history.filterChoices();
    if (!choices.value)
        return choices.problem;
    if (choices.value->terms.isEmpty())
        return QStringLiteral("存档中没有考试。");
    TermWorkbookDialog picker(*choices.value, history.showsSchool(), parent);
    if (picker.exec() != QDialog::Accepted)
        return {};
    const QString chosen = chooseFile(termworkbook::defaultFileName(picker.term()));
    if (chosen.isEmpty())
        return {};
    return runGrade(parent, history, picker.term(), picker.classes(), chosen);
}

}  // namespace termreportrun
