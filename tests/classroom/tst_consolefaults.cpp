// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A collection killed part-way leaves the results database whole; an exchange
// folder that cannot be written keeps login closed.
#include "publish/logingate.h"
#include "exchange/resultrecord.h"
#include "collect/resultstore.h"
#include "testfiles.h"
#include "testrecords.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <limits>

namespace {

constexpr int kNewFiles = 2000;
constexpr int kWaitMillis = 30000;
constexpr qint64 kNever = std::numeric_limits<qint64>::max();

// An exam's rows in rank order: file name order is exam number order, and the
// later exam number typed faster.
QVector<ResultRow> rankedRows(const QString &department, int count)
{
    QVector<ResultRow> rows;
    for (int i = count - 1; i >= 0; --i)
        rows.append({ i + 1, department, QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')),
                      QStringLiteral("考生%1").arg(i), 20 + 0.25 * i,
                      QString::number(90 + (i % 40) * 0.25), qint16(600 - i % 60) });
    return rows;
}

const QVector<ResultRow> kOldRows = rankedRows(QStringLiteral("上一场"), 3);
// The new exam's rows, and the old ones (whose files are gone) kept after
// them, in rank order.
QVector<ResultRow> newAndKeptRows()
{
    QVector<ResultRow> rows = rankedRows(QStringLiteral("计算机1班"), kNewFiles);
    // Kept in the order the table ranked them.
    for (ResultRow old : kOldRows) {
        old.recNo = qint32(rows.size() + 1);
        rows.append(old);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ResultRow &a, const ResultRow &b) {
        return a.speed != b.speed ? a.speed > b.speed : a.recNo < b.recNo;
    });
    return rows;
}

const QVector<ResultRow> kNewRows = rankedRows(QStringLiteral("计算机1班"), kNewFiles);
const QVector<ResultRow> kCollectedRows = newAndKeptRows();

}  // namespace

class TestConsoleFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedCollectionLeavesAWholeTable_data();
    void killedCollectionLeavesAWholeTable();
    void unwritableExchangeFolderTellsTheTruth_data();
    void unwritableExchangeFolderTellsTheTruth();

private:
    // Starts collect_once into `database`; false when the collection never began.
    bool startCollection(QProcess &process, const QString &database, const QString &appFolder)
    {
        process.start(QStringLiteral(KESTRIX_COLLECT_ONCE),
                      { m_exchange.path(), appFolder, database });
        while (process.waitForStarted(kWaitMillis) && !process.canReadLine()) {
            if (!process.waitForReadyRead(kWaitMillis))
                return false;
        }
        return process.readLine().trimmed() == "started";
    }

    QTemporaryDir m_exchange;
};

void TestConsoleFaults::initTestCase()
{
    for (const ResultRow &row : kNewRows)
        QVERIFY(!writeResultFile(m_exchange.path(),
                                 sampleRecord(row.department, row.examNumber, row.name,
                                              float(row.speed), row.accuracyLine.toFloat(),
                                              row.timePass))
                         .isEmpty());
}

void TestConsoleFaults::killedCollectionLeavesAWholeTable_data()
{
    // Killed as soon as the write-ahead log is larger than so many bytes: at
    // once, as the commit begins, and a few pages into it.
    QTest::addColumn<qint64>("logBytes");
    QTest::addRow("at once") << qint64(-1);
    for (qint64 bytes : { 0, 4096, 32768, 65536 })
        QTest::addRow("log past %lld bytes", bytes) << bytes;
    QTest::addRow("left to finish") << kNever;
}

