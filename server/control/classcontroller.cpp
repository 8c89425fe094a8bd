// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/classcontroller.h"

#include "control/controllog.h"

namespace console {

ClassController::ClassController(const QString &applicationFolder, QSqlDatabase results,
                                 QObject *parent)
    : QObject(parent),
      m_kept(applicationFolder),
      m_results(std::move(results)),
      m_marksWriter(m_results.databaseName())
{
    connect(&m_rosters, &RosterLoader::loaded, this, &ClassController::takeRoster);
    connect(&m_marksWriter, &RowMarkWriter::failed, this, &ClassController::onMarksUnkept);
}

void ClassController::changed()
{
    emit rowsChanged();
    emit countsChanged();
}

void ClassController::showStored(const QVector<ResultRow> &rows)
{
    m_keptMarks = RowMarkTable(m_results).load();
    m_live.showStored(rows, m_keptMarks.value_or(QVector<MarkedRow>()));
}

void ClassController::show(const CollectionReport &report, const ExamFacts &facts)
{
    if (report.ok())
        m_live.update(report.results, facts, report.kept, report.sessions);
    changed();
    // The collection every few seconds mostly changes nothing to keep.
    QVector<MarkedRow> marked = m_live.markedRows();
    if (marked == m_keptMarks)
        return;
    logNewDoubts(m_keptMarks, marked);
    m_keptMarks = marked;
    m_marksWriter.keep(std::move(marked));
}

void ClassController::onMarksUnkept(const QString &problem)
{
    qCWarning(lcControl).noquote() << "the rows' marks not kept:" << problem;
    m_keptMarks.reset();
    emit marksUnkept(problem);
}

QString ClassController::forgetMarks()
{
    // After the marks on their way, or they would come back.
    m_marksWriter.waitForKept();
    RowMarkTable marks(m_results);
    if (!marks.clear())
        return marks.problem();
    m_keptMarks = QVector<MarkedRow>();
    return {};
}

void ClassController::clear()
{
    m_live.clear();
    changed();
}

QString ClassController::loadRoster(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (!m_rosters.start(path))
        return tr("上一份名单还在载入，请稍候再载入。");
    m_rosterPath = path;
    // The counts line says that a list is being read.
    emit countsChanged();
    return {};
}

QString ClassController::restoreKeptRoster()
{
    ClassRoster::Reading kept = m_kept.read();
    if (kept.roster) {
        m_live.setRoster(std::move(kept.roster));
        changed();
    }
    return kept.problem.isEmpty() ? QString() : tr("上次载入的名单无法读出：%1").arg(kept.problem);
}

void ClassController::takeRoster(const ClassRoster::Reading &reading)
{
    if (!reading.roster) {
        emit countsChanged();
        emit rosterLoaded(reading.problem);
        return;
    }
    m_live.setRoster(reading.roster);
    changed();
    QStringList told { reading.notice };
    if (const QString problem = m_kept.keep(*reading.roster, m_rosterPath); !problem.isEmpty())
        told << tr("名单已载入，但无法保存，下次启动时需要重新载入：%1").arg(problem);
    told.removeAll(QString());
    emit rosterLoaded(told.join(u'\n'));
}

void ClassController::abandonRoster()
{
    disconnect(&m_rosters, nullptr, this, nullptr);
    m_rosters.wait();
}

}  // namespace console
