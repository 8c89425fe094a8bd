// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/termreportrun.h"

#include "export/celltext.h"
#include "report/examreport.h"
#include "report/termreport.h"
#include "report/termworkbook.h"
#include "windows/termworkbookdialog.h"

#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <QCoreApplication>

namespace termreportrun {

namespace {

// Reading is half the work, writing the other half, `parts` each. Both go
// on threads of their own while the window goes on; the counts they report
// are shown from here, and 取消 stops them.
class ReportProgress
{
    Q_DECLARE_TR_FUNCTIONS(ReportProgress)

public:
    // With no parts, a report that cannot be stopped: the dialog only says it is under way.
    ReportProgress(QWidget *parent, int parts, const QString &label = tr("正在生成学期报告……"))
        : m_dialog(label, tr("取消"), 0, parts * 2, parent), m_parts(parts)
    {
        if (parts == 0)
            m_dialog.setCancelButton(nullptr);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        m_dialog.setValue(0);
        m_clock.setInterval(100);
        QObject::connect(&m_clock, &QTimer::timeout, &m_dialog, [this] {
            m_dialog.setValue(m_done);
            if (m_dialog.wasCanceled())
                m_cancelled = true;
        });
        m_clock.start();
    }

    // Any thread.
    bool read(int done) { return told(done); }
    bool written(int done) { return told(m_parts + done); }

    // Runs the event loop until `finished` is called (at once when it was).
    void waitUntil(const std::function<void(std::function<void()> finished)> &start)
    {
        QEventLoop loop;
        bool over = false;
        start([&] {
            over = true;
            loop.quit();
        });
        if (!over)
            loop.exec();
    }

    void reset()
    {
        m_clock.stop();
        m_dialog.reset();
    }
    // What answers from other threads are handed to.
    QObject &context() { return m_dialog; }

private:
    bool told(int value)
    {
        m_done = value;
        return !m_cancelled;
    }

    QProgressDialog m_dialog;
    QTimer m_clock;
    int m_parts;
    std::atomic<int> m_done { 0 };
    std::atomic<bool> m_cancelled { false };
};

// `write` run on a thread of its own while the window goes on.
template <typename Outcome>
Outcome writtenAside(ReportProgress &progress, const std::function<Outcome()> &write)
{
    Outcome outcome;
    console::WorkerThread writer(QStringLiteral("term-report"));
    progress.waitUntil([&](std::function<void()> finished) {
        writer.run([&, finished] {
            outcome = write();
            QMetaObject::invokeMethod(&progress.context(), finished, Qt::QueuedConnection);
        });
    });
    return outcome;
}

// What to tell of a written report named `what`.
QString toldOf(const termreport::Outcome &outcome, const QString &what, const QString &path)
{
    if (outcome.cancelled)
        return {};
    if (!outcome.problem.isEmpty())
        return outcome.problem;
    return QCoreApplication::translate("termreportrun", "%1已保存为 %2")
                   .arg(what, QDir::toNativeSeparators(path))
            + celltext::changesNote(outcome.changed,
                                    QCoreApplication::translate("termreportrun", "存档"));
}

}  // namespace

QString run(QWidget *parent, console::HistoryController &history, const QVector<qint64> &ids,
            const QString &department, const QString &path)
{
    ReportProgress progress(parent, int(ids.size()));
    ArchiveRead<QVector<ArchivedExam>> exams;
    progress.waitUntil([&](std::function<void()> finished) {
        history.termExams(
                ids, department, [&progress](int read) { return progress.read(read); },
                &progress.context(),
                [&, finished](const ArchiveRead<QVector<ArchivedExam>> &read) {
                    exams = read;
                    finished();
                });
    });
    if (!exams.value)
        return exams.problem;
    const auto outcome = writtenAside<termreport::Outcome>(progress, [&] {
        return termreport::write(*exams.value, path,
                                 [&](int done, int) { return progress.written(done); });
    });
    progress.reset();
    return toldOf(
            outcome,
            QCoreApplication::translate("termreportrun", "学期报告（%1场考试）").arg(ids.size()),
            path);
}

QString runGrade(QWidget *parent, console::HistoryController &history, const SchoolTerm &term,
                 const QStringList &classes, const QString &path)
{
    ReportProgress progress(parent, int(classes.size()));
    ArchiveRead<QVector<ClassTerm>> read;
    progress.waitUntil([&](std::function<void()> finished) {
        history.classTerms(
                term, classes, [&progress](int done) { return progress.read(done); },
                &progress.context(),
                [&, finished](const ArchiveRead<QVector<ClassTerm>> &terms) {
                    read = terms;
                    finished();
                });
    });
    if (!read.value)
        return read.problem;
    const auto outcome = writtenAside<termreport::Outcome>(progress, [&] {
        return termworkbook::write(term, *read.value, path,
                                   [&](int done, int) { return progress.written(done); });
    });
    progress.reset();
    return toldOf(outcome,
                  QCoreApplication::translate("termreportrun", "%1年级学期报告（%2个班）")
                          .arg(term.name())
                          .arg(classes.size()),
                  path);
}

QString runPdf(QWidget *parent, const ArchivedExam &exam, const QString &path)
{
    // Charts are drawn only on the window's thread, and quickly; the pages
    // and the file take the time.
    const examreport::Charts charts = examreport::drawCharts(exam);
    ReportProgress progress(parent, 0,
                            QCoreApplication::translate("termreportrun", "正在生成PDF报告……"));
    const QString problem = writtenAside<QString>(
            progress, [&] { return examreport::writePdf(exam, charts, path); });
    progress.reset();
    return problem.isEmpty() ? QCoreApplication::translate("termreportrun", "报告已保存为 %1")
                                       .arg(QDir::toNativeSeparators(path))
                             : problem;
}

QString pickAndRunGrade(QWidget *parent, console::HistoryController &history,
                        const ExamFilterChoices &choices,
                        const std::function<QString(const QString &suggestedName)> &chooseFile)
{
    if (choices.terms.isEmpty())
        return QCoreApplication::translate("termreportrun", "存档中没有考试。");
    TermWorkbookDialog picker(
            choices.terms, history.showsSchool(),
            [&history](const SchoolTerm &term, QObject *context,
                       console::Answer<QStringList> done) {
                history.termClasses(term, context, std::move(done));
            },
            parent);
    if (picker.exec() != QDialog::Accepted)
        return {};
    const QString chosen = chooseFile(termworkbook::defaultFileName(picker.term()));
    if (chosen.isEmpty())
        return {};
    return runGrade(parent, history, picker.term(), picker.classes(), chosen);
}

}  // namespace termreportrun
