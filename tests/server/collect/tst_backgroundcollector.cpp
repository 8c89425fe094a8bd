// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Collections on the collector's thread: one at a time, each report handed
// back exactly once, the rows in the database the window reads.
#include "collect/backgroundcollector.h"
#include "collect/resultstore.h"
#include "testrecords.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestBackgroundCollector : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QDir(m_root->path()).mkdir(u"exchange"_qs);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!writeResultFile(
                             m_root->filePath(u"exchange"_qs),
                             sampleRecord(u"一班"_qs, QString::number(i), u"甲"_qs, 50.f + i))
                             .isEmpty());
    }

    void oneAtATimeEachReportOnce()
    {
        BackgroundCollector collector(m_root->filePath(u"exchange"_qs), m_root->path(), database());
        QSignalSpy reports(&collector, &BackgroundCollector::finished);
        QVERIFY(collector.start());
        QVERIFY(!collector.start());
        collector.wait();
        QCOMPARE(reports.count(), 1);
        QCOMPARE(reports.first().first().value<CollectionReport>().rowCount, 3);
        QVERIFY(!collector.busy());
        QCoreApplication::processEvents();
        QCOMPARE(reports.count(), 1);
        ResultStore store(database());
        QCOMPARE(store.rowCount(), std::optional<int>(3));

        // Without waiting, the report comes through the event loop.
        QVERIFY(collector.start());
        QTRY_COMPARE(reports.count(), 2);
        QVERIFY(!collector.busy());
    }

    // What the hand-back starts is waited for too: one writer at a time.
    void waitCoversWhatTheHandBackStarts()
    {
        BackgroundCollector collector(m_root->filePath(u"exchange"_qs), m_root->path(), database());
        QSignalSpy reports(&collector, &BackgroundCollector::finished);
        connect(&collector, &BackgroundCollector::finished, this, [&] {
            if (reports.size() == 1)
                QVERIFY(collector.start({}, {}, BackgroundCollector::Asker::Examiner));
        });
        QVERIFY(collector.start());
        collector.wait();
        QCOMPARE(reports.size(), 2);
        QCOMPARE(reports.at(0).at(1).value<BackgroundCollector::Asker>(),
                 BackgroundCollector::Asker::Clock);
        QCOMPARE(reports.at(1).at(1).value<BackgroundCollector::Asker>(),
                 BackgroundCollector::Asker::Examiner);
        QCOMPARE(reports.at(1).at(0).value<CollectionReport>().rowCount, 3);
        QVERIFY(!collector.busy());
    }

    void endsWhileCollecting()
    {
        auto collector = std::make_unique<BackgroundCollector>(m_root->filePath(u"exchange"_qs),
                                                               m_root->path(), database());
        QVERIFY(collector->start());
        collector.reset();
        QCoreApplication::processEvents();
        ResultStore store(database());
        QCOMPARE(store.rowCount(), std::optional<int>(3));
    }

private:
    QString database() const { return m_root->filePath(u"cj.mdb"_qs); }
    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_GUILESS_MAIN(TestBackgroundCollector)
#include "tst_backgroundcollector.moc"
