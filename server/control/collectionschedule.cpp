// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/collectionschedule.h"

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
    startByHand();
}

void CollectionSchedule::startByHand()
{
    // One writer at a time: after a collection of the clock under way, it
    // starts as that one is handed back.
    if (!m_background.busy())
        start(BackgroundCollector::Asker::Examiner);
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
    if (asker == BackgroundCollector::Asker::Examiner) {
        m_byHandWanted = false;
        QStringList told = report.notes;
        if (!unkept.isEmpty())
            told << unkept;
        if (!report.skipped.isEmpty())
            told.prepend(skippedFilesMessage(report.skipped));
        emit collectedByHand(report.ok() ? told.join(u'\n') : report.problem);
        return;
    }
    // Files still being uploaded are normal while the class types; only a
    // failure of the whole collection is worth the examiner's eye.
    if (!report.ok())
        emit quietCollectionFailed(report.problem);
    else if (!unkept.isEmpty())
        emit quietCollectionFailed(unkept);
    if (m_byHandWanted)
        startByHand();
}

}  // namespace console
