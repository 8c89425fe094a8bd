// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's commands without its window, over temporary folders and a
// real results database: publishing and withdrawing, the settings in force,
// the collection, clearing, the class list and the export.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "historyanswers.h"
#include "retakeexaminee.h"
#include "exchange/examdigest.h"
#include "exchange/gbk.h"
#include "smalldisk.h"
#include "sqliteholder.h"
#include "testrecords.h"
#include "workbook.h"

#include "class/classtablemodel.h"
#include "collect/resultcollector.h"
#include "control/consolecontroller.h"
#include "publish/exchangefolder.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

using console::ClassController;
using console::ConsoleController;
using console::ResultClearing;
using SharedAction = ConsoleController::SharedAction;

namespace {

QString upload(const QString &folder, const QString &department, const QString &examNumber,
               const QString &name, float speed, float accuracy = 98.5f, qint16 timePass = 600)
{
    return writeResultFile(folder,
                           sampleRecord(department, examNumber, name, speed, accuracy, timePass));
}

// The rows' results-table columns, "|"-joined, in rank order.
QStringList tableRows(ConsoleController &controller)
{
    QStringList rows;
    for (const ClassViewRow &row : controller.liveClass().live().rows()) {
        if (row.hasRecord)
            rows << QStringList { row.department,
                                  row.examNumber,
                                  row.name,
                                  QString::number(row.speed),
                                  row.accuracyLine,
                                  QString::number(row.timePass),
                                  QString::number(row.recNo) }
                            .join(u'|');
    }
    return rows;
}

// The 状态 cell of the row, as the grid shows it.
QString stateCell(const ClassViewRow &row)
{
    ClassTableModel model;
    model.setRows({ row });
    return model.index(0, ClassTableModel::State).data().toString();
}

}  // namespace

