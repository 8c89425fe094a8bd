#include "consolesettings.h"
#include "exchangefolder.h"
#include "examsettings.h"
#include "gbk.h"
#include "logingate.h"
#include "resultcollector.h"
#include "resultfiles.h"
#include "resultstore.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

}  // namespace

class TestConsoleLogic : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storedExamMinutes_data();
    void storedExamMinutes();
    void savedTimeKeepsNumericValue_data();
    void savedTimeKeepsNumericValue();
    void refusedTimeWritesNothing_data();
    void refusedTimeWritesNothing();
    void unreadableArticleIsReported();
    void articleLinesAndInvalidGbk();

    void closeKeepsGateOpenWhileSettingsFileStays();

    void storeCreatesTableAndRanksSpeedAsNumber();
    void collectionOrderAndFields();
    void collectionSkipsUnreadableFilesAndGoesOn();
    void failedCollectionKeepsPreviousTable();
    void clearingFolderDeletesOnlyPlainFiles();
    void clearingFolderReportsUndeletableFiles();

private:
    QString appPath(const QString &name) const { return m_app->filePath(name); }
    QString exchangePath(const QString &name) const { return m_exchange->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_app;
    std::unique_ptr<QTemporaryDir> m_exchange;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestConsoleLogic::init()
{
    m_app = std::make_unique<QTemporaryDir>();
    m_exchange = std::make_unique<QTemporaryDir>();
    m_work = std::make_unique<QTemporaryDir>();
}

void TestConsoleLogic::cleanup()
{
    m_app.reset();
    m_exchange.reset();
    m_work.reset();
}

void TestConsoleLogic::storedExamMinutes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("minutes");
    QTest::newRow("absent") << QByteArray() << 20;
    QTest::newRow("half to even down") << QByteArray("12.5\r\n") << 12;
    QTest::newRow("half to even up") << QByteArray("13.5\r\n") << 14;
    QTest::newRow("whole") << QByteArray("30\r\n") << 30;
    QTest::newRow("no line end") << QByteArray("45") << 45;
    QTest::newRow("empty") << QByteArray("") << 20;
    QTest::newRow("not a number") << QByteArray("abc\r\n") << 20;
    QTest::newRow("out of range") << QByteArray("40000\r\n") << 20;
    QTest::newRow("zero") << QByteArray("0\r\n") << 20;
}

void TestConsoleLogic::storedExamMinutes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, minutes);
    if (QByteArray(QTest::currentDataTag()) != "absent")
        writeBytes(appPath(QStringLiteral("time.txt")), content);
    QCOMPARE(ConsoleSettings(m_app->path()).storedExamMinutes(), minutes);
}

void TestConsoleLogic::savedTimeKeepsNumericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("fraction") << QStringLiteral("12.5") << 12 << QByteArray("12.5\r\n");
    QTest::newRow("whole") << QStringLiteral("20") << 20 << QByteArray("20\r\n");
    QTest::newRow("blanks and zeros") << QStringLiteral(" 045.50 ") << 46 << QByteArray("45.5\r\n");
    QTest::newRow("longest exam") << QStringLiteral("546") << 546 << QByteArray("546\r\n");
}

void TestConsoleLogic::savedTimeKeepsNumericValue()
{
    QFETCH(QString, text);
    QFETCH(int, minutes);
    QFETCH(QByteArray, stored);
    const ConsoleSettings settings(m_app->path());
    const auto outcome = settings.save(QString(), text);
    QVERIFY2(outcome.problem.isEmpty(), qPrintable(outcome.problem));
    QCOMPARE(outcome.examMinutes.value_or(-1), minutes);
    QCOMPARE(readBytes(appPath(QStringLiteral("time.txt"))), stored);
    QVERIFY(!settings.hasExamText());
}

void TestConsoleLogic::refusedTimeWritesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("letters") << QStringLiteral("二十");
    QTest::newRow("zero") << QStringLiteral("0.4");
    QTest::newRow("too long for the client clock") << QStringLiteral("547");
    QTest::newRow("negative") << QStringLiteral("-5");
}

