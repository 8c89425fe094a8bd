// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on real SQLite files: what it refuses and leaves untouched,
// keeping an exam once, reading, deleting and backing it up; a write
// left uncommitted.
#include "sqliteholder.h"
#include "testfiles.h"

#include "archive/archivetransaction.h"
#include "archive/examarchive.h"
#include "archive/schema.h"
#include "stats/examsummary.h"

#include <QSqlQuery>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#include <QTemporaryDir>
#include <QtTest>

namespace {

ExamSitting sitting(const QString &key)
{
    ExamSitting sitting;
    sitting.key = key;
    sitting.openedAt = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
    sitting.articleName = QStringLiteral("春晓");
    sitting.articleText = QStringLiteral("春眠不觉晓\r\n");
    sitting.examMinutes = 10;
    return sitting;
}

QVector<ArchivedRow> rows(int count)
{
    QVector<ArchivedRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append({ { i + 1, QStringLiteral("一班"), QString::number(100 + i),
                        QStringLiteral("张%1").arg(i), 60.5 - i, QStringLiteral("98.5"), 600 },
                      QStringLiteral("已交卷"),
                      {} });
    return rows;
}

}  // namespace

class TestExamArchive : public QObject
{
    Q_OBJECT

private slots:
    void refusedFilesStayUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << "noise"
                                        << "不是数据库文件";
        QTest::newRow("damaged") << "damaged"
                                 << "已损坏";
        QTest::newRow("newer schema") << "newer"
                                      << "较新版本";
        QTest::newRow("another program's tables") << "foreign"
                                                  << "不是考试存档";
        QTest::newRow("locked") << "locked"
                                << "正被其他程序使用";
    }

    void refusedFilesStayUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(ExamArchive::defaultFileName());
        std::unique_ptr<SqliteHolder> holder;
        if (kind == u"noise") {
            QVERIFY(writeFile(path, everyByte(9000)));
        } else if (kind == u"foreign") {
            SqliteHolder(path).run(QStringLiteral("CREATE TABLE tabCJ (speed REAL)"));
        } else if (kind == u"locked") {
            holder = std::make_unique<SqliteHolder>(path);
            QVERIFY(holder->run(QStringLiteral("CREATE TABLE t (x INTEGER)")));
            QVERIFY(holder->run(QStringLiteral("BEGIN EXCLUSIVE")));
        } else {
            {
                ExamArchive archive(path);
                QVERIFY(archive.keep(sitting(QStringLiteral("a")), rows(200)).problem.isEmpty());
            }
            if (kind == u"newer") {
                SqliteHolder(path).run(QStringLiteral("UPDATE archive_schema SET version = 99"));
            } else {
                QByteArray bytes = readFile(path);
                QVERIFY(bytes.size() > 3 * 4096);
                bytes.replace(4096, 2 * 4096, everyByte(2 * 4096));
                QVERIFY(writeFile(path, bytes));
            }
        }
        const QByteArray before = readFile(path);
        ExamArchive archive(path);
        QVERIFY(!archive.isOpen());
        QVERIFY2(archive.startProblem().contains(reason)
                         && archive.startProblem().contains(QDir::toNativeSeparators(path))
                         && archive.startProblem().contains(u"考试照常进行"_qs),
                 qPrintable(archive.startProblem()));
        QCOMPARE(readFile(path), before);
        QVERIFY(!QFile::exists(path + u"-wal"_qs) || QFileInfo(path + u"-wal"_qs).size() == 0);
        QVERIFY(!archive.keep(sitting(QStringLiteral("b")), rows(1)).problem.isEmpty());
        QCOMPARE(readFile(path), before);
    }

    void uncommittedWritesRollBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"guarded.db"_qs);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"guarded"_qs);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(u"PRAGMA journal_mode=WAL"_qs));
            QVERIFY(query.exec(u"CREATE TABLE t (x INTEGER)"_qs));
            {
                ArchiveTransaction dropped(db);
                QCOMPARE(dropped.beginProblem(), QString());
                QVERIFY(query.exec(u"INSERT INTO t VALUES (1)"_qs));
            }
            {
                ArchiveTransaction kept(db);
                QVERIFY(query.exec(u"INSERT INTO t VALUES (2)"_qs));
                QCOMPARE(kept.commit(), QString());
            }
            QVERIFY(query.exec(u"SELECT group_concat(x) FROM t"_qs) && query.next());
            QCOMPARE(query.value(0).toString(), u"2"_qs);
            // The commit moved the log into the file.
            QCOMPARE(QFileInfo(path + u"-wal"_qs).size(), 0);
        }
        QSqlDatabase::removeDatabase(u"guarded"_qs);
    }

    void migratedFromTheFirstSchema()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(ExamArchive::defaultFileName());
        {
            SqliteHolder first(path);
            for (const QString &statement : archiveschema::migration(0))
                QVERIFY(first.run(statement));
            QVERIFY(first.run(u"UPDATE archive_schema SET version = 1"_qs));
            QVERIFY(first.run(u"INSERT INTO exams (id, exam_key, archived_at, exam_minutes) "
                              "VALUES (7, 'k', '2026-01-05T08:00:00Z', 10)"_qs));
            QVERIFY(first.run(u"INSERT INTO exam_rows (exam_id, position, speed, accuracy_line, "
                              "time_pass, rec_no) VALUES (7, 0, 30, '80', 600, 1), "
                              "(7, 1, 29, '99', 600, 2)"_qs));
        }
        ExamArchive archive(path);
        QVERIFY2(archive.isOpen(), qPrintable(archive.startProblem()));
        const auto exams = archive.exams();
        QVERIFY(exams.value);
        QCOMPARE(exams.value->size(), 1);
        QCOMPARE(summaryOf(exams.value->first()).passRate, 0.5);  // graded with the standard scale
        QCOMPARE(archive.exam(7).value->sitting.scale, GradingScale::standard());
        // Another scale, on request.
        const auto lenient = GradingScale::fromTable({ { u"过"_qs, u"20"_qs, u"0"_qs, u"1"_qs },
                                                       { u"不过"_qs, u"0"_qs, u"0"_qs, u"0"_qs } });
        QCOMPARE(archive.regrade(7, *lenient.scale), QString());
        QCOMPARE(summaryOf(archive.exams().value->first()).passRate, 1.0);
        QVERIFY(!archive.regrade(8, *lenient.scale).isEmpty());
    }

    void keptOnceReadBackDeleted()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(ExamArchive::defaultFileName());
        ExamArchive archive(path);
        QVERIFY2(archive.isOpen(), qPrintable(archive.startProblem()));
        // The exam under way: the first opening is its start, the last closing its end.
        ExamSitting opened = sitting({});
        QCOMPARE(archive.noteLoginOpened(opened), QString());
        QCOMPARE(archive.noteLoginClosed(opened.openedAt.addSecs(600)), QString());
        ExamSitting again = sitting({});
        again.openedAt = opened.openedAt.addSecs(900);
        QCOMPARE(archive.noteLoginOpened(again), QString());
        const QDateTime closed = opened.openedAt.addSecs(1200);
        QCOMPARE(archive.noteLoginClosed(closed), QString());
        ExamSitting noted = archive.sittingUnderWay();
        QCOMPARE(noted.openedAt, opened.openedAt);
        QCOMPARE(noted.closedAt, closed);

        noted.key = u"k1"_qs;
        const ExamArchive::Kept first = archive.keep(noted, rows(3));
        QCOMPARE(first.problem, QString());
        QVERIFY(!first.alreadyKept);
        QVERIFY(!archive.sittingUnderWay().openedAt.isValid());
        // The same exam again (a clear that failed after keeping): one copy.
        const ExamArchive::Kept second = archive.keep(noted, rows(3));
        QVERIFY(second.alreadyKept);
        QCOMPARE(second.id, first.id);
        QVERIFY(archive.keep(sitting(u"k2"_qs), {}).problem.isEmpty());

        const auto exams = archive.exams();
        QVERIFY(exams.value);
        QCOMPARE(exams.value->size(), 2);
        const ExamSummary summary = summaryOf(exams.value->at(1));  // opened earlier
        QCOMPARE(summary.examinees, 3);
        QCOMPARE(summary.meanSpeed, 59.5);
        const auto exam = archive.exam(first.id);
        QVERIFY(exam.value);
        QCOMPARE(exam.value->rows, rows(3));
        QCOMPARE(exam.value->sitting.closedAt, closed);
        QCOMPARE(exam.value->sitting.articleText, u"春眠不觉晓\r\n"_qs);
        const auto history = historyOf(archive.history(u" 101 "_qs, u"张1"_qs));
        QVERIFY(history.value);
        QCOMPARE(history.value->size(), 1);
        QCOMPARE(history.value->first().grade, u"良好"_qs);
        QCOMPARE(history.value->first().examId, first.id);

        // A backup is a whole archive of its own.
        const QString copy = dir.filePath(u"备份.db"_qs);
        QVERIFY(writeFile(copy, "an older backup"));
        QCOMPARE(archive.backUpTo(copy), QString());
        QVERIFY(!QFile::exists(copy + u".part"_qs));
        QCOMPARE(ExamArchive(copy).exam(first.id).value->rows, rows(3));

        QCOMPARE(archive.remove(first.id), QString());
        QVERIFY(!archive.remove(first.id).isEmpty());
        QCOMPARE(archive.exams().value->size(), 1);
        QVERIFY(!archive.exam(first.id).value);
        // Every write is checkpointed: the file alone holds the archive.
        QCOMPARE(QFileInfo(path + u"-wal"_qs).size(), 0);
    }

    void backupRefusesADatabaseInUse_data()
    {
        QTest::addColumn<QString>("target");  // in the archive's folder
        QTest::newRow("the archive itself") << u"cjda.db"_qs;
        QTest::newRow("the archive by another spelling") << u"./sub/../cjda.db"_qs;
        QTest::newRow("a hard link to the archive") << u"link.db"_qs;
        QTest::newRow("the archive's write-ahead log") << u"cjda.db-wal"_qs;
        QTest::newRow("the results table open beside it") << u"cj.mdb"_qs;
    }
    void backupRefusesADatabaseInUse()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_qs));
        const QString path = dir.filePath(ExamArchive::defaultFileName());
        ExamArchive archive(path);
        QVERIFY2(archive.isOpen(), qPrintable(archive.startProblem()));
        QVERIFY(archive.keep(sitting(u"k1"_qs), rows(3)).problem.isEmpty());
#ifdef Q_OS_UNIX
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(dir.filePath(u"link.db"_qs)).constData()),
                 0);
#else
        if (target == u"link.db"_qs)
            QSKIP("hard links are a Unix matter here");
#endif
        SqliteHolder results(dir.filePath(u"cj.mdb"_qs));
        QVERIFY(results.run(u"CREATE TABLE tabCJ (recno INTEGER)"_qs));
        const QString chosen = dir.filePath(target);
        const QByteArray before = readFile(chosen);
        QVERIFY(archive.backUpTo(chosen).contains(u"正在使用的数据库"_qs));
        QCOMPARE(readFile(chosen), before);
        QCOMPARE(archive.exams().value->size(), 1);
        // Another file takes the backup.
        QCOMPARE(archive.backUpTo(dir.filePath(u"备份.db"_qs)), QString());
        QCOMPARE(ExamArchive(dir.filePath(u"备份.db"_qs)).exams().value->size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestExamArchive)
#include "tst_examarchive.moc"