class TestConsoleController : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_room = std::make_unique<ConsoleRoom>(); }

    void cleanup()
    {
        m_controller.reset();
        m_room.reset();
    }

    void publishingAndWithdrawing()
    {
        const QByteArray examText = gbk::encode(u"春眠不觉晓\r\nab\r\n");
        writeFile(m_room->app(u"test.txt"_qs), examText);
        writeFile(m_room->app(u"time.txt"_qs), "30\r\n");
        start();
        QSignalSpy login(m_controller.get(), &ConsoleController::loginChanged);
        // The file changes behind the console's back; the time in force is 30.
        writeFile(m_room->app(u"time.txt"_qs), "45\r\n");
        QCOMPARE(m_controller->readinessProblem(), QString());
        QCOMPARE(m_controller->openLogin(), QString());
        QCOMPARE(readFile(m_room->exchange(u"te.txt"_qs)), examText);
        QCOMPARE(m_room->publishedMinutes(), 30);
        // fb.txt keeps the exam as published, fbid.txt its publications.
        QCOMPARE(QDir(m_room->appFolder()).entryList(QDir::Files),
                 (QStringList { u"fb.txt"_qs, u"fbid.txt"_qs, u"fbte.txt"_qs, u"test.txt"_qs,
                                u"time.txt"_qs }));
        QVERIFY(m_controller->loginOpen());
        QVERIFY(m_controller->collectClock().isActive());
        QCOMPARE(m_controller->collectClock().interval(), 5000);

        // se.dll cannot be deleted (a folder with a file holds its name): login stays open.
        QVERIFY(QFile::remove(m_room->exchange(u"se.dll"_qs)));
        QVERIFY(QDir(m_room->exchangeFolder).mkpath(u"se.dll/x"_qs));
        QVERIFY(m_controller->closeLogin().contains(u"se.dll"_qs));
        QVERIFY(m_controller->loginOpen());
        QVERIFY(!QFile::exists(m_room->exchange(u"te.txt"_qs)));

        // Closing again with both files already gone.
        QVERIFY(QDir(m_room->exchange(u"se.dll"_qs)).removeRecursively());
        QCOMPARE(m_controller->closeLogin(), QString());
        QVERIFY(!m_controller->loginOpen());
        QVERIFY(!m_controller->collectClock().isActive());
        QCOMPARE(login.size(), 3);
        QCOMPARE(login.last().first().toBool(), false);
    }

    void publishesTheSettingsInForce()
    {
        writeFile(m_room->app(u"test.txt"_qs), "old\r\n");
        writeFile(m_room->app(u"time.txt"_qs), "20\r\n");
        start();
        QCOMPARE(m_controller->openLogin(), QString());
        // A console started while se.dll is published finds login open.
        start();
        QVERIFY(m_controller->loginOpen());
        QVERIFY(m_controller->collectClock().isActive());
        QCOMPARE(m_controller->closeLogin(), QString());
        QCOMPARE(QDir(m_room->exchangeFolder).entryList(QDir::Files), QStringList());

        const QString article = m_room->work(u"new.txt"_qs);
        writeFile(article, "new\r\n");
        QCOMPARE(m_controller->settings().chooseArticle(article), QString());
        QCOMPARE(m_controller->settings().saveSettings(u"15"_qs), QString());
        QCOMPARE(m_controller->openLogin(), QString());
        QCOMPARE(readFile(m_room->exchange(u"te.txt"_qs)), QByteArray("new\r\n"));
        QCOMPARE(m_room->publishedMinutes(), 15);
    }

    // The typed text is scored again against the text as published, also
    // after a restart; the record's own figures stay in the row.
    void answerSheetIsScoredAgain_data()
    {
        QTest::addColumn<QString>("forged");
        QTest::addColumn<QString>("doubt");  // empty: none
        QTest::newRow("honest") << QString() << QString();
        QTest::newRow("speed") << u"speed"_qs << u"成绩与答卷不符（成绩为速度9.00，"_qs;
        QTest::newRow("accuracy")
                << u"accuracy"_qs
                << u"正确率90％，打字数9，按答卷核算为速度8.00，正确率88.89％，打字数9，错字1）"_qs;
        QTest::newRow("typed length") << u"typed"_qs << u"成绩与答卷不符"_qs;
        QTest::newRow("other text")
                << u"digest"_qs << u"答卷不是按本场考试的内容和时间（1分钟）答的"_qs;
        QTest::newRow("other time") << u"minutes"_qs << u"（2分钟）"_qs;
    }
    void answerSheetIsScoredAgain()
    {
        QFETCH(QString, forged);
        QFETCH(QString, doubt);
        writeFile(m_room->app(u"test.txt"_qs), gbk::encode(u"春眠不觉晓\r\n处处闻啼鸟\r\n"));
        writeFile(m_room->app(u"time.txt"_qs), "1\r\n");
        start();
        QCOMPARE(m_controller->openLogin(), QString());
        QVERIFY(backdate(m_room->app(u"fb.txt"_qs), 3600));
        // Nine typed, one of them wrong, in a minute: 8 a minute, 88.89 %.
        ResultRecord record = sampleRecord(u"a"_qs, u"1"_qs, u"x"_qs, forged == u"speed" ? 9 : 8,
                                           forged == u"accuracy" ? 90 : 88.89f, 60);
        record.targetLen = 14;
        record.typedLen = forged == u"typed" ? 10 : 9;
        record.progress = ResultProgress { 1, u"s"_qs, ResultProgress::Phase::Finished, 9 };
        record.answerSheet = AnswerSheet {
            forged == u"digest" ? "0" : examDigest(readFile(m_room->exchange(u"te.txt"_qs))),
            qint16(forged == u"minutes" ? 2 : 1), 0, u"春眠不觉小\r\n处处"_qs
        };
        addClientParts(record, m_room->exchangeFolder);
        writeResultFile(m_room->exchangeFolder, record);
        for (int run = 0; run < 2; ++run) {
            if (run)
                start();
            collectByHand(*m_controller);
            const ClassViewRow row = m_controller->liveClass().live().rows().value(0);
            QCOMPARE(row.speed, forged == u"speed" ? 9.0 : 8.0);
            const QString doubts = row.doubts.join(u'\n');
            QVERIFY2(doubt.isEmpty() ? doubts.isEmpty() : doubts.contains(doubt),
                     qPrintable(doubts));
        }
    }

    // Started again, the console shows each row as it left it before its
    // first collection: a doubtful or forged row stays in doubt.
    void rowsReadAsBeforeTheRestart_data()
    {
        QTest::addColumn<bool>("codes");  // a class list of one, with login codes
        QTest::addColumn<float>("speed");  // of 丙's record, 500 typed in 600 s
        QTest::addColumn<bool>("tableRewritten");  // by another console's collection
        QTest::addColumn<QString>("state");  // 丙's 状态 after the restart
        // A part of its doubts before the restart, and after it unless the
        // table was rewritten; empty: none.
        QTest::addColumn<QString>("doubt");
        QTest::newRow("an honest finish") << false << 50.f << false << u"已交卷"_qs << QString();
        QTest::newRow("above the speed ceiling, no codes")
                << false << 301.f << false << u"存疑"_qs << u"速度301超过每分钟300字"_qs;
        QTest::newRow("not signed, codes required")
                << true << 50.f << false << u"存疑"_qs << u"签名不符：可能是伪造的成绩"_qs;
        QTest::newRow("marks of figures the table no longer holds")
                << false << 301.f << true << u"已交卷"_qs << u"速度301超过每分钟300字"_qs;
    }
    void rowsReadAsBeforeTheRestart()
    {
        QFETCH(bool, codes);
        QFETCH(float, speed);
        QFETCH(bool, tableRewritten);
        QFETCH(QString, state);
        QFETCH(QString, doubt);
        QVERIFY(writeFile(m_room->app(u"test.txt"_qs), QByteArray(900, 'a')));
        QVERIFY(writeFile(m_room->app(u"time.txt"_qs), "10\r\n"));
        start();
        if (codes) {
            const QString list = m_room->work(u"名单.csv"_qs);
            QVERIFY(writeFile(list, u"部门,考号,姓名\n一班,03,丙\n"_qs.toUtf8()));
            QCOMPARE(m_controller->liveClass().loadRoster(list), QString());
            m_controller->liveClass().waitForRoster();
            QCOMPARE(m_controller->settings().saveLoginCodesRequired(true), QString());
        }
        QCOMPARE(m_controller->openLogin(), QString());
        QCOMPARE(m_controller->slipCodes().loginCodes().isEmpty(), !codes);
        ResultRecord record = sampleRecord(u"一班"_qs, u"03"_qs, u"丙"_qs, speed, 100);
        record.targetLen = 902;  // the text as published, with its final line break
        record.typedLen = 500;
        if (doubt.isEmpty()) {
            // As a client sends it: its waiting record, then the finish.
            addClientParts(record, m_room->exchangeFolder, QString(500, u'a'));
            ResultRecord waiting = record;
            waiting.progress = ResultProgress { 0, record.progress->sessionId,
                                                ResultProgress::Phase::Waiting, 0 };
            writeResultFile(m_room->exchangeFolder, waiting, 2);
        }
        const QString file = writeResultFile(m_room->exchangeFolder, record);
        // The collection of every few seconds, on its own thread, where a
        // key may be waited for.
        m_controller->collectQuietly();
        m_controller->waitForCollection();
        const ClassViewRow before = m_controller->liveClass().live().rows().value(0);
        QVERIFY(before.hasRecord);
        QVERIFY2(before.doubts.join(u'\n').contains(doubt)
                         && before.doubts.isEmpty() == doubt.isEmpty(),
                 qPrintable(before.doubts.join(u'\n')));
        // Kept in cj.mdb itself, as a copy of that file made now would be.
        QCOMPARE(QFileInfo(m_room->databaseFile + u"-wal"_qs).size(), 0);
        m_controller.reset();

        if (tableRewritten) {
            QVERIFY(QFile::remove(file));
            record.speed = 60;
            writeResultFile(m_room->exchangeFolder, record);
            ResultStore store(m_room->databaseFile);
            QVERIFY(ResultCollector(m_room->exchangeFolder, m_room->appFolder(), store)
                            .collect()
                            .ok());
        }
        start();
        if (codes)
            QCOMPARE(m_controller->liveClass().restoreKeptRoster(), QString());
        const ClassViewRow after = m_controller->liveClass().live().rows().value(0);
        QCOMPARE(stateCell(after), state);
        QCOMPARE(after.speed, tableRewritten ? 60.0 : double(speed));
        if (tableRewritten)
            QCOMPARE(after.doubts, QStringList());
        else
            QVERIFY(after == before);
        // Nobody logged in by a forgery, before and after.
        QCOMPARE(before.counted && after.counted, !codes);
        QCOMPARE(m_controller->liveClass().live().counts().loggedIn, codes ? 0 : 1);
        // Slips to hand out while the exam is open, also after a restart;
        // none once withdrawn, nor after a restart with nothing published.
        QCOMPARE(m_controller->slipCodes().loginCodes().isEmpty(), !codes);
        QCOMPARE(m_controller->closeLogin(), QString());
        QVERIFY(m_controller->slipCodes().loginCodes().isEmpty());
        start();
        QVERIFY(m_controller->slipCodes().loginCodes().isEmpty());
    }

    void judgedAgainstTheExamAsPublished_data()
    {
        QTest::addColumn<int>("published");
        QTest::addColumn<int>("setAfterwards");
        QTest::addColumn<QString>("doubt");
        QTest::newRow("next sitting shorter") << 2 << 1 << QString();
        QTest::newRow("next sitting longer")
                << 1 << 2 << u"用时85秒不在0到60秒之间（按发布时的考试时间1分钟判断）"_qs;
    }

    void judgedAgainstTheExamAsPublished()
    {
        QFETCH(int, published);
        QFETCH(int, setAfterwards);
        QFETCH(QString, doubt);
        writeFile(m_room->app(u"test.txt"_qs), "ab\r\n");
        writeFile(m_room->app(u"time.txt"_qs), QByteArray::number(published) + "\r\n");
        start();
        QCOMPARE(m_controller->openLogin(), QString());
        QCOMPARE(m_controller->closeLogin(), QString());
        const QString next = m_room->work(u"next.txt"_qs);
        writeFile(next, "next\r\n");
        QCOMPARE(m_controller->settings().chooseArticle(next), QString());
        QCOMPARE(m_controller->settings().saveSettings(QString::number(setAfterwards)), QString());
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 50, 98.5f, 85);
        // Judged alike before and after a restart.
        for (int run = 0; run < 2; ++run) {
            if (run)
                start();
            collectByHand(*m_controller);
            const QStringList timeDoubts =
                    m_controller->liveClass().live().rows().value(0).doubts.filter(u"秒不在0到"_qs);
            QCOMPARE(timeDoubts, doubt.isEmpty() ? QStringList() : QStringList { doubt });
        }
    }

    void examFilesGoneWhileLoginIsOpen_data()
    {
        QTest::addColumn<QString>("gone");  // "" for the whole folder, made again
        QTest::addColumn<bool>("nextArticleSaved");  // the text can no longer be published
        QTest::addColumn<QByteArray>("writtenOver");  // written in place of the file; empty deletes
        QTest::newRow("folder made again") << QString() << false << QByteArray();
        QTest::newRow("se.dll deleted") << u"se.dll"_qs << false << QByteArray();
        QTest::newRow("te.txt rewritten") << u"te.txt"_qs << false << QByteArray("aaaa");
        // A console that kept no copy of te.txt publishes the article again,
        // while it is still the one published.
        QTest::newRow("no copy, text changed since") << u"te.txt"_qs << true << QByteArray();
    }

    void examFilesGoneWhileLoginIsOpen()
    {
        QFETCH(QString, gone);
        QFETCH(bool, nextArticleSaved);
        QFETCH(QByteArray, writtenOver);
        writeFile(m_room->app(u"test.txt"_qs), "ab\r\n");
        writeFile(m_room->app(u"time.txt"_qs), "7\r\n");
        start();
        QCOMPARE(m_controller->openLogin(), QString());
        if (nextArticleSaved) {
            writeFile(m_room->app(u"test.txt"_qs), "next\r\n");
            QVERIFY(QFile::remove(m_room->app(u"fbte.txt"_qs)));
            start();
        }
        QVERIFY(gone.isEmpty() ? QDir(m_room->exchangeFolder).removeRecursively()
                                && QDir().mkpath(m_room->exchangeFolder)
                        : writtenOver.isEmpty() ? QFile::remove(m_room->exchange(gone))
                                                : writeFile(m_room->exchange(gone), writtenOver));
        QSignalSpy lost(m_controller.get(), &ConsoleController::loginLost);
        QSignalSpy noted(m_controller.get(), &ConsoleController::gateNoteChanged);
        for (int collection = 0; collection < 2; ++collection) {
            m_controller->collectQuietly();
            m_controller->waitForCollection();
        }
        QCOMPARE(m_controller->loginOpen(), !nextArticleSaved);
        QCOMPARE(lost.size(), nextArticleSaved ? 1 : 0);
        QCOMPARE(m_room->publishedMinutes(), nextArticleSaved ? 0 : 7);
        QCOMPARE(readFile(m_room->exchange(u"te.txt"_qs)), nextArticleSaved ? "" : "ab\r\n");
        // Told once, naming the file.
        QCOMPARE(noted.size(), nextArticleSaved ? 0 : 1);
        QCOMPARE(m_controller->gateNote().contains(u"重新发布"_qs), !nextArticleSaved);
        QCOMPARE(m_controller->gateNote().contains(gone), !nextArticleSaved);
    }

    void questionsBeforeActingBesideAnotherConsole_data()
    {
        QTest::addColumn<bool>("otherConsole");
        QTest::addColumn<bool>("ownExamPublished");
        QTest::newRow("alone, nothing published") << false << false;
        QTest::newRow("alone, own exam published") << false << true;
        QTest::newRow("another console's exam") << true << true;
    }

    void questionsBeforeActingBesideAnotherConsole()
    {
        QFETCH(bool, otherConsole);
        QFETCH(bool, ownExamPublished);
        writeFile(m_room->app(u"test.txt"_qs),
                  gbk::encode(u"春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n"));
        writeFile(m_room->app(u"time.txt"_qs), "20\r\n");
        if (ownExamPublished)
            QVERIFY(LoginGate(m_room->appFolder(), m_room->exchangeFolder).open(30).isEmpty());
        if (otherConsole)
            ConsoleMarker(m_room->exchangeFolder, { u"教师机2"_qs, 4242 })
                    .leave(QDateTime::currentDateTimeUtc());
        start();
        const QString withdraw = m_controller->withdrawQuestion();
        QCOMPARE(!withdraw.isEmpty(), ownExamPublished && !otherConsole);
        QVERIFY2(withdraw.isEmpty()
                         || (withdraw.contains(u"“春眠不觉晓，处处闻啼鸟。 夜来风雨声，花……”"_qs)
                             && withdraw.contains(u"30分钟"_qs)),
                 qPrintable(withdraw));
        for (const auto &[action, name] : { std::pair { SharedAction::OpenLogin, u"开放登录"_qs },
                                            { SharedAction::CloseLogin, u"禁止登录"_qs },
                                            { SharedAction::Clear, u"清空"_qs } }) {
            const QString warning = m_controller->otherConsoleWarning(action);
            QCOMPARE(warning.contains(u"教师机2"_qs), otherConsole);
            QCOMPARE(warning.contains(u"仍要"_qs + name), otherConsole);
        }
    }

    void collectingRanksBySpeed()
    {
        start();
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->resultCount(), 0);
        QCOMPARE(tableRows(*m_controller), QStringList());

        // Read in name order: c.zip, 一班-01-张三, 一班-1-张三 (the same examinee
        // again under another number), 二-班-0-2-李-四.
        upload(m_room->exchangeFolder, u"一班"_qs, u"01"_qs, u"张三"_qs, 56.1f, 98.25f, 300);
        upload(m_room->exchangeFolder, u"一班"_qs, u"1"_qs, u"张三"_qs, 9);
        upload(m_room->exchangeFolder, u"二-班"_qs, u"0-2"_qs, u"李-四"_qs, 80.5f);
        // Text lines lose their first and last characters with or without quotes;
        // line 4 is kept as written.
        writeScrambled(m_room->exchange(u"c.zip"_qs),
                       gbk::encode(u"40\r\n98\r\n12\r\n "
                                   u"99.50\r\n7\r\n1\r\n1\r\n[丙班]\r\nx03y\r\n-王五-\r\n"));
        QSignalSpy rows(&m_controller->liveClass(), &ClassController::rowsChanged);
        QSignalSpy counts(&m_controller->liveClass(), &ClassController::countsChanged);
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(counts.size(), 1);
        QCOMPARE(m_controller->resultCount(), 4);
        const QStringList expected { u"二-班|0-2|李-四|80.5|98.5|600|4"_qs,
                                     u"一班|01|张三|56.1|98.25|300|2"_qs,
                                     u"丙班|03|王五|12| 99.50|7|1"_qs,
                                     u"一班|1|张三|9|98.5|600|3"_qs };
        QCOMPARE(tableRows(*m_controller), expected);
        QVERIFY(QFile::exists(m_room->exchange(u"c.zip"_qs)));
        QVERIFY(QFile::exists(m_room->app(u"cj.zip"_qs)));

        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(tableRows(*m_controller), expected);
        // The table outlives the console.
        start();
        QCOMPARE(tableRows(*m_controller), expected);
    }

    void unreadableFilesAreSkippedAndReported()
    {
        start();
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"good"_qs, 50);
        const QByteArray numbers = "40\r\n98\r\n12\r\n1\r\n1\r\n1\r\n1\r\n";
        writeScrambled(m_room->exchange(u"short.zip"_qs), numbers.left(12));
        writeScrambled(m_room->exchange(u"nan.zip"_qs),
                       QByteArray(numbers).replace("12", "fast") + "\"a\"\r\n\"b\"\r\n\"c\"\r\n");
        writeScrambled(m_room->exchange(u"name.zip"_qs), numbers + "\"a\"\r\n\"b\"\r\nc\r\n");
        // Still being uploaded: the last line is cut off before its closing quote.
        writeScrambled(m_room->exchange(u"partial.zip"_qs), numbers + "\"a\"\r\n\"b\"\r\n\"cd");
        QVERIFY(QDir(m_room->exchangeFolder).mkdir(u"folder.zip"_qs));
        const QString message = collectByHand(*m_controller);
        QCOMPARE(m_controller->resultCount(), 1);
        QVERIFY(tableRows(*m_controller).value(0).startsWith(u"a|1|good|"_qs));
        QVERIFY(message.contains(u"5"_qs));
        for (const char *name : { "short.zip", "nan.zip", "name.zip", "partial.zip", "folder.zip" })
            QVERIFY2(message.contains(QLatin1String(name)), name);
    }

    void unwritableScratchCopyIsOnlyANote()
    {
        // cj.zip cannot be put in place: a folder with a file holds its name.
        QVERIFY(QDir(m_room->appFolder()).mkpath(u"cj.zip/x"_qs));
        start();
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 50);
        QVERIFY(collectByHand(*m_controller).contains(u"cj.zip"_qs));
        QCOMPARE(m_controller->resultCount(), 1);
    }

    void failedCollectionKeepsPreviousTable()
    {
        {
            // The database refuses the third row of any collection.
            ResultStore store(m_room->work(u"cj.mdb"_qs));
            QVERIFY(QSqlQuery(store.database())
                            .exec(u"CREATE TRIGGER refuse BEFORE INSERT ON tabCJ WHEN NEW.recno = "
                                  u"3 BEGIN SELECT RAISE(ABORT, 'disk full'); END"_qs));
        }
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"old"_qs, 50);
        start();
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->resultCount(), 1);
        for (const QString &number : { u"2"_qs, u"3"_qs })
            upload(m_room->exchangeFolder, u"b"_qs, number, u"new"_qs, 60);
        QVERIFY(collectByHand(*m_controller).contains(u"disk full"_qs));
        QCOMPARE(m_controller->resultCount(), 1);
        QVERIFY(tableRows(*m_controller).value(0).startsWith(u"a|1|old|"_qs));
    }

    void rowsOutliveTheirFiles()
    {
        start();
        const QString gone = upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"gone"_qs, 60);
        const QString cut = upload(m_room->exchangeFolder, u"a"_qs, u"2"_qs, u"cut"_qs, 50);
        collectByHand(*m_controller);
        // One file deleted, one being uploaded again (cut short): both rows
        // keep their figures, only the first is marked.
        QVERIFY(QFile::remove(gone));
        writeFile(cut, readFile(cut).left(20));
        collectByHand(*m_controller);
        const auto row = [this](int i) {
            const ClassViewRow &row = m_controller->liveClass().live().rows().at(i);
            return QStringList { row.name, QString::number(row.speed) } + row.doubts;
        };
        QCOMPARE(row(0), (QStringList { u"gone"_qs, u"60"_qs, u"成绩文件已被删除"_qs }));
        QCOMPARE(row(1), (QStringList { u"cut"_qs, u"50"_qs }));
        // The folder emptied and the console restarted: still there; only clearing removes them.
        QCOMPARE(removeExchangeFiles(m_room->exchangeFolder), QStringList());
        start();
        collectByHand(*m_controller);
        QCOMPARE(row(1), (QStringList { u"cut"_qs, u"50"_qs, u"成绩文件已被删除"_qs }));
        QCOMPARE(m_controller->clearing().clear(), QStringList());
        collectByHand(*m_controller);
        QCOMPARE(m_controller->resultCount(), 0);
    }

    // 获取成绩 leaves the console's thread free: the event loop turns before
    // what the files hold is told, once, also after the clock's collection.
    void collectingByHandLeavesTheThreadFree_data()
    {
        QTest::addColumn<bool>("clockFirst");
        QTest::newRow("alone") << false;
        QTest::newRow("after the clock's collection") << true;
    }

    void collectingByHandLeavesTheThreadFree()
    {
        QFETCH(bool, clockFirst);
        start();
        for (int i = 0; i < 200; ++i)
            upload(m_room->exchangeFolder, u"a"_qs, QString::number(i), u"x"_qs, 50);
        QSignalSpy rows(&m_controller->liveClass(), &ClassController::rowsChanged);
        QSignalSpy told(m_controller.get(), &ConsoleController::collectedByHand);
        bool toldBeforeTurn = true, underWayAtTurn = false;
        QTimer::singleShot(0, this, [&] {
            toldBeforeTurn = !told.isEmpty();
            underWayAtTurn = m_controller->collectingByHand();
        });
        if (clockFirst)
            m_controller->collectQuietly();
        m_controller->collectResults();
        m_controller->collectResults();  // joins the one under way
        QVERIFY(told.wait(60'000));
        QVERIFY(!toldBeforeTurn);
        QVERIFY(underWayAtTurn);
        m_controller->waitForCollection();
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first().first().toString(), QString());
        QCOMPARE(rows.size(), clockFirst ? 2 : 1);
        QCOMPARE(m_controller->resultCount(), 200);
        QVERIFY(!m_controller->collectingByHand());
    }

    // 重考 leaves the console's thread free: behind a collection under way
    // the set-aside waits for it (one writer of the ledger at a time), the
    // event loop turns, and the examiner is told once the rows show it.
    // Asked twice, the second finds nothing left to set aside.
    void retakeLeavesTheThreadFree_data()
    {
        QTest::addColumn<bool>("clockFirst");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("alone") << false << QStringList { QString() };
        QTest::newRow("behind the clock's collection") << true << QStringList { QString() };
        QTest::newRow("asked twice")
                << true << QStringList { QString(), u"一班 01 甲还没有交卷，不需要重考。"_qs };
    }

    void retakeLeavesTheThreadFree()
    {
        QFETCH(bool, clockFirst);
        QFETCH(QStringList, told);
        start();
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs, 50, 98, 600);
        record.progress = ResultProgress { 3, u"s1"_qs, ResultProgress::Phase::Finished, 880 };
        record.answerSheet = AnswerSheet { "d", 10, 0, QString() };
        const QString finished = writeResultFile(m_room->exchangeFolder, record);
        QCOMPARE(collectByHand(*m_controller), QString());
        const ClassViewRow row = m_controller->liveClass().live().rows().first();
        QVERIFY(m_controller->retakeOffer(row).question);
        for (int i = 0; i < 200; ++i)
            upload(m_room->exchangeFolder, u"a"_qs, QString::number(i), u"x"_qs, 50);
        QSignalSpy done(m_controller.get(), &ConsoleController::retakeDone);
        bool toldBeforeTurn = true, pendingAtTurn = false;
        QTimer::singleShot(0, this, [&] {
            toldBeforeTurn = !done.isEmpty();
            pendingAtTurn = m_controller->retakePending();
        });
        if (clockFirst)
            m_controller->collectQuietly();
        for (qsizetype i = 0; i < told.size(); ++i)
            m_controller->allowRetake(row);
        if (clockFirst)
            QVERIFY(QFile::exists(finished));
        // The offer reads beside the collection under way.
        QVERIFY(m_controller->retakeOffer(row).question || !clockFirst);
        QVERIFY(done.wait(60'000));
        QVERIFY(!toldBeforeTurn);
        QVERIFY(pendingAtTurn);
        m_controller->waitForCollection();
        QVERIFY(!m_controller->retakePending());
        QStringList toldTexts;
        for (const QList<QVariant> &signal : done)
            toldTexts << signal.first().toString();
        QCOMPARE(toldTexts, told);
        QVERIFY(!QFile::exists(finished));
        const QVector<ClassViewRow> &rows = m_controller->liveClass().live().rows();
        const auto shown = std::find_if(rows.begin(), rows.end(),
                                        [](const ClassViewRow &r) { return r.name == u"甲"_qs; });
        QVERIFY(shown != rows.end());
        // Until the examinee logs in again, the row names what was set aside.
        QVERIFY(shown->doubts.join(u'；').contains(u"重考前的成绩"_qs));
        QCOMPARE(m_controller->resultCount(), 201);
        // Nothing is left to set aside, and a later retake is told so.
        QCOMPARE(retakeExaminee(*m_controller, row), u"一班 01 甲还没有交卷，不需要重考。"_qs);
    }

    void quietCollectionIsShownWhenIn()
    {
        start();
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        QSignalSpy rows(&m_controller->liveClass(), &ClassController::rowsChanged);
        QSignalSpy failed(m_controller.get(), &ConsoleController::quietCollectionFailed);
        m_controller->collectQuietly();
        m_controller->waitForCollection();
        QVERIFY(!m_controller->collectionUnderWay());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(m_controller->resultCount(), 1);
        // A failure of the whole collection is told as such.
        QVERIFY(QDir(m_room->exchangeFolder).removeRecursively());
        m_controller->collectQuietly();
        m_controller->waitForCollection();
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed.first().first().toString().contains(
                QDir::toNativeSeparators(m_room->exchangeFolder)));
        QCOMPARE(m_controller->resultCount(), 1);
    }

    void clearingEmptiesTableAndFolder()
    {
        start();
        // Nothing to delete, nothing to ask.
        QCOMPARE(m_controller->clearing().question().question, std::nullopt);
        QCOMPARE(m_controller->clearing().question().problem, QString());
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        writeFile(m_room->exchange(u"te.txt"_qs), "t");
        writeFile(m_room->exchange(u"se.dll"_qs), "s");
        writeFile(m_room->exchange(u".hidden"_qs), "h");
        // Collected, so cleared with the others.
        writeScrambled(m_room->exchange(u".dot.zip"_qs),
                       sampleRecord(u"b"_qs, u"2"_qs, u"y"_qs, 9).toRecordLines());
        QVERIFY(QDir(m_room->exchangeFolder).mkpath(u"sub/keep"_qs));
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->resultCount(), 2);
        const QString question = m_controller->clearing().question().question.value_or(QString());
        QVERIFY2(question.contains(u"2条成绩"_qs) && question.contains(u"4个文件"_qs)
                         && question.contains(QDir::toNativeSeparators(m_room->exchangeFolder)),
                 qPrintable(question));
        QCOMPARE(m_controller->clearing().clear(), QStringList());
        QCOMPARE(m_controller->resultCount(), 0);
        QCOMPARE(tableRows(*m_controller), QStringList());
        QCOMPARE(QDir(m_room->exchangeFolder)
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList { u".hidden"_qs, u"sub"_qs }));
    }

    void clearingKeepsTheExamOnce_data()
    {
        // The file another program holds while the first clear runs.
        QTest::addColumn<QString>("held");
        QTest::newRow("archive held: nothing kept, nothing cleared") << u"cjda.db"_qs;
        QTest::newRow("table held: kept, not cleared") << u"cj.mdb"_qs;
    }

    void clearingKeepsTheExamOnce()
    {
        QFETCH(QString, held);
        writeFile(m_room->app(u"test.txt"_qs), "ab\r\n");
        writeFile(m_room->app(u"time.txt"_qs), "10\r\n");
        start();
        QCOMPARE(m_controller->archiveProblem(), QString());
        QCOMPARE(m_controller->openLogin(), QString());
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        upload(m_room->exchangeFolder, u"a"_qs, u"2"_qs, u"y"_qs, 30);
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->closeLogin(), QString());
        {
            SqliteHolder other(m_room->work(held));
            QVERIFY(other.run(u"BEGIN IMMEDIATE"_qs));
            QCOMPARE(m_controller->clearing().clear().size(), 1);
            QCOMPARE(m_controller->resultCount(), 2);
            // Rows that stay keep their files.
            QCOMPARE(QDir(m_room->exchangeFolder).entryList({ u"*.zip"_qs }, QDir::Files).size(),
                     2);
        }
        start();  // as after a crash
        QCOMPARE(m_controller->clearing().clear(), QStringList());
        QCOMPARE(m_controller->resultCount(), 0);
        const auto exams =
                listedExams(m_controller->history()).value.value_or(console::ExamList()).exams;
        QCOMPARE(exams.size(), 1);
        QCOMPARE(exams.first().examinees, 2);
        const auto exam = keptExam(m_controller->history(), exams.first().id).value;
        QVERIFY(exam && exam->sitting.openedAt.isValid() && exam->sitting.closedAt.isValid());
        QCOMPARE(exam->sitting.articleText, u"ab\r\n"_qs);
        QCOMPARE(exam->sitting.examMinutes, 10);
        QCOMPARE(exam->rows.first().name, u"y"_qs);
    }

    void killAtEveryClearingStep_data()
    {
        QTest::addColumn<int>("stepsDone");  // keep the exam, empty the table, delete the files
        QTest::addColumn<int>("filesGone");  // deleted before the kill
        QTest::newRow("before anything") << 0 << 0;
        QTest::newRow("after keeping") << 1 << 0;
        QTest::newRow("after the table") << 2 << 0;
        QTest::newRow("during the deletion") << 2 << 1;
        QTest::newRow("after the files") << 3 << 3;
    }

    void killAtEveryClearingStep()
    {
        QFETCH(int, stepsDone);
        QFETCH(int, filesGone);
        const QStringList files = sitExam(3);
        const auto steps = m_controller->clearing().steps();
        for (int step = 0; step < stepsDone; ++step)
            QCOMPARE(steps.at(size_t(step))(), QString());
        for (int gone = 0; gone < filesGone; ++gone)
            QFile::remove(files.at(gone));
        // Files go only once their rows have.
        QCOMPARE(m_controller->resultCount(), stepsDone < 2 ? 3 : 0);
        start();  // killed and started again; the rows come back from the files left
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->resultCount(), 3 - filesGone);
        QCOMPARE(m_controller->clearing().clear(), QStringList());
        clearedWithOneCopyOf(3);
    }

    void fullOrReadOnlyDiskDeletesNothing_data()
    {
        QTest::addColumn<bool>("readOnly");  // else full
        QTest::addColumn<QString>("named");
        QTest::newRow("full") << false << u"磁盘已满"_qs;
        QTest::newRow("read-only") << true << u"磁盘只读"_qs;
    }

    void fullOrReadOnlyDiskDeletesNothing()
    {
        QFETCH(bool, readOnly);
        QFETCH(QString, named);
        SmallDisk disk(1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.problem()));
        m_room->databaseFile = disk.filePath(u"cj.mdb"_qs);
        sitExam(5);
        m_controller.reset();
        QVERIFY(readOnly ? disk.setReadOnly(true) : disk.fill());
        start();
        const QString archive = m_controller->archiveProblem();
        QVERIFY2(archive.contains(named) && !archive.contains(u"已损坏"_qs), qPrintable(archive));
        // A table that cannot be read is told, not asked about as 0 results.
        const ResultClearing::Question asked = m_controller->clearing().question();
        QVERIFY2(asked.problem.contains(named), qPrintable(asked.problem));
        QCOMPARE(asked.question, std::nullopt);
        const QStringList problems = m_controller->clearing().clear();
        QVERIFY2(problems.size() == 1 && problems.first().contains(named),
                 qPrintable(problems.join(u'|')));
        QCOMPARE(QDir(m_room->exchangeFolder).entryList({ u"*.zip"_qs }).size(), 5);
        // Space again: the clear goes through.
        m_controller.reset();
        QVERIFY(readOnly ? disk.setReadOnly(false) : QFile::remove(disk.filePath(u".filler"_qs)));
        start();
        QCOMPARE(m_controller->clearing().clear(), QStringList());
        clearedWithOneCopyOf(5);
    }

    void undeletableFileIsReported()
    {
        writeFile(m_room->exchange(u"a.zip"_qs), "x");
        writeFile(m_room->exchange(u"b.zip"_qs), "x");
        // An immutable file cannot be deleted, not even by root; the next one still goes.
        const auto chattr = [this](const char *flag) {
            return QProcess::execute(u"chattr"_qs,
                                     { QLatin1String(flag), m_room->exchange(u"a.zip"_qs) })
                    == 0;
        };
        if (!chattr("+i"))
            QSKIP("chattr +i is not available here");
        const auto undo = qScopeGuard([&] { chattr("-i"); });
        start();
        const QStringList problems = m_controller->clearing().clear();
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().contains(u"a.zip"_qs));
        QCOMPARE(QDir(m_room->exchangeFolder).entryList(QDir::Files), QStringList { u"a.zip"_qs });
    }

    void withoutFolderCollectKeepsAndClearEmpties()
    {
        m_room->exchangeFolder = m_room->work(u"gone"_qs);
        start();
        QDir().mkpath(m_room->exchangeFolder);
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        QCOMPARE(collectByHand(*m_controller), QString());
        QCOMPARE(m_controller->resultCount(), 1);
        QVERIFY(QDir(m_room->exchangeFolder).removeRecursively());
        const QString folderMessage = exchangeFolderMissingMessage(m_room->exchangeFolder);
        QCOMPARE(collectByHand(*m_controller), folderMessage);
        QCOMPARE(m_controller->resultCount(), 1);
        QCOMPARE(m_controller->clearing().clear(), QStringList { folderMessage });
        QCOMPARE(m_controller->resultCount(), 0);
        QCOMPARE(tableRows(*m_controller), QStringList());
    }

    void clearingNeverEmptiesTheConsolesOwnFolder()
    {
        // A mistaken KESTRIX_EXCHANGE_DIR pointing at the application folder.
        m_room->exchangeFolder = m_room->appFolder();
        writeFile(m_room->app(u"time.txt"_qs), "20\r\n");
        start();
        const QStringList problems = m_controller->clearing().clear();
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().startsWith(u"交换文件夹就是本程序的文件夹"_qs));
        QVERIFY(QFile::exists(m_room->app(u"time.txt"_qs)));
    }

    void rosterAddsTheAbsent()
    {
        start();
        QSignalSpy told(&m_controller->liveClass(), &ClassController::rosterLoaded);
        QCOMPARE(m_controller->liveClass().loadRoster(QString()), QString());  // a cancelled dialog
        QCOMPARE(m_controller->liveClass().loadRoster(m_room->work(u"无.csv"_qs)), QString());
        m_controller->liveClass().waitForRoster();
        QVERIFY(!told.takeFirst().first().toString().isEmpty());
        QVERIFY(!m_controller->liveClass().live().roster().has_value());
        upload(m_room->exchangeFolder, u"一班"_qs, u"01"_qs, u"甲"_qs, 20);
        QCOMPARE(collectByHand(*m_controller), QString());
        const QString roster = m_room->work(u"名单.csv"_qs);
        writeFile(roster, u"部门,考号,姓名\n一班,01,甲\n一班,02,乙\n"_qs.toUtf8());
        QSignalSpy counts(&m_controller->liveClass(), &ClassController::countsChanged);
        QCOMPARE(m_controller->liveClass().loadRoster(roster), QString());
        m_controller->liveClass().waitForRoster();
        QCOMPARE(told.takeFirst().first().toString(), QString());
        QVERIFY(m_controller->liveClass().live().roster().has_value());
        QCOMPARE(counts.size(), 2);  // loading, loaded
        QCOMPARE(m_controller->liveClass().live().counts().people.absent, 1);
        QCOMPARE(m_controller->liveClass().live().rows().size(), 2);
        QCOMPARE(m_controller->liveClass().live().rows().last().name, u"乙"_qs);
        QVERIFY(!m_controller->liveClass().live().rows().last().hasRecord);
    }

    void exportedWorkbookReadsBack()
    {
        start();
        // An empty table is said so, and no workbook is made.
        QCOMPARE(m_controller->exportResults().problem, u"成绩表中没有成绩，没有导出。"_qs);
        QVERIFY(!QFile::exists(m_room->work(u"文档/成绩导出"_qs)));
        upload(m_room->exchangeFolder, u"一班"_qs, u"007"_qs, u"张三"_qs, 56.1f, 98.25f, 300);
        upload(m_room->exchangeFolder, u"计算机科学与技术2班"_qs, u"008"_qs, u"李四"_qs, 80, 100,
               600);
        QCOMPARE(collectByHand(*m_controller), QString());
        const WorkbookExport first = m_controller->exportResults();
        const WorkbookExport second = m_controller->exportResults();
        QCOMPARE(first.problem, QString());
        QVERIFY(first.workbook != second.workbook);
        // Made on the first export; each message names its workbook.
        QCOMPARE(QFileInfo(first.workbook).absolutePath(), m_room->work(u"文档/成绩导出"_qs));
        for (const auto &exported : { first, second })
            QVERIFY(exported.message.contains(QDir::toNativeSeparators(exported.workbook)));
        // Titled by the exam: held now, its minutes, its classes.
        const QStringList rows = workbookRows(first.workbook);
        const QRegularExpression title(u"^str:打字考试成绩表　\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"
                                       "　20分钟　计算机科学与技术2班、一班\\|{10}$"_qs);
        QVERIFY2(title.match(rows.value(0)).hasMatch(), qPrintable(rows.value(0)));
        QCOMPARE(
                rows.mid(1),
                (QStringList {
                        u"str:部门|str:考号|str:姓名|str:打字速度（字/分钟）|str:正确率（%）|str:打字时间（秒）|str:错字数|str:等级|str:得分|str:状态|str:名次"_qs,
                        u"str:计算机科学与技术2班|str:008|str:李四|int:80|int:100|int:600||str:优秀|int:95|str:已交卷|int:1"_qs,
                        u"str:一班|str:007|str:张三|float:56.1|float:98.25|int:300||str:良好|int:85|str:已交卷|int:2"_qs }));
        // Each column as wide as its widest heading or value (CJK signs count
        // double) and 2, as the file stores it (0.71 more).
        QCOMPARE(workbookLayout(first.workbook).join(u' '),
                 u"sheet:成绩 merged:A1:K1 bold:A1 width:A=21.7109 width:B=6.71094 "
                 u"width:C=6.71094 width:D=21.7109 width:E=13.7109 width:F=16.7109 "
                 u"width:G=8.71094 width:H=6.71094 width:I=6.71094 width:J=8.71094 "
                 u"width:K=6.71094"_qs);
    }

