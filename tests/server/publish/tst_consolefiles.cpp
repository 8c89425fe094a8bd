// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's files without its window: articles as teachers save them,
// writes into a full disk, the note of another console, the exported
// workbook and the results database under another program's lock.
#include "publish/consolesettings.h"
#include "publish/examarticle.h"
#include "publish/exchangefolder.h"
#include "exchange/examlimits.h"
#include "exchange/gbk.h"
#include "publish/logingate.h"
#include "export/resultexporter.h"
#include "collect/resultstore.h"
#include "smalldisk.h"
#include "testfiles.h"
#include "workbook.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

}  // namespace

class TestConsoleFiles : public QObject
{
    Q_OBJECT

private slots:
    void articleBecomesGbkCrLf_data()
    {
        QTest::addColumn<QByteArray>("article");
        QTest::addColumn<QString>("text");  // as saved; empty when refused
        QTest::addColumn<QString>("problem");  // part of the refusal
        const QString saved = u"ab\r\n中文\r\n"_qs;
        QTest::newRow("GBK, CR LF") << gbk::encode(u"ab\r\n中文\r\n") << saved << QString();
        QTest::newRow("GBK, LF only") << gbk::encode(u"ab\n中文\n") << saved << QString();
        QTest::newRow("UTF-8, lone CR, no last break")
                << QString(u"ab\r中文"_qs).toUtf8() << saved << QString();
        QTest::newRow("UTF-8 with BOM, mixed breaks")
                << kBom + u"ab\r\n中文\n"_qs.toUtf8() << saved << QString();
        QTest::newRow("blank line kept")
                << gbk::encode(u"ab\n\n中文") << u"ab\r\n\r\n中文\r\n"_qs << QString();
        // 联通 in GBK is C1AA CDA8: UTF-8 only to a reader that takes overlong forms.
        QTest::newRow("GBK that a loose reader takes for UTF-8")
                << gbk::encode(u"联通\r\n") << u"联通\r\n"_qs << QString();
        QTest::newRow("signs outside GBK named")
                << u"ab😀c한😀\n"_qs.toUtf8() << QString()
                << u"2种字符无法保存为考试内容（GBK编码）：“😀”、“한”"_qs;
        QTest::newRow("empty") << QByteArray() << QString() << u"空"_qs;
        QTest::newRow("neither encoding")
                << QByteArray("ab\xff\xfe\xff") << QString() << u"编码"_qs;
        QTest::newRow("too long") << QByteArray(examlimits::kLongestExamTextCharacters, 'a')
                                  << QString() << u"超过"_qs;
    }

    void articleBecomesGbkCrLf()
    {
        QFETCH(QByteArray, article);
        QFETCH(QString, text);
        QFETCH(QString, problem);
        const examarticle::Reading chosen = examarticle::fromBytes(article);
        QCOMPARE(chosen.text.value_or(QString()), text);
        QVERIFY2(chosen.problem.contains(problem), qPrintable(chosen.problem));
        if (text.isEmpty())
            return;
        QCOMPARE(chosen.examBytes, gbk::encode(text));
        // Reopened from test.txt, the count is the same.
        QCOMPARE(examarticle::fromBytes(chosen.examBytes, examarticle::Source::ExamFile).text,
                 chosen.text);
    }

