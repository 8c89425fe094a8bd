// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examcommands.h"

#include "export/documentname.h"
#include "report/loginslips.h"

#include "exchange/messages.h"

#include <QDir>
#include <QUrl>
#include <QWidget>

using console::ConsoleController;
using console::ResultClearing;
using console::SlipCodes;

ExamCommands::ExamCommands(ConsoleController &controller, const ConsoleHooks &hooks,
                           Messages *messages, QWidget *window)
    : QObject(window),
      m_controller(controller),
      m_hooks(hooks),
      m_messages(messages),
      m_window(window)
{
}

void ExamCommands::tell(const QString &text)
{
    if (!text.isEmpty())
        m_messages->inform(m_window, text);
}

bool ExamCommands::mayActBesideOtherConsole(ConsoleController::SharedAction action)
{
    const QString warning = m_controller.otherConsoleWarning(action);
    return warning.isEmpty() || m_messages->confirm(m_window, warning);
}

// ---- Login gate ----

void ExamCommands::openOrCloseLogin()
{
    if (m_controller.loginOpen())
        closeLogin();
    else
        openLogin();
}

void ExamCommands::openLogin()
{
    if (const QString problem = m_controller.readinessProblem(); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    if (!mayActBesideOtherConsole(ConsoleController::SharedAction::OpenLogin))
        return;
    // Yes clears as 清空上次 does; a clearing that failed is told, and login
    // stays closed.
    const QString stale = m_controller.staleResultsQuestion();
    if (!stale.isEmpty() && m_messages->confirm(m_window, stale)) {
        const QStringList problems = m_controller.clearing().clear();
        for (const QString &problem : problems)
            tell(problem);
        if (!problems.isEmpty())
            return;
    }
    tell(m_controller.openLogin());
}

void ExamCommands::closeLogin()
{
    if (mayActBesideOtherConsole(ConsoleController::SharedAction::CloseLogin))
        tell(m_controller.closeLogin());
}

void ExamCommands::offerToWithdrawPublishedExam()
{
    const QString question = m_controller.withdrawQuestion();
    if (!question.isEmpty() && m_messages->confirm(m_window, question))
        closeLogin();
}

// ---- Results ----

void ExamCommands::clearResults()
{
    if (!mayActBesideOtherConsole(ConsoleController::SharedAction::Clear))
        return;
    const ResultClearing::Question asked = m_controller.clearing().question();
    if (!asked.problem.isEmpty()) {
        tell(asked.problem);
        return;
    }
    if (asked.question && !m_messages->confirm(m_window, *asked.question))
        return;
    for (const QString &problem : m_controller.clearing().clear())
        tell(problem);
}

void ExamCommands::exportResults()
{
    const WorkbookExport exported = m_controller.exportResults();
    if (!exported.problem.isEmpty()) {
        tell(exported.problem);
        return;
    }
    QString message = exported.message;
    if (!m_hooks.openUrl(QUrl::fromLocalFile(exported.workbook)))
        message += tr("\n没有找到能打开它的表格程序。");
    tell(message);
}

void ExamCommands::allowRetake(int row)
{
    const QVector<ClassViewRow> &rows = m_controller.liveClass().live().rows();
    if (row < 0 || row >= rows.size())
        return;
    const ClassViewRow examinee = rows.at(row);
    const Retake::Offer offer = m_controller.retakeOffer(examinee);
    if (!offer.question) {
        tell(offer.problem);
        return;
    }
    if (m_messages->confirm(m_window, *offer.question))
        m_controller.allowRetake(examinee);  // told once done (retakeDone)
}

void ExamCommands::printLoginCodes()
{
    const SlipCodes::Slips slips = m_controller.slipCodes().forSlips();
    if (!slips.problem.isEmpty()) {
        tell(slips.problem);
        return;
    }
    const QString name = loginslips::defaultFileName(slips.exam.heldAt, slips.exam.articleName);
    // Beside the exported workbooks, where the examiner finds the class's papers.
    const QString folder = m_controller.folders().exports;
    QDir().mkpath(folder);
    const QString chosen =
            m_hooks.chooseSaveFile(m_window, QDir(folder).filePath(name), tr("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty())
        return;
    if (const QString problem =
                loginslips::writePdf(slips.codes, documentname::caption(slips.exam), chosen);
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    QString message = tr("%1位考生的登录码已保存为 %2，打印后沿虚线剪开，发给考生。")
                              .arg(slips.codes.examinees().size())
                              .arg(QDir::toNativeSeparators(chosen));
    if (!m_hooks.openUrl(QUrl::fromLocalFile(chosen)))
        message += tr("\n没有找到能打开它的PDF阅读程序。");
    tell(message);
}

void ExamCommands::loadRoster()
{
    console::ClassController &liveClass = m_controller.liveClass();
    const QString path = m_hooks.chooseRoster(m_window, liveClass.lastRosterFolder());
    tell(liveClass.loadRoster(path));
}

void ExamCommands::tellStartUpProblems()
{
    tell(m_controller.startProblem());
    tell(m_controller.archiveProblem());
    tell(m_controller.school().startNotice());
    tell(m_controller.settings().gradingProblem());
    tell(m_controller.settings().judgingProblem());
    tell(m_controller.liveClass().restoreKeptRoster());
}
