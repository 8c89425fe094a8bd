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

void CollectionSchedule::start(BackgroundCollector::Asker asker)
{
    const Start with = m_prepare();
    m_background.start(with.keys, with.examiner, asker);
}

void CollectionSchedule::collectByHand()
{
    if (m_byHandWanted)
        return;
    m_byHandWanted = true;
    startWaiting();
}

void CollectionSchedule::retake(std::function<QString()> setAside)
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
        // Each retake reads the ledger as the one before left it: one asked
        // twice finds nothing left to set aside the second time.
        for (const auto &setAside : std::exchange(m_retakesWaiting, {}))
            m_retakesToTell << setAside();
        // The rows show the results set aside; it joins 获取成绩 if asked.
        start(BackgroundCollector::Asker::Examiner);
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
                                    BackgroundCollector::Asker asker)
{
    const QString unkept = m_show(report);
    if (asker == BackgroundCollector::Asker::Clock) {
        // Files still being uploaded are normal while the class types; only
        // a failure of the whole collection is worth the examiner's eye.
        if (!report.ok())
            emit quietCollectionFailed(report.problem);
        else if (!unkept.isEmpty())
            emit quietCollectionFailed(unkept);
    } else {
        // Taken before telling: a message box turns the event loop, and a
        // collection handed back meanwhile must not tell them again.
        const QStringList retakes = std::exchange(m_retakesToTell, {});
        const bool byHand = std::exchange(m_byHandWanted, false);
        for (const QString &problem : retakes)
            emit retakeDone(problem);
        if (byHand) {
            QStringList told = report.notes;
            if (!unkept.isEmpty())
                told << unkept;
            if (!report.skipped.isEmpty())
                told.prepend(skippedFilesMessage(report.skipped));
            emit collectedByHand(report.ok() ? told.join(u'\n') : report.problem);
        }
    }
    startWaiting();
}

}  // namespace console
