// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exam's settings over a temporary application folder: the exam time
// typed, the article chosen, the exchange folder of the next start.
#include "consoleroom.h"
#include "exchange/gbk.h"

#include "control/examsettingscontroller.h"
#include "settings/consolepreferences.h"

#include <QSignalSpy>
#include <QtTest>

using console::ExamSettingsController;

class TestExamSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_room = std::make_unique<ConsoleRoom>(); }

    void cleanup()
    {
        m_settings.reset();
        m_gate.reset();
        m_room.reset();
    }

    void savingExamTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("fraction") << u"12.5"_qs << false << 12 << QByteArray("12.5\r\n");
        QTest::newRow("blanks and zeros")
                << u" 045.50 "_qs << false << 46 << QByteArray("45.5\r\n");
        QTest::newRow("longest exam") << u"546"_qs << false << 546 << QByteArray("546\r\n");
        QTest::newRow("typed digit") << u"3"_qs << false << 3 << QByteArray("3\r\n");
        for (const QString &typed : { QString(), u"二十"_qs, u"0.4"_qs, u"547"_qs, u"-5"_qs })
            QTest::addRow("refused '%s'", qPrintable(typed))
                    << typed << true << 30 << QByteArray("30\r\n");
    }

    void savingExamTime()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(int, minutes);
        QFETCH(QByteArray, stored);
        writeFile(m_room->app(u"time.txt"_qs), "30\r\n");
        const QString article = m_room->work(u"a.txt"_qs);
        writeFile(article, "ab\r\n");
        start();
        QCOMPARE(m_settings->chooseArticle(article), QString());
        const QString problem = m_settings->saveSettings(typed);
        QCOMPARE(problem.contains(u"考试时间"_qs), refused);
        QCOMPARE(problem.isEmpty(), !refused);
        QCOMPARE(m_settings->examMinutes(), minutes);
        QCOMPARE(readFile(m_room->app(u"time.txt"_qs)), stored);
        // The article is stored only with a time that is; a saved text is let go.
        QCOMPARE(QFile::exists(m_room->app(u"test.txt"_qs)), !refused);
        QCOMPARE(m_settings->examText().isEmpty(), !refused);
    }

    void chosenArticleBecomesTheExamText()
    {
        start();
        QSignalSpy shown(m_settings.get(), &ExamSettingsController::examTextChanged);
        QVERIFY(m_settings->chooseArticle(m_room->work(u"gone.txt"_qs))
                        .contains(QDir::toNativeSeparators(m_room->work(u"gone.txt"_qs))));
        QCOMPARE(m_settings->chosenArticlePath(), QString());
        const QString article = m_room->work(u"article.txt"_qs);
        writeFile(article, gbk::encode(u"ab\r\n中文\r\n"));
        QCOMPARE(m_settings->chooseArticle(article), QString());
        QCOMPARE(m_settings->examText(), u"ab\r\n中文\r\n"_qs);
        QCOMPARE(m_settings->examText().size(), 8);
        // A cancelled dialog keeps the text.
        QCOMPARE(m_settings->chooseArticle(QString()), QString());
        QCOMPARE(m_settings->chosenArticlePath(), article);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(m_settings->articleFolder(), m_room->app(u"article"_qs));
    }

    // The saved article's name outlives the start; an article chosen and
    // left unsaved never becomes the exam's, nor lends it its name.
    void articleNameKeptAcrossStarts()
    {
        const QString spring = m_room->work(u"春晓.txt"_qs);
        const QString other = m_room->work(u"静夜思.txt"_qs);
        const QString emoji = m_room->work(u"学校🏫.txt"_qs);
        writeFile(spring, "ab\r\n");
        writeFile(other, "cd\r\n");
        writeFile(emoji, "ef\r\n");
        start();
        QCOMPARE(m_settings->articleName(), QString());
        QCOMPARE(m_settings->chooseArticle(spring), QString());
        QCOMPARE(m_settings->saveSettings(u"10"_qs), QString());
        start();
        QCOMPARE(m_settings->articleName(), u"春晓"_qs);
        QCOMPARE(m_settings->chooseArticle(other), QString());
        m_settings->discardExamText();
        QCOMPARE(m_settings->saveSettings(u"12"_qs), QString());
        QCOMPARE(readFile(m_room->app(u"test.txt"_qs)), QByteArray("ab\r\n"));
        QCOMPARE(m_settings->articleName(), u"春晓"_qs);
        QCOMPARE(m_settings->chooseArticle(emoji), QString());
        QCOMPARE(m_settings->saveSettings(u"12"_qs), QString());
        QCOMPARE(m_settings->articleName(), QString());
        start();
        QCOMPARE(m_settings->articleName(), QString());
    }

    // The folder stays as it is under an open exam; a new one is used
    // from the next start, the one in use until then.
    void exchangeFolderChangesOnlyWithLoginClosed_data()
    {
        QTest::addColumn<bool>("loginOpen");
        QTest::newRow("login closed") << false;
        QTest::newRow("login open") << true;
    }

    void exchangeFolderChangesOnlyWithLoginClosed()
    {
        QFETCH(bool, loginOpen);
        writeFile(m_room->app(u"test.txt"_qs), "ab\r\n");
        writeFile(m_room->app(u"time.txt"_qs), "10\r\n");
        start();
        if (loginOpen)
            QCOMPARE(m_gate->open(10), QString());
        QCOMPARE(m_settings->exchangeFolderLocked().contains(u"请先禁止登录"_qs), loginOpen);
        QCOMPARE(m_settings->nextExchangeFolder(), m_room->exchangeFolder);
        if (loginOpen)
            return;
        // Not the console's own folder, nor one holding it: examinees write there.
        for (const QString &own : { m_room->appFolder(), m_room->work(QString()) }) {
            QVERIFY(m_settings->saveExchangeFolder(own).startsWith(
                    u"交换文件夹不能是考试服务器"_qs));
            QCOMPARE(m_settings->nextExchangeFolder(), m_room->exchangeFolder);
        }
        // A folder whose name only begins like the console's is another folder.
        QCOMPARE(m_settings->saveExchangeFolder(m_room->work(u"ap"_qs)), QString());
        const QString chosen = m_room->work(u"typedata"_qs);
        QCOMPARE(m_settings->saveExchangeFolder(chosen), QString());
        QCOMPARE(m_settings->nextExchangeFolder(), chosen);
        QCOMPARE(m_settings->folders().exchange, m_room->exchangeFolder);
        QCOMPARE(ConsolePreferences(m_room->appFolder()).exchangeFolder(), chosen);
    }

    // A saved standard is in force at once and at the next start; a broken
    // file gives the default one and says why.
    void judgingStandardKeptAcrossStarts()
    {
        start();
        QCOMPARE(m_settings->judgingStandard().speedCeiling, 300);
        JudgingStandard raised;
        raised.speedCeiling = 400;
        QCOMPARE(m_settings->saveJudgingStandard(raised), QString());
        QCOMPARE(m_settings->judgingStandard().speedCeiling, 400);
        start();
        QCOMPARE(m_settings->judgingStandard().speedCeiling, 400);
        QCOMPARE(m_settings->judgingProblem(), QString());

        QVERIFY(writeFile(m_room->app(u"judging.txt"_qs), "speedCeiling=9\r\n"));
        start();
        QCOMPARE(m_settings->judgingStandard().speedCeiling, 300);
        QVERIFY2(m_settings->judgingProblem().endsWith(u"\n现在使用默认的判定标准。"_qs),
                 qPrintable(m_settings->judgingProblem()));
    }

private:
    void start()
    {
        m_settings.reset();
        m_folders = m_room->folders();
        m_gate = std::make_unique<LoginGate>(m_folders.application, m_folders.exchange);
        m_settings = std::make_unique<ExamSettingsController>(m_folders, *m_gate);
    }

    std::unique_ptr<ConsoleRoom> m_room;
    console::ConsoleFolders m_folders;
    std::unique_ptr<LoginGate> m_gate;
    std::unique_ptr<ExamSettingsController> m_settings;
};

QTEST_MAIN(TestExamSettings)
#include "tst_examsettings.moc"