void TestConsoleFaults::killedCollectionLeavesAWholeTable()
{
    QFETCH(qint64, logBytes);
    QTemporaryDir work;
    const QString database = work.filePath(QStringLiteral("cj.mdb"));
    QVERIFY(ResultStore(database).replaceAll(kOldRows));

    QProcess process;
    QVERIFY(startCollection(process, database, work.path()));
    // Watched without pause: a commit writes its log in well under a millisecond.
    const QString log = database + u"-wal"_qs;
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(0) && clock.elapsed() < kWaitMillis) {
        if (QFileInfo(log).size() > logBytes) {
            process.kill();  // SIGKILL
            break;
        }
    }
    process.waitForFinished(kWaitMillis);
    QCOMPARE(process.state(), QProcess::NotRunning);
    const bool killed = process.exitStatus() == QProcess::CrashExit;
    // Every commit is checkpointed and the log truncated at once, so a fast
    // collection may finish before the watcher sees the log pass a larger
    // bound, or the log at all; a kill at once always lands.
    if (logBytes < 0)
        QVERIFY(killed);
    else if (logBytes == kNever)
        QVERIFY(!killed);

    ResultStore store(database);  // the console's next start
    QVERIFY2(store.isOpen(), qPrintable(store.lastError()));
    QSqlQuery check(store.database());
    QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
    QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
    const auto rows = store.rowsInRankOrder();
    QVERIFY2(rows, qPrintable(store.lastError()));
    const bool holdsOld = *rows == kOldRows;
    // Rows whose files are gone stay: only clearing removes them.
    QVERIFY2(holdsOld || *rows == kCollectedRows, qPrintable(QString::number(rows->size())));
    QVERIFY(killed || !holdsOld);
    qInfo("%s after %lld ms: the table holds the %s rows", killed ? "killed" : "finished",
          clock.elapsed(), holdsOld ? "3 old" : "2000 new and 3 kept");
}

void TestConsoleFaults::unwritableExchangeFolderTellsTheTruth_data()
{
    QTest::addColumn<QString>("leftOver");  // an earlier exam's file in the folder
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QString>("message");
    QTest::newRow("exam text left")
            << u"te.txt"_qs << false << u"开放登录失败，考生仍不能登录。\n"_qs;
    // The old settings cannot be withdrawn: examinees can still log in.
    QTest::newRow("settings left") << u"se.dll"_qs << true << u"开放登录失败，但考生仍可登录"_qs;
}

void TestConsoleFaults::unwritableExchangeFolderTellsTheTruth()
{
    QFETCH(QString, leftOver);
    QFETCH(bool, stillOpen);
    QFETCH(QString, message);
    QTemporaryDir app, exchange;
    QVERIFY(writeFile(app.filePath(QStringLiteral("test.txt")), "ab\r\n"));
    QVERIFY(writeFile(app.filePath(QStringLiteral("time.txt")), "20\r\n"));
    QVERIFY(writeFile(exchange.filePath(leftOver), "old\r\n"));
    // The immutable attribute stops even root, whom permission bits do not.
    const QString folder = exchange.path();
    if (QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("+i"), folder }) != 0)
        QSKIP("chattr +i is not possible here");
    const auto undo = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("-i"), folder });
    });

    LoginGate gate(app.path(), folder);
    QCOMPARE(gate.readiness(), LoginGate::Readiness::Ready);
    const QString problem = gate.open(20);
    QCOMPARE(gate.isOpen(), stillOpen);
    QVERIFY2(problem.startsWith(message)
                     && problem.contains(QDir::toNativeSeparators(exchange.filePath(leftOver))),
             qPrintable(problem));
    // Nothing new was published, and no scratch file stays behind. The
    // console's own record of the exam (fb.txt, fbte.txt, fbid.txt) goes
    // before the exam's files, so it is there once publishing got that far.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { leftOver });
    QStringList appFiles = QDir(app.path()).entryList(QDir::Files | QDir::Hidden);
    appFiles.removeOne(u"fb.txt"_qs);
    appFiles.removeOne(u"fbid.txt"_qs);
    appFiles.removeOne(u"fbte.txt"_qs);
    QCOMPARE(appFiles, QStringList({ u"test.txt"_qs, u"time.txt"_qs }));
}

QTEST_GUILESS_MAIN(TestConsoleFaults)
#include "tst_consolefaults.moc"