void TestConsoleLogic::refusedTimeWritesNothing()
{
    QFETCH(QString, text);
    const QString article = m_work->filePath(QStringLiteral("a.txt"));
    writeBytes(article, "ab\r\n");
    writeBytes(appPath(QStringLiteral("time.txt")), "30\r\n");
    const auto outcome = ConsoleSettings(m_app->path()).save(article, text);
    QVERIFY(!outcome.examMinutes);
    QVERIFY(outcome.problem.contains(QStringLiteral("考试时间")));
    QCOMPARE(readBytes(appPath(QStringLiteral("time.txt"))), QByteArray("30\r\n"));
    QVERIFY(!QFile::exists(appPath(QStringLiteral("test.txt"))));
}

void TestConsoleLogic::unreadableArticleIsReported()
{
    const QString missing = m_work->filePath(QStringLiteral("gone.txt"));
    const auto outcome = ConsoleSettings(m_app->path()).save(missing, QStringLiteral("20"));
    QVERIFY(!outcome.examMinutes);
    QVERIFY(outcome.problem.contains(QDir::toNativeSeparators(missing)));
    QVERIFY(!QFile::exists(appPath(QStringLiteral("time.txt"))));
    QVERIFY(!readTextLines(missing, u"\r\n"));
}

void TestConsoleLogic::articleLinesAndInvalidGbk()
{
    const QString path = m_work->filePath(QStringLiteral("a.txt"));
    writeBytes(path, gbk::encode(u"ab\r\n中文") + QByteArray("\r\n\xFF\xFF\r\n"));
    const auto withCrLf = readTextLines(path, u"\r\n");
    QVERIFY(withCrLf);
    QVERIFY(withCrLf->startsWith(QStringLiteral("ab\r\n中文\r\n")));
    QCOMPARE(withCrLf->count(QStringLiteral("\r\n")), 3);
    const auto withLf = readTextLines(path, u"\n");
    QVERIFY(withLf->startsWith(QStringLiteral("ab\n中文\n")));
}

void TestConsoleLogic::closeKeepsGateOpenWhileSettingsFileStays()
{
    writeBytes(appPath(QStringLiteral("test.txt")), "ab\r\n");
    writeBytes(appPath(QStringLiteral("time.txt")), "20\r\n");
    LoginGate gate(m_app->path(), m_exchange->path());
    QCOMPARE(gate.open(25), QString());
    const auto settings = readExamSettings(
        transcodeBytes(readBytes(exchangePath(QStringLiteral("se.dll"))), kExchangeKey));
    QCOMPARE(settings.examMinutes.value_or(0), qint16(25));
    // Something holds se.dll in place: it is a folder with a file inside.
    QVERIFY(QFile::remove(exchangePath(QStringLiteral("se.dll"))));
    QVERIFY(QDir(m_exchange->path()).mkpath(QStringLiteral("se.dll/x")));
    const QString problem = gate.close();
    QVERIFY(gate.isOpen());
    QVERIFY(problem.contains(QStringLiteral("se.dll")));
    QVERIFY(!QFile::exists(exchangePath(QStringLiteral("te.txt"))));
}

void TestConsoleLogic::storeCreatesTableAndRanksSpeedAsNumber()
{
    const QString dbPath = m_work->filePath(QStringLiteral("cj.mdb"));
    {
        ResultStore store(dbPath);
        QVERIFY2(store.isOpen(), qPrintable(store.lastError()));
        QCOMPARE(store.rowCount().value_or(-1), 0);
        QVector<ResultRow> rows(3);
        rows[0].recNo = 1, rows[0].speed = 9.5, rows[0].xingMing = QStringLiteral("甲");
        rows[1].recNo = 2, rows[1].speed = 100, rows[1].xingMing = QStringLiteral("乙");
        rows[2].recNo = 3, rows[2].speed = 9.5, rows[2].xingMing = QStringLiteral("丙");
        QVERIFY(store.replaceAll(rows));
    }
    ResultStore reopened(dbPath);
    const QVector<ResultRow> ranked = reopened.rowsInRankOrder().value_or(QVector<ResultRow>());
    QCOMPARE(ranked.size(), 3);
    QCOMPARE(ranked[0].xingMing, QStringLiteral("乙"));
    QCOMPARE(ranked[1].xingMing, QStringLiteral("甲"));
    QCOMPARE(ranked[2].xingMing, QStringLiteral("丙"));

    ResultTableModel model(nullptr, reopened.database());
    QVERIFY(model.select());
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0, model.fieldIndex(QStringLiteral("speed")))).toDouble(), 100.0);
}

