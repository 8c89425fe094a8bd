// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The publication a record names, at the console over real folders and
// SQLite: a forged pb.txt's id is doubted; an earlier publication of the same
// exam counts until the exam is cleared or changed.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "exchange/examdigest.h"
#include "exchange/gbk.h"
#include "testrecords.h"

#include "control/consolecontroller.h"
#include "publish/exampublications.h"

#include <QtTest>

using console::ConsoleController;

namespace {

const QByteArray kText = gbk::encode(u"春眠不觉晓\r\n处处闻啼鸟\r\n");

// Nine typed in a minute, one wrong, naming the publication in pb.txt now.
ResultRecord honestRecord(const QString &name, const QString &exchangeFolder)
{
    ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, name, 8, 88.89f, 60);
    record.targetLen = 14;
    record.typedLen = 9;
    record.progress = ResultProgress { 1, u"s"_qs, ResultProgress::Phase::Finished, 9 };
    record.answerSheet = AnswerSheet { examDigest(kText), 1, 0, u"春眠不觉小\r\n处处"_qs };
    addClientParts(record, exchangeFolder);
    return record;
}

}  // namespace

class TestPublications : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_controller.reset();
        m_room = std::make_unique<ConsoleRoom>();
        QVERIFY(writeFile(m_room->app(u"test.txt"_qs), kText));
        QVERIFY(writeFile(m_room->app(u"time.txt"_qs), "1\r\n"));
        start();
    }

    void recordOfAForgedPublicationIsDoubted()
    {
        QCOMPARE(m_controller->openLogin(), QString());
        QVERIFY(backdate(m_room->app(u"fb.txt"_qs), 3600));
        const QByteArray forged = "\"0123456789abcdef0123456789abcdef\"\r\n#FALSE#\r\n";
        QVERIFY(writeFile(m_room->exchange(u"pb.txt"_qs), forged));
        // 甲 logs in before the console writes its own pb.txt back.
        const ResultRecord misled = honestRecord(u"甲"_qs, m_room->exchangeFolder);
        collectByHand(*m_controller);
        QVERIFY(readFile(m_room->exchange(u"pb.txt"_qs)) != forged);
        writeResultFile(m_room->exchangeFolder, misled);
        writeResultFile(m_room->exchangeFolder, honestRecord(u"乙"_qs, m_room->exchangeFolder));

        // Across a restart too: the console keeps the forged id.
        for (int run = 0; run < 2; ++run) {
            if (run)
                start();
            collectByHand(*m_controller);
            const auto kept = ExamPublications::ofPublishedExam(m_room->appFolder()).forgedIds();
            QCOMPARE(kept.size(), 1);
            const QString restoredAt = kept.at(0).at.toLocalTime().toString(u"HH:mm:ss"_qs);
            QHash<QString, QStringList> doubts;
            for (const ClassViewRow &row : m_controller->liveClass().live().rows())
                doubts.insert(row.name, row.doubts);
            QCOMPARE(doubts.keys().size(), 2);
            QCOMPARE(doubts.value(u"甲"_qs),
                     QStringList { u"考生登录时，交换文件夹中的pb.txt是被人改写过的（已于"_qs
                                   + restoredAt
                                   + u"改回），这份成绩不一定是这场考试的，请核实"_qs });
            QCOMPARE(doubts.value(u"乙"_qs), QStringList());
        }
    }

    void earlierPublicationOfTheSameExam_data()
    {
        QTest::addColumn<QString>("between");  // what happens between 禁止登录 and 允许登录
        QTest::addColumn<bool>("counted");
        QTest::newRow("reopened") << QString() << true;
        QTest::newRow("reopened after a restart") << u"restart"_qs << true;
        QTest::newRow("cleared, then reopened") << u"clear"_qs << false;
        QTest::newRow("text changed, then reopened") << u"text"_qs << false;
    }

    void earlierPublicationOfTheSameExam()
    {
        QFETCH(QString, between);
        QFETCH(bool, counted);
        QCOMPARE(m_controller->openLogin(), QString());
        // 甲 logged in before the exam was withdrawn and opened again.
        const ResultRecord earlier = honestRecord(u"甲"_qs, m_room->exchangeFolder);
        QCOMPARE(m_controller->closeLogin(), QString());
        if (between == u"restart")
            start();
        if (between == u"clear")
            QCOMPARE(m_controller->clearing().clear(), QStringList());
        if (between == u"text")
            QVERIFY(writeFile(m_room->app(u"test.txt"_qs), gbk::encode(u"春眠不觉晓\r\n")));
        QCOMPARE(m_controller->openLogin(), QString());
        writeResultFile(m_room->exchangeFolder, earlier);
        const QString told = collectByHand(*m_controller);
        QStringList names;
        for (const ClassViewRow &row : m_controller->liveClass().live().rows())
            names << row.name;
        QCOMPARE(names, counted ? QStringList { u"甲"_qs } : QStringList());
        QCOMPARE(told,
                 counted ? QString()
                         : u"交换文件夹中有1份以前发布的考试的成绩，不属于这次考试，没有计入。"
                           "清空上次会删除它们。"_qs);
    }

private:
    void start()
    {
        m_controller.reset();
        m_controller = std::make_unique<ConsoleController>(m_room->folders());
    }

    std::unique_ptr<ConsoleRoom> m_room;
    std::unique_ptr<ConsoleController> m_controller;  // ends before its folders
};

QTEST_MAIN(TestPublications)
#include "tst_publications.moc"
