// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/collectionschedule.h"

#include <utility>

namespace console {

CollectionSchedule::CollectionSchedule(const ConsoleFolders &folders, Prepare prepare, Show show,
                                       QObject *parent)
    : QObject(parent),
      m_prepare(std::move(prepare)),
      m_show(std::move(show)),
      m_background(folders.exchange, folders.application, folders.database)
{
    connect(&m_background, &BackgroundCollector::finished, this, &CollectionSchedule::handedBack);
}

void CollectionSchedule::start(BackgroundCollector::Asker asker,
                               BackgroundCollector::Prelude prelude)
{
    const Start with = m_prepare();
    m_background.start(with.keys, with.examiner, asker, std::move(prelude));
}

void CollectionSchedule::collectByHand()
{
    if (m_byHandWanted)
        return;
    m_byHandWanted = true;
    startWaiting();
}

void CollectionSchedule::retake(SetAside setAside)
{
    m_retakesWaiting.push_back(std::move(setAside));
    startWaiting();
}

void CollectionSchedule::startWaiting()
{
    // One writer at a time: what waits starts as the collection under way
    // is handed back.
    if (m_background.busy())
        return;
    if (!m_retakesWaiting.empty()) {
        m_retakesUnderWay = int(m_retakesWaiting.size());
        // Each retake reads the ledger as the one before left it: one asked
        // twice finds nothing left to set aside the second time. The
        // collection after them shows the rows, and joins 获取成绩 if asked.
        start(BackgroundCollector::Asker::Examiner,
              [setAsides = std::exchange(m_retakesWaiting, {})](ResultStore &store) {
                  QStringList told;
                  for (const SetAside &setAside : setAsides)
                      told << setAside(store);
                  return told;
              });
    } else if (m_byHandWanted) {
        start(BackgroundCollector::Asker::Examiner);
    }
}

void CollectionSchedule::collectQuietly()
{
    if (!m_background.busy())
        start(BackgroundCollector::Asker::Clock);
}

void CollectionSchedule::handedBack(const CollectionReport &report,
                                    BackgroundCollector::Asker asker, const QStringList &told)
{
    m_show(report);
    m_log.note(report, asker != BackgroundCollector::Asker::Clock);
    if (asker == BackgroundCollector::Asker::Clock) {
        // Files still being uploaded are normal while the class types; only
        // a failure of the whole collection is worth the examiner's eye.
        if (!report.ok())
            emit quietCollectionFailed(report.problem);
    } else {
        // Taken before telling: a message box turns the event loop, and a
        // collection handed back meanwhile must not tell them again.
        const int retakes = std::exchange(m_retakesUnderWay, 0);
        const bool byHand = std::exchange(m_byHandWanted, false);
        // Without the database the retakes were not done: its problem is theirs.
        for (int i = 0; i < retakes; ++i)
            emit retakeDone(i < told.size() ? told.at(i) : report.problem);
        if (byHand) {
            QStringList found = report.notes;
            if (!report.skipped.isEmpty())
                found.prepend(skippedFilesMessage(report.skipped));
            emit collectedByHand(report.ok() ? found.join(u'\n') : report.problem);
        }
    }
    startWaiting();
}

}  // namespace console
