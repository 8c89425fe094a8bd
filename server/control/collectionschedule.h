// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When the console's collections run, one writer of the results database
// at a time: the clock's, passed over while another is under way; the
// examiner's 获取成绩, started once none is and joined while it runs; and
// a retake's set-aside, run once none is, followed by a collection that
// shows it. The console says how a collection starts and shows what it
// hands back.
#include "collect/backgroundcollector.h"
#include "control/consolefolders.h"
#include "control/controllog.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace console {

class CollectionSchedule : public QObject
{
    Q_OBJECT

public:
    // What a collection starts with: the keys of the exam as published,
    // when it requires codes, and how records are examined.
    struct Start
    {
        std::shared_ptr<const RecordKeys> keys;
        TextExaminer examiner;
    };
    // Readies the folder before a collection and says what it starts with.
    using Prepare = std::function<Start()>;
    // Shows a report handed back.
    using Show = std::function<void(const CollectionReport &)>;

    CollectionSchedule(const ConsoleFolders &folders, Prepare prepare, Show show,
                       QObject *parent = nullptr);

    // 获取成绩: collects after the collection under way, if any; while one
    // by hand is under way, the command joins it.
    void collectByHand();
    bool collectingByHand() const { return m_byHandWanted; }
    // One tick of the clock: passed over while a collection is under way.
    void collectQuietly();
    bool underWay() const { return m_background.busy(); }
    // A retake's ledger and file work on the results database; its problem
    // or empty.
    using SetAside = std::function<QString(ResultStore &store)>;
    // 重考: runs `setAside` on the collector's thread once no collection
    // writes, then collects; retakeDone tells what `setAside` returned once
    // that collection is shown. Retakes asked while one waits follow it.
    void retake(SetAside setAside);
    bool retakePending() const { return !m_retakesWaiting.empty() || m_retakesUnderWay > 0; }
    // Until the collections under way, and those their hand-backs started,
    // have been shown; false when the deadline passed first.
    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever))
    {
        return m_background.wait(deadline);
    }

signals:
    void quietCollectionFailed(const QString &problem);
    // The problem, or which files were skipped and the notes; empty when all went well.
    void collectedByHand(const QString &told);
    // A retake is done and its rows shown: its problem, or empty.
    void retakeDone(const QString &problem);

private:
    void start(BackgroundCollector::Asker asker, BackgroundCollector::Prelude prelude = {});
    // Starts what waits (retakes first, then 获取成绩) unless a collection is under way.
    void startWaiting();
    void handedBack(const CollectionReport &report, BackgroundCollector::Asker asker,
                    const QStringList &told);

    Prepare m_prepare;
    Show m_show;
    BackgroundCollector m_background;
    CollectionLog m_log;
    bool m_byHandWanted = false;  // from 获取成绩 until its collection is shown
    std::vector<SetAside> m_retakesWaiting;  // until no collection is under way
    int m_retakesUnderWay = 0;  // set aside by the collection under way, until it is shown
};

}  // namespace console
