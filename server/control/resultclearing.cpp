// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/resultclearing.h"

#include "collect/sessiontable.h"
#include "control/controllog.h"
#include "publish/exchangefolder.h"

#include <QDir>

namespace console {

namespace {

QString filesKept()
{
    return QCoreApplication::translate("ResultClearing", "\n交换文件夹中的文件没有删除。");
}

}  // namespace

ResultClearing::Question ResultClearing::question()
{
    // A collection still under way must not refill the table afterwards.
    m_parts.schedule.wait();
    // A table that cannot be read is no table of 0 results: clearing would
    // delete the files its rows came from.
    const std::optional<int> results = m_parts.store.rowCount();
    if (!results)
        return { std::nullopt, m_parts.store.lastError() + filesKept() };
    const int files = int(exchangeFilesToRemove(m_parts.folders.exchange).size());
    if (!*results && !files)
        return {};
    if (m_parts.archive.isOpen())
        return { tr("清空前，成绩表中的%1条成绩先存入考试存档 %2，"
                    "然后清空成绩表，并删除交换文件夹 %3 中的%4个文件。"
                    "确定要清空吗？")
                         .arg(*results)
                         .arg(QDir::toNativeSeparators(m_parts.archive.path()),
                              QDir::toNativeSeparators(m_parts.folders.exchange))
                         .arg(files),
                 {} };
    return { tr("清空将删除成绩表中的%1条成绩和交换文件夹 %2 "
                "中的%3个文件，删除后无法恢复。\n"
                "请先做好备份（导出成绩，复制 cj.mdb）。确定要清空吗？")
                             .arg(*results)
                             .arg(QDir::toNativeSeparators(m_parts.folders.exchange))
                             .arg(files)
                     + tr("\n考试存档不可用，这次考试不会存档。"),
             {} };
}

std::vector<std::function<QString()>> ResultClearing::steps()
{
    return { [this] { return keepExam(); }, [this] { return clearTable(); },
             [this] { return clearFiles(); } };
}

QString ResultClearing::keepExam()
{
    // An exam that cannot be kept is not cleared either.
    if (const QString problem = m_parts.history.keepCurrentExam(); !problem.isEmpty())
        return problem + tr("\n没有清空成绩表和交换文件夹。");
    return {};
}

QString ResultClearing::clearTable()
{
    // The sessions go with the rows they belong to, in the same database:
    // where the rows stay, so do their sessions, and so do their files, or
    // the next collection would find rows without a file to judge.
    if (!m_parts.store.clear())
        return m_parts.store.lastError() + filesKept();
    if (SessionTable sessions(m_parts.store.database()); !sessions.clear())
        return sessions.problem() + filesKept();
    if (const QString problem = m_parts.live.forgetMarks(); !problem.isEmpty())
        return problem + filesKept();
    // Only a table read back empty lets the files go.
    if (const std::optional<int> left = m_parts.store.rowCount(); !left || *left)
        return (left ? tr("成绩表没有清空。") : m_parts.store.lastError()) + filesKept();
    m_parts.judged.forgetPublishedText();
    m_parts.live.clear();
    return {};
}

QString ResultClearing::clearFiles()
{
    const QString problem =
            clearExchangeFolder(m_parts.folders.exchange, m_parts.folders.ownFolders());
    // With its records gone the exam is over: its codes go out no more,
    // and publishing it again starts another exam.
    if (problem.isEmpty())
        m_parts.gate.retireExam();
    return problem;
}

QStringList ResultClearing::clear()
{
    m_parts.schedule.wait();
    QString problem;
    for (const auto &step : steps()) {
        problem = step();
        if (!problem.isEmpty())
            break;
    }
    logCommand(tr("清空上次"), problem);
    // On to the school, once kept; what cannot go yet waits in the file.
    m_parts.school.send();
    return problem.isEmpty() ? QStringList() : QStringList { problem };
}

}  // namespace console