void TestConsoleLogic::collectionOrderAndFields()
{
    ResultStore store(m_work->filePath(QStringLiteral("cj.mdb")));
    ResultCollector collector(m_exchange->path(), m_app->path(), store);
    QCOMPARE(collector.collect().rowCount, 0);

    uploadResult(m_exchange->path(), makeResult(QStringLiteral("一班"), QStringLiteral("01"),
                                                QStringLiteral("张三"), 56.1f, 98.25f, 300));
    uploadResult(m_exchange->path(), makeResult(QStringLiteral("二-班"), QStringLiteral("0-2"),
                                                QStringLiteral("李-四"), 80.5f));
    // Text lines without quotes lose their first and last characters all the same,
    // and line 4 is kept as written.
    writeScrambled(m_exchange->path(), QStringLiteral("c.zip"),
                   gbk::encode(u"40\r\n98\r\n12\r\n 99.50\r\n7\r\n1\r\n1\r\n[丙班]\r\nx03y\r\n-王五-\r\n"));
    // Hidden files are not result files.
    writeScrambled(m_exchange->path(), QStringLiteral(".hidden.zip"),
                   makeResult(QStringLiteral("h"), QStringLiteral("h"), QStringLiteral("h"), 1).toRecordLines());

    const CollectionReport first = collector.collect();
    QVERIFY2(first.ok(), qPrintable(first.problem));
    QCOMPARE(first.rowCount, 3);
    QVERIFY(first.skipped.isEmpty());
    const QVector<ResultRow> rows = store.rowsInRankOrder().value_or(QVector<ResultRow>());
    QCOMPARE(rows.size(), 3);
    // Files are read in name order: c.zip, 一班-01-张三.zip, 二-班-0-2-李-四.zip.
    QCOMPARE(rows[0].xingMing, QStringLiteral("李-四"));
    QCOMPARE(rows[0].banName, QStringLiteral("二-班"));
    QCOMPARE(rows[0].xueHao, QStringLiteral("0-2"));
    QCOMPARE(rows[1].xingMing, QStringLiteral("张三"));
    QCOMPARE(rows[1].speed, 56.1);
    QCOMPARE(rows[1].zhengQueLv, QStringLiteral("98.25"));
    QCOMPARE(rows[1].timePass, qint16(300));
    QCOMPARE(rows[2].banName, QStringLiteral("丙班"));
    QCOMPARE(rows[2].xueHao, QStringLiteral("03"));
    QCOMPARE(rows[2].xingMing, QStringLiteral("王五"));
    QCOMPARE(rows[2].zhengQueLv, QStringLiteral(" 99.50"));
    QCOMPARE(rows[2].recNo, 1);
    QCOMPARE(rows[1].recNo, 2);
    QCOMPARE(rows[0].recNo, 3);

    // The files stay, cj.zip stays with the last file read, and a second
    // collection gives the same rows.
    QVERIFY(QFile::exists(m_exchange->filePath(QStringLiteral("c.zip"))));
    QCOMPARE(readBytes(appPath(QStringLiteral("cj.zip"))),
             makeResult(QStringLiteral("二-班"), QStringLiteral("0-2"), QStringLiteral("李-四"), 80.5f)
                 .toRecordLines());
    collector.collect();
    const QVector<ResultRow> again = store.rowsInRankOrder().value_or(QVector<ResultRow>());
    QCOMPARE(again.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(again[i].recNo, rows[i].recNo);
}

void TestConsoleLogic::collectionSkipsUnreadableFilesAndGoesOn()
{
    ResultStore store(m_work->filePath(QStringLiteral("cj.mdb")));
    uploadResult(m_exchange->path(), makeResult(QStringLiteral("a"), QStringLiteral("1"),
                                                QStringLiteral("good"), 50));
    writeScrambled(m_exchange->path(), QStringLiteral("short.zip"), "40\r\n98\r\n12\r\n");
    writeScrambled(m_exchange->path(), QStringLiteral("nan.zip"),
                   "40\r\n98\r\nfast\r\n1\r\n1\r\n1\r\n1\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n");
    writeScrambled(m_exchange->path(), QStringLiteral("name.zip"),
                   "40\r\n98\r\n12\r\n1\r\n1\r\n1\r\n1\r\n\"a\"\r\n\"b\"\r\nc\r\n");
    QVERIFY(QDir(m_exchange->path()).mkdir(QStringLiteral("folder.zip")));
    // Still being uploaded: the name line is cut off before its closing quote.
    writeScrambled(m_exchange->path(), QStringLiteral("partial.zip"),
                   "40\r\n98\r\n12\r\n1\r\n1\r\n1\r\n1\r\n\"a\"\r\n\"b\"\r\n\"cd");

    const CollectionReport report = ResultCollector(m_exchange->path(), m_app->path(), store).collect();
    QVERIFY(report.ok());
    QCOMPARE(report.rowCount, 1);
    QStringList skipped;
    for (const SkippedFile &file : report.skipped)
        skipped << file.name;
    skipped.sort();
    QCOMPARE(skipped, (QStringList{QStringLiteral("folder.zip"), QStringLiteral("name.zip"),
                                   QStringLiteral("nan.zip"), QStringLiteral("partial.zip"),
                                   QStringLiteral("short.zip")}));
    const QString message = skippedFilesMessage(report.skipped);
    QVERIFY(message.contains(QStringLiteral("5")));
    QVERIFY(message.contains(QStringLiteral("nan.zip")));
    QCOMPARE(store.rowsInRankOrder().value_or(QVector<ResultRow>()).value(0).xingMing, QStringLiteral("good"));
}

void TestConsoleLogic::failedCollectionKeepsPreviousTable()
{
    const QString dbPath = m_work->filePath(QStringLiteral("cj.mdb"));
    ResultStore store(dbPath);
    uploadResult(m_exchange->path(), makeResult(QStringLiteral("a"), QStringLiteral("1"),
                                                QStringLiteral("old"), 50));
    QVERIFY(ResultCollector(m_exchange->path(), m_app->path(), store).collect().ok());

    // A trigger makes the database refuse the third insert of the next collection.
    {
        QSqlQuery query(store.database());
        QVERIFY(query.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON tabCJ WHEN NEW.recno = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    }
    for (const char *name : {"b", "c", "d"})
        uploadResult(m_exchange->path(), makeResult(QStringLiteral("x"), QLatin1String(name),
                                                    QStringLiteral("new"), 60));
    const CollectionReport report = ResultCollector(m_exchange->path(), m_app->path(), store).collect();
    QVERIFY(!report.ok());
    QVERIFY(report.problem.contains(QStringLiteral("disk full")));
    const QVector<ResultRow> rows = store.rowsInRankOrder().value_or(QVector<ResultRow>());
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].xingMing, QStringLiteral("old"));
}