private:
    void start()
    {
        m_controller.reset();
        m_controller = std::make_unique<ConsoleController>(m_room->folders());
    }

    // 允许登录, `results` collected, 禁止登录; their files.
    QStringList sitExam(int results)
    {
        writeFile(m_room->app(u"test.txt"_qs), "ab\r\n");
        writeFile(m_room->app(u"time.txt"_qs), "10\r\n");
        start();
        QStringList files;
        if (m_controller->openLogin().isEmpty()) {
            for (int i = 0; i < results; ++i)
                files << upload(m_room->exchangeFolder, u"一班"_qs, QString::number(i), u"考生"_qs,
                                30);
        }
        collectByHand(*m_controller);
        m_controller->closeLogin();
        return files;
    }

    // A clear went through: table and folder empty, the exam kept once with every result.
    void clearedWithOneCopyOf(int results)
    {
        QCOMPARE(m_controller->resultCount(), 0);
        QCOMPARE(QDir(m_room->exchangeFolder).entryList({ u"*.zip"_qs }), QStringList());
        const auto exams =
                listedExams(m_controller->history()).value.value_or(console::ExamList()).exams;
        QCOMPARE(exams.size(), 1);
        QCOMPARE(exams.first().examinees, results);
    }

    std::unique_ptr<ConsoleRoom> m_room;
    std::unique_ptr<ConsoleController> m_controller;
};

QTEST_MAIN(TestConsoleController)
#include "tst_consolecontroller.moc"
