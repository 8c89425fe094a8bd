// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhistory.h"

#include "report/examreport.h"
#include "report/termreport.h"
#include "windows/examfilterbar.h"
#include "windows/frmgradeexam.h"
#include "windows/termreportrun.h"

#include "stats/statisticspage.h"

#include "exchange/messages.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kListPoints = 11;

QPushButton *commandButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

FrmHistory::FrmHistory(console::HistoryController &history, const ConsoleHooks &hooks,
                       Messages *messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_hooks(hooks), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowTitle(tr("历次考试"));
    QFont font = this->font();
    font.setPointSize(kListPoints);
    setFont(font);

    m_list = new HistoryExamList(history, this);
    connect(m_list, &HistoryExamList::filtersChanged, this, &FrmHistory::listExams);
    connect(m_list, &HistoryExamList::examChosen, this, &FrmHistory::showExam);
    connect(m_list, &HistoryExamList::told, this, &FrmHistory::tell);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout();
    top->addWidget(m_list->filterBar(), 1);
    QPushButton *backup = commandButton(this, "CmdBackup", tr("备份存档"));
    connect(backup, &QPushButton::clicked, this, &FrmHistory::backUp);
    top->addWidget(backup);
    QPushButton *term = commandButton(this, "CmdTermReport", tr("学期报告"));
    term->setToolTip(tr("把列表中的考试（可先按日期、文章、班级或学期筛选）汇总成一个"
                        "Excel工作簿；选了班级时只含这个班的考生"));
    connect(term, &QPushButton::clicked, this, &FrmHistory::writeTermReport);
    top->addWidget(term);
    QPushButton *gradeTerm = commandButton(this, "CmdGradeTermReport", tr("年级学期报告"));
    gradeTerm->setToolTip(tr("选一个学期和几个班（可跨机房、跨教师），生成一个"
                             "Excel工作簿：每班一个工作表，另有年级汇总和图表"));
    connect(gradeTerm, &QPushButton::clicked, this, &FrmHistory::writeGradeTermReport);
    top->addWidget(gradeTerm);
    layout->addLayout(top);
    layout->addWidget(m_list->note());

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_list->examList());
    auto *pane = new QWidget(splitter);
    auto *paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    m_detail = new ExamDetailPane(history, hooks, pane);
    connect(m_detail, &ExamDetailPane::told, this, &FrmHistory::tell);
    paneLayout->addWidget(m_detail, 1);
    paneLayout->addWidget(buildCommands(pane));
    splitter->setStretchFactor(1, 1);
    // The list's columns and its scroll bar need about 470 pixels (less cut
    // 及格率 short); the rest goes to the charts, whose axes and legends
    // are still read whole in it at 1280 wide.
    splitter->setSizes({ 470, 810 });
    layout->addWidget(splitter, 1);
    resize(1280, 800);
}