void TestConsoleLogic::clearingFolderDeletesOnlyPlainFiles()
{
    for (const char *name : {"a-1-x.zip", "te.txt", "se.dll"})
        writeBytes(exchangePath(QLatin1String(name)), "x");
    QVERIFY(QDir(m_exchange->path()).mkpath(QStringLiteral("sub/keep")));
    writeBytes(exchangePath(QStringLiteral(".hidden")), "x");
    QCOMPARE(removeExchangeFiles(m_exchange->path()), QStringList());
    QCOMPARE(QDir(m_exchange->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral(".hidden"), QStringLiteral("sub")}));
}

void TestConsoleLogic::clearingFolderReportsUndeletableFiles()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP("a read-only folder does not stop root from deleting");
#endif
    for (const char *name : {"a.zip", "b.zip"})
        writeBytes(exchangePath(QLatin1String(name)), "x");
    QFile::setPermissions(m_exchange->path(), QFile::ReadOwner | QFile::ExeOwner);
    const QStringList failures = removeExchangeFiles(m_exchange->path());
    QFile::setPermissions(m_exchange->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(failures.size(), 2);
    QVERIFY(failures[0].startsWith(QStringLiteral("a.zip")));
}

QTEST_GUILESS_MAIN(TestConsoleLogic)
#include "tst_consolelogic.moc"