    // exchange.txt as an earlier console wrote it or an editor saved it; a broken
    // one is named, not silently replaced by the default folder.
    void exchangeSettingIsReadOrNamed_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // empty: no exchange.txt
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("problem");  // part of it; empty: none
        const QString chinese = u"D:/打字考试/交换"_qs;
        QTest::newRow("none") << QByteArray() << QString() << QString();
        QTest::newRow("GBK, CR LF") << gbk::encode(u"D:/打字考试/交换\r\n") << chinese << QString();
        QTest::newRow("UTF-8, LF") << u"D:/打字考试/交换\n"_qs.toUtf8() << chinese << QString();
        QTest::newRow("UTF-8 with BOM, no break")
                << kBom + u"D:/打字考试/交换"_qs.toUtf8() << chinese << QString();
        QTest::newRow("neither encoding")
                << QByteArray("D:\\\xff\xfe\xff\r\n") << QString() << u"既不是UTF-8也不是GBK"_qs;
        QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, 'a') << QString()
                               << u"有10485760字节"_qs;
        QTest::newRow("control characters")
                << QByteArray("D:\\a\tb\r\n") << QString() << u"控制字符"_qs;
    }

    void exchangeSettingIsReadOrNamed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, folder);
        QFETCH(QString, problem);
        QTemporaryDir app;
        if (!bytes.isEmpty())
            QVERIFY(writeFile(app.filePath(u"exchange.txt"_qs), bytes));
        const ConsoleSettings::StoredFolder stored =
                ConsoleSettings(app.path()).exchangeFolderSetting();
        QCOMPARE(stored.folder, folder);
        QCOMPARE(stored.problem.isEmpty(), problem.isEmpty());
        QVERIFY2(stored.problem.contains(problem), qPrintable(stored.problem));
    }

    void fullDiskKeepsWhatWasThere_data()
    {
        QTest::addColumn<bool>("publishing");  // else saving the settings
        QTest::newRow("保存设置: test.txt") << false;
        QTest::newRow("允许登录: te.txt") << true;
    }

    void fullDiskKeepsWhatWasThere()
    {
        QFETCH(bool, publishing);
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.problem()));
        QTemporaryDir other;
        // The full disk is the application folder when saving, the exchange folder when publishing.
        const QString app = publishing ? other.path() : disk.path();
        const QString exchange = publishing ? disk.path() : other.path();
        const QByteArray oldText = gbk::encode(u"旧的考试内容\r\n");
        QVERIFY(writeFile(QDir(app).filePath(u"test.txt"_qs), oldText));
        QVERIFY(writeFile(QDir(app).filePath(u"time.txt"_qs), "20\r\n"));
        const QString article = other.filePath(u"article.txt"_qs);
        QVERIFY(writeFile(article, QByteArray(20000, 'a')));
        QVERIFY(disk.fill());

        QString message;
        if (publishing) {
            LoginGate gate(app, exchange);
            message = gate.open(20);
            QVERIFY(!gate.isOpen());
            QVERIFY(!QFile::exists(QDir(exchange).filePath(u"se.dll"_qs)));
            QVERIFY(message.contains(
                    QDir::toNativeSeparators(QDir(exchange).filePath(u"te.txt"_qs))));
        } else {
            const ConsoleSettings::SaveOutcome outcome =
                    ConsoleSettings(app).save(article, u"30"_qs);
            QVERIFY(!outcome.examMinutes);
            message = outcome.problem;
            QVERIFY(message.contains(u"没有保存设置"_qs));
            QVERIFY(message.contains(QDir::toNativeSeparators(QDir(app).filePath(u"test.txt"_qs))));
        }
        QVERIFY2(!message.isEmpty(), "a full disk was reported as success");
        QCOMPARE(readFile(QDir(app).filePath(u"test.txt"_qs)), oldText);
        QCOMPARE(readFile(QDir(app).filePath(u"time.txt"_qs)), QByteArray("20\r\n"));
    }

    void anotherConsolesNote_data()
    {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<qint64>("process");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("counts");
        const qint64 self = QCoreApplication::applicationPid();
        QTest::newRow("this console's own") << u"here"_qs << self << 60 << false;
        QTest::newRow("another machine, an hour ago") << u"教师机2"_qs << self << 3600 << true;
        QTest::newRow("another machine, 13 hours ago")
                << u"教师机2"_qs << self << 13 * 3600 << false;
#ifndef Q_OS_WIN
        // The parent (ctest) is a running process other than this one;
        // Windows has no getppid.
        QTest::newRow("this machine, another running console")
                << u"here"_qs << qint64(::getppid()) << 60 << true;
#endif
        QTest::newRow("this machine, a console that has ended")
                << u"here"_qs << qint64(0x3FFFFFFF) << 60 << false;
    }

    void anotherConsolesNote()
    {
        QFETCH(QString, machine);
        QFETCH(qint64, process);
        QFETCH(int, ageSeconds);
        QFETCH(bool, counts);
        QTemporaryDir exchange;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        ConsoleMarker(exchange.path(), { machine, process }).leave(now.addSecs(-ageSeconds));
        const ConsoleMarker self(exchange.path(),
                                 { u"here"_qs, QCoreApplication::applicationPid() });
        const auto note = self.otherConsole(now);
        QCOMPARE(note.has_value(), counts);
        if (counts)
            QVERIFY(ConsoleMarker::warning(*note, u"清空"_qs).contains(machine));
    }

    void exportNeverFailsForOneRow()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"r.xlsx"_qs);
        const QString longName = QString(40000, u'长');
        const QVector<ExportedRow> rows {
            { { 1, u"一班"_qs, u"01"_qs, longName, 50, u"98.5"_qs, 600 }, false, {}, {}, {}, {} },
            { { 2, u"一班"_qs, u"0"_qs + QChar(0) + u"2"_qs, u"李四"_qs, 40, u"abc"_qs, 600 },
              false,
              {},
              {},
              {},
              {} },
        };
        const ResultExporter::Outcome outcome = ResultExporter::write(rows, path);
        QVERIFY2(outcome.problem.isEmpty(), qPrintable(outcome.problem));
        QCOMPARE(outcome.changed.size(), 2);
        QVERIFY(outcome.changed[0].startsWith(u"第3行 姓名：40000个字符截短为32767个"_qs));
        QVERIFY(outcome.changed[1].startsWith(u"第4行 考号：控制字符"_qs));
        QVERIFY(ResultExporter::doneMessage(path, outcome.changed).contains(outcome.changed[1]));
        const QStringList back = workbookRows(path);
        QCOMPARE(back.value(2),
                 u"str:一班|str:01|str:"_qs + longName.left(32767)
                         + u"|int:50|float:98.5|int:600|"_qs);
        QCOMPARE(back.value(3), u"str:一班|str:0\uFFFD2|str:李四|int:40|str:abc|int:600|"_qs);
    }

    void lockedDatabaseAnswersQuickly_data()
    {
        QTest::addColumn<bool>("atStartUp");
        QTest::newRow("start-up") << true;
        QTest::newRow("collection") << false;
    }

    void lockedDatabaseAnswersQuickly()
    {
        QFETCH(bool, atStartUp);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"cj.mdb"_qs);
        std::optional<ResultStore> console;
        if (!atStartUp)
            console.emplace(path);
        {
            ResultStore(path).replaceAll({ { 1, u"a"_qs, u"1"_qs, u"x"_qs, 10, u"90"_qs, 60 } });
        }
        // Another program holds the file with an exclusive lock (while the
        // console has it open, the lock it can take is the writer's).
        QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"other"_qs);
        other.setDatabaseName(path);
        QVERIFY(other.open());
        {
            QSqlQuery lock(other);
            if (atStartUp)
                QVERIFY(lock.exec(u"PRAGMA locking_mode=EXCLUSIVE"_qs));
            QVERIFY2(lock.exec(u"BEGIN EXCLUSIVE"_qs), qPrintable(lock.lastError().text()));
            QVERIFY(lock.exec(u"DELETE FROM tabCJ"_qs));
        }
        QElapsedTimer clock;
        clock.start();
        QString message;
        if (atStartUp) {
            console.emplace(path);
            QVERIFY(!console->isOpen());
            message = console->lastError();
        } else {
            QVERIFY(!console->replaceAll({}));
            message = console->lastError();
        }
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(message.contains(u"正被其他程序使用"_qs) && message.contains(u"cj.mdb"_qs),
                 qPrintable(message));
        QSqlQuery(other).exec(u"ROLLBACK"_qs);
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"other"_qs);
    }

    void copyOfDatabaseAloneHoldsTheRows()
    {
        QTemporaryDir folder;
        ResultStore console(folder.filePath(u"cj.mdb"_qs));  // stays open, as the running console
        QVERIFY(console.replaceAll({ { 1, u"a"_qs, u"1"_qs, u"x"_qs, 10, u"90"_qs, 60 },
                                     { 2, u"b"_qs, u"2"_qs, u"y"_qs, 20, u"95"_qs, 60 } }));
        // The backup the tooltip asks for: cj.mdb alone, without cj.mdb-wal.
        QVERIFY(QDir().mkpath(folder.filePath(u"backup"_qs)));
        QVERIFY(QFile::copy(folder.filePath(u"cj.mdb"_qs), folder.filePath(u"backup/cj.mdb"_qs)));
        QCOMPARE(ResultStore(folder.filePath(u"backup/cj.mdb"_qs)).rowCount(),
                 std::optional<int>(2));
    }

    void collectionWritesOnlyWhatChanged_data()
    {
        QTest::addColumn<int>("change");  // 0: none; 1: a row; 2: none, after a held-up checkpoint
        QTest::newRow("nothing new") << 0;
        QTest::newRow("one row changed") << 1;
        QTest::newRow("nothing new after a held-up checkpoint") << 2;
    }

    void collectionWritesOnlyWhatChanged()
    {
        QFETCH(int, change);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"cj.mdb"_qs);
        ResultStore console(path), watcher(path);
        QVector<ResultRow> rows { { 1, u"a"_qs, u"1"_qs, u"x"_qs, 10, u"90"_qs, 60 } };
        QVERIFY(console.replaceAll(rows));
        QSqlQuery watch(watcher.database());
        if (change == 2) {  // a reader keeps the new rows out of cj.mdb
            QVERIFY(watch.exec(u"BEGIN"_qs) && watch.exec(u"SELECT * FROM tabCJ"_qs)
                    && watch.next());
            rows[0].speed = 30;
            QVERIFY(console.replaceAll(rows) && watch.exec(u"COMMIT"_qs));
        }
        // data_version moves for the watcher when another connection commits.
        QVERIFY(watch.exec(u"PRAGMA data_version"_qs) && watch.next());
        const int before = watch.value(0).toInt();
        watch.finish();
        if (change == 1)
            rows[0].name = u"z"_qs;
        QVERIFY(console.replaceAll(rows));
        QVERIFY(watch.exec(u"PRAGMA data_version"_qs) && watch.next());
        QVERIFY(change == 2 || (watch.value(0).toInt() != before) == (change == 1));
        QVERIFY(QFile::copy(path, folder.filePath(u"copy.mdb"_qs)));
        QCOMPARE(ResultStore(folder.filePath(u"copy.mdb"_qs)).rowsInRankOrder(), rows);
    }
};

QTEST_GUILESS_MAIN(TestConsoleFiles)
#include "tst_consolefiles.moc"