QWidget *FrmHistory::buildCommands(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    QPushButton *saveCharts = commandButton(row, "CmdSaveCharts", tr("保存图表"));
    connect(saveCharts, &QPushButton::clicked, m_detail, &ExamDetailPane::saveCharts);
    buttons->addWidget(saveCharts);
    const std::pair<QPushButton *, void (FrmHistory::*)()> commands[] = {
        { commandButton(row, "CmdExportAgain", tr("导出到Excel表格")), &FrmHistory::exportAgain },
        { commandButton(row, "CmdPdfReport", tr("PDF报告")), &FrmHistory::writePdfReport },
        { commandButton(row, "CmdGradeExam", tr("年级汇总")), &FrmHistory::showGradeExam },
        { commandButton(row, "CmdRegrade", tr("按现在的评分标准重新评分")), &FrmHistory::regrade },
        { m_deleteExam = commandButton(row, "CmdDeleteExam", tr("删除这场考试")),
          &FrmHistory::deleteExam },
    };
    for (const auto &[button, slot] : commands) {
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    return row;
}

void FrmHistory::refresh()
{
    // One at a time: a school that answers slowly is not asked again and
    // again meanwhile (a collection every few seconds asks), only once more.
    if (m_refreshing) {
        m_refreshAgain = true;
        return;
    }
    m_refreshing = true;
    m_history.openArchiveShown(this, [this](const QString &away) {
        m_list->setChoices(away);
        m_detail->refresh();
        m_list->listExams(m_chosen, [this] {
            m_refreshing = false;
            if (std::exchange(m_refreshAgain, false))
                refresh();
        });
    });
}

void FrmHistory::listExams()
{
    m_list->listExams(m_chosen);
}

void FrmHistory::followCurrentExam()
{
    if (!isVisible())
        return;
    if (!m_list->followCurrentExam()) {
        refresh();
        return;
    }
    if (shownId() == 0)
        showExam(0);
}

void FrmHistory::showExam(qint64 id)
{
    m_chosen = id;
    if (id > 0) {
        m_history.exam(id, this, [this, id](const ArchiveRead<ArchivedExam> &kept) {
            // Another exam chosen meanwhile is the one to show.
            if (id != m_chosen)
                return;
            if (!kept.value)
                tell(kept.problem);
            setShown(kept.value);
        });
        return;
    }
    std::optional<ArchivedExam> current;
    if (id == 0) {
        current = m_history.currentExam().value;
        if (current)
            current->id = 0;
    }
    setShown(current);
}

void FrmHistory::setShown(const std::optional<ArchivedExam> &exam)
{
    m_shown = exam;
    m_detail->showExam(m_shown ? &*m_shown : nullptr);
    // Another lab's exam in the school archive is that lab's to delete.
    const QString refused = m_shown ? m_history.removalRefused(m_shown->sitting) : QString();
    m_deleteExam->setEnabled(refused.isEmpty());
    m_deleteExam->setToolTip(refused);
}

QVector<qint64> FrmHistory::listedExamIds() const
{
    QVector<qint64> ids;
    for (const ExamSummary &exam : m_list->kept())
        ids.prepend(exam.id);
    return ids;
}

void FrmHistory::exportAgain()
{
    if (!m_shown)
        return;
    const WorkbookExport exported = m_history.exportKeptExam(*m_shown);
    tell(exported.problem.isEmpty() ? exported.message : exported.problem);
}

void FrmHistory::regrade()
{
    if (!m_shown || m_shown->id <= 0)
        return;
    if (!m_messages->confirm(this, tr("用现在的评分标准重新评定%1吗？").arg(examTitle(*m_shown))))
        return;
    const QString othersExam = m_history.removalRefused(m_shown->sitting);
    m_history.regrade(*m_shown, this, [this, othersExam](const QString &problem) {
        tell(problem);
        if (othersExam.isEmpty()) {
            refresh();
            return;
        }
        m_detail->showExam(&*m_shown);
        tell(othersExam + tr("\n新的评定只在这个窗口中显示，不会保存。"));
    });
}

void FrmHistory::deleteExam()
{
    if (!m_shown || m_shown->id <= 0)
        return;
    if (!m_messages->confirm(
                this, tr("确定要从考试存档中删除%1吗？删除后无法恢复。").arg(examTitle(*m_shown))))
        return;
    m_history.remove(m_shown->id, this, [this](const QString &problem) {
        tell(problem);
        if (problem.isEmpty())
            setShown(std::nullopt);
        refresh();
    });
}

void FrmHistory::backUp()
{
    const QString chosen = m_hooks.chooseDocumentsFile(
            this,
            tr("考试存档备份-%1.db")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
            tr("考试存档 (*.db)"));
    if (chosen.isEmpty())
        return;
    const QString problem = m_history.backUpTo(chosen);
    tell(problem.isEmpty() ? tr("考试存档已备份到 %1").arg(QDir::toNativeSeparators(chosen))
                           : problem);
}

void FrmHistory::writePdfReport()
{
    if (!m_shown)
        return;
    const QString chosen = m_hooks.chooseDocumentsFile(this, examreport::defaultFileName(*m_shown),
                                                       tr("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty())
        return;
    // A copy: the list may show another exam before the file is written.
    const ArchivedExam exam = *m_shown;
    tell(termreportrun::runPdf(this, exam, chosen));
}

void FrmHistory::showGradeExam()
{
    if (!m_shown || m_shown->id <= 0) {
        tell(tr("请先在列表中选一场存档的考试。"));
        return;
    }
    m_history.gradeExam(m_shown->id, this, [this](const ArchiveRead<GradeWideExam> &grade) {
        if (!grade.value) {
            tell(grade.problem);
            return;
        }
        if (!grade.value->isGradeWide()) {
            tell(tr("同一个上午（或下午）没有别的考试用同一篇文章、同样的考试时间，"
                    "这场考试不是年级统考。"));
            return;
        }
        auto *view = new FrmGradeExam(*grade.value, m_hooks, m_messages, this);
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->show();
    });
}

void FrmHistory::writeTermReport()
{
    const QVector<qint64> ids = listedExamIds();
    if (ids.isEmpty()) {
        tell(tr("列表中没有存档的考试。"));
        return;
    }
    // Named by the days of the first and last exam listed, newest first.
    const QVector<ExamSummary> listed = m_list->kept();
    const QString chosen = m_hooks.chooseDocumentsFile(
            this, termreport::defaultFileName(listed.last().when, listed.first().when),
            tr("Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    tell(termreportrun::run(this, m_history, ids, m_list->filter().department, chosen));
}

void FrmHistory::writeGradeTermReport()
{
    m_history.filterChoices(this, [this](const ArchiveRead<ExamFilterChoices> &choices) {
        if (!choices.value) {
            tell(choices.problem);
            return;
        }
        tell(termreportrun::pickAndRunGrade(
                this, m_history, *choices.value, [this](const QString &suggestedName) {
                    return m_hooks.chooseDocumentsFile(this, suggestedName,
                                                       tr("Excel 工作簿 (*.xlsx)"));
                }));
    });
}

void FrmHistory::tell(const QString &text)
{
    // Answers that come while a box is up would pile boxes on it (a school
    // that fails fails every read): one is enough, and the list's note stays.
    if (text.isEmpty() || m_telling)
        return;
    m_telling = true;
    m_messages->inform(this, text);
    m_telling = false;
}
