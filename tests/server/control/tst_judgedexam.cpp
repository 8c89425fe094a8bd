// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exam the records are judged against: the record of publishing when
// this console kept one, else the time in force and te.txt as counted.
#include "consoleroom.h"

#include "control/judgedexam.h"

#include <QtTest>

using console::JudgedExam;

class TestJudgedExam : public QObject
{
    Q_OBJECT

private slots:
    void factsFollowTheExamAsPublished_data()
    {
        QTest::addColumn<bool>("published");  // by this console, with its record
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("asPublished");
        QTest::newRow("published here: its record") << true << 600 << true;
        QTest::newRow("te.txt alone: the time in force") << false << 420 << false;
    }

    void factsFollowTheExamAsPublished()
    {
        QFETCH(bool, published);
        QFETCH(int, seconds);
        QFETCH(bool, asPublished);
        ConsoleRoom room;
        writeFile(room.app(u"test.txt"_qs), "ab\r\n");
        writeFile(room.app(u"time.txt"_qs), "7\r\n");
        const console::ConsoleFolders folders = room.folders();
        LoginGate gate(folders.application, folders.exchange);
        if (published)
            QCOMPARE(gate.open(10), QString());
        else
            writeFile(room.exchange(u"te.txt"_qs), "ab\r\n");
        const console::ExamSettingsController settings(folders, gate);
        JudgedExam judged(gate, settings, folders.exchange);
        judged.countPublishedText();
        QCOMPARE(judged.facts().examSeconds, seconds);
        QCOMPARE(judged.facts().asPublished, asPublished);
        QCOMPARE(judged.facts().publishedLength, 4);
        // te.txt replaced: counted again, unless the record holds the exam.
        writeFile(room.exchange(u"te.txt"_qs), "abcd\r\n");
        judged.countPublishedText();
        QCOMPARE(judged.facts().publishedLength, published ? 4 : 6);
        judged.forgetPublishedText();
        QCOMPARE(judged.facts().publishedLength.has_value(), published);
    }
};

QTEST_MAIN(TestJudgedExam)
#include "tst_judgedexam.moc"
