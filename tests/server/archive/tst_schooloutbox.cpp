// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file as the outbox to a real PostgreSQL server: what waits is sent
// once, stays when the server is away or of a newer schema, and is never
// copied twice by a repeated send, a send killed halfway or two consoles
// sending at once.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "exchange/gbk.h"
#include "postgrescluster.h"
#include "sqliteholder.h"
#include "testrecords.h"

#include "archive/schema.h"
#include "archive/schooloutbox.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ExamSitting sitting(int day)
{
    ExamSitting sitting;
    sitting.key = QStringLiteral("local-%1").arg(day);
    sitting.openedAt = QDateTime(QDate(2026, 3, day), QTime(8, 0), Qt::UTC);
    sitting.articleName = QStringLiteral("春晓");
    sitting.articleText = QStringLiteral("春眠不觉晓\r\n");
    sitting.examMinutes = 10;
    return sitting;
}

QVector<ArchivedRow> rows()
{
    return { { { 1, QStringLiteral("一班"), QStringLiteral("101"), QStringLiteral("张三"), 60.5,
                 QStringLiteral("98.5"), 600 },
               ExamineeState::Finished,
               {} } };
}

}  // namespace

class TestSchoolOutbox : public QObject
{
    Q_OBJECT

    std::unique_ptr<PostgresCluster> m_cluster;
    QTemporaryDir m_files;
    int m_count = 0;

    QString newFile() { return m_files.filePath(QStringLiteral("%1.db").arg(++m_count)); }

    // The exams of the school database, by lab.
    QStringList schoolLabs(const ArchivePlace &school)
    {
        ExamArchive archive(school);
        const auto exams = archive.exams();
        if (!exams.value)
            return { exams.problem };
        QStringList labs;
        for (const ArchivedExam &exam : *exams.value)
            labs << exam.sitting.lab + u'/' + exam.sitting.teacher;
        labs.sort();
        return labs;
    }

private slots:
    void initTestCase()
    {
        m_cluster = std::make_unique<PostgresCluster>();
        QVERIFY2(m_cluster->problem().isEmpty(), qPrintable(m_cluster->problem()));
    }

    void cleanupTestCase() { m_cluster.reset(); }

    void keyNamesLabTextAndOpening()
    {
        const ExamSitting base = [] {
            ExamSitting s = sitting(2);
            s.lab = QStringLiteral("一号机房");
            return s;
        }();
        const QString key = SchoolOutbox::schoolKeyOf(base);
        QCOMPARE(key.size(), 40);
        ExamSitting other = base;
        other.teacher = QStringLiteral("李老师");
        other.key = QStringLiteral("rows changed");
        QCOMPARE(SchoolOutbox::schoolKeyOf(other), key);
        other.lab = QStringLiteral("二号机房");
        QVERIFY(SchoolOutbox::schoolKeyOf(other) != key);
        other = base;
        other.openedAt = other.openedAt.addSecs(60);
        QVERIFY(SchoolOutbox::schoolKeyOf(other) != key);
        other = base;
        other.articleText += QStringLiteral("处处闻啼鸟");
        QVERIFY(SchoolOutbox::schoolKeyOf(other) != key);
        // With a publication, the publication alone: a clock changed between
        // two sends does not make a second exam.
        other = base;
        other.publication = QStringLiteral("0123456789abcdef0123456789abcdef");
        QCOMPARE(SchoolOutbox::schoolKeyOf(other), other.publication);
        other.openedAt = other.openedAt.addSecs(60);
        other.lab = QStringLiteral("二号机房");
        QCOMPARE(SchoolOutbox::schoolKeyOf(other), other.publication);
        QCOMPARE(SchoolOutbox::waitingText(0), QString());
        QCOMPARE(SchoolOutbox::waitingText(3), u"3 场考试尚未上传到学校存档"_qs);
    }

    void sentOnceAfterTheServerCameBack()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        ExamArchive local(newFile());
        SchoolOutbox outbox(local, school, u"一号机房"_qs, u"李老师"_qs);
        ExamSitting first = sitting(2);
        first.lab = u"一号机房"_qs;
        first.teacher = u"王老师"_qs;
        QCOMPARE(local.keep(first, rows()).problem, QString());
        QCOMPARE(outbox.send().sent, 1);

        // The server away during a keep: the exam stays in the file.
        QCOMPARE(m_cluster->stop(), QString());
        QCOMPARE(local.keep(sitting(3), rows()).problem, QString());
        const SchoolOutbox::Report away = outbox.send();
        QCOMPARE(away.sent, 0);
        QCOMPARE(away.waiting, 1);
        QVERIFY2(away.problem.contains(u"无法连接"_qs), qPrintable(away.problem));
        QCOMPARE(*outbox.waitingCount().value, 1);

        QCOMPARE(m_cluster->start(), QString());
        const SchoolOutbox::Report back = outbox.send();
        QCOMPARE(back.problem, QString());
        QCOMPARE(back.sent, 1);
        QCOMPARE(back.waiting, 0);
        QCOMPARE(outbox.send().sent, 0);
        // The console's names for an exam kept without them.
        QCOMPARE(schoolLabs(school),
                 (QStringList { u"一号机房/李老师"_qs, u"一号机房/王老师"_qs }));
        QCOMPARE(ExamArchive(school).exams().value->first().rows, rows());
    }

    // A send killed after the school kept the exam, before the file marked
    // it, or the same file sent by a second console: one copy.
    void sentAgainStaysOne()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        const QString path = newFile();
        ExamArchive local(path);
        QCOMPARE(local.keep(sitting(4), rows()).problem, QString());
        {
            ExamArchive copy(path);
            QCOMPARE(SchoolOutbox(copy, school, u"一号机房"_qs, {}).send().sent, 1);
            QVERIFY(SqliteHolder(path).run(u"UPDATE exams SET sent_at = NULL"_qs));
        }
        const SchoolOutbox::Report again = SchoolOutbox(local, school, u"一号机房"_qs, {}).send();
        QCOMPARE(again.problem, QString());
        QCOMPARE(again.waiting, 0);
        QCOMPARE(schoolLabs(school), QStringList { u"一号机房/"_qs });
    }

    void newerSchoolSchemaRefused()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        QVERIFY(ExamArchive(school).isOpen());
        const QString database = QUrl(school.text()).path().mid(1);
        QCOMPARE(m_cluster->run(database, u"UPDATE archive_schema SET version = 99"_qs), QString());
        ExamArchive local(newFile());
        QCOMPARE(local.keep(sitting(5), rows()).problem, QString());
        const SchoolOutbox::Report refused = SchoolOutbox(local, school, u"一号机房"_qs, {}).send();
        QVERIFY2(refused.problem.contains(u"较新版本"_qs), qPrintable(refused.problem));
        QCOMPARE(refused.waiting, 1);
        QCOMPARE(m_cluster->run(database,
                                u"DO $$ BEGIN IF EXISTS (SELECT 1 FROM exams) THEN "
                                "RAISE EXCEPTION 'kept'; END IF; END $$"_qs),
                 QString());
    }

    // A school database that refuses the keep (a trigger of its own): the
    // exam waits in the file, saying why, and goes up once it is dropped.
    void refusedKeepWaitsThenGoesUp()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        const QString database = QUrl(school.text()).path().mid(1);
        QCOMPARE(m_cluster->run(database,
                                u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                "$$ BEGIN RAISE EXCEPTION '存档暂停'; END $$; "
                                "CREATE TRIGGER refuse BEFORE INSERT ON exams "
                                "FOR EACH ROW EXECUTE FUNCTION refuse()"_qs),
                 QString());
        ExamArchive local(newFile());
        const qint64 id = local.keep(sitting(9), rows()).id;
        SchoolOutbox outbox(local, school, u"一号机房"_qs, {});
        const SchoolOutbox::Report refused = outbox.send();
        QCOMPARE(refused.sent, 0);
        QCOMPARE(refused.waiting, 1);
        QVERIFY2(refused.problem.startsWith(u"无法写入考试存档 %1："_qs.arg(school.shown()))
                         && refused.problem.contains(u"存档暂停"_qs),
                 qPrintable(refused.problem));
        QCOMPARE(local.waiting().value, QVector<qint64> { id });

        QCOMPARE(m_cluster->run(database, u"DROP TRIGGER refuse ON exams"_qs), QString());
        const SchoolOutbox::Report sent = outbox.send();
        QCOMPARE(sent.problem, QString());
        QCOMPARE(sent.sent, 1);
        QCOMPARE(sent.waiting, 0);
        QCOMPARE(local.waiting().value, QVector<qint64>());
        QCOMPARE(ExamArchive(school).exams().value->first().rows, rows());
    }

    // A send killed while its exam's rows wait on a lock the test holds:
    // the server rolls the half-kept exam back, the file still has it
    // waiting, and the next send keeps it once, whole.
    void killedMidSendThenSentOnce()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        QVERIFY(ExamArchive(school).isOpen());
        const QString path = newFile();
        ExamArchive local(path);
        QCOMPARE(local.keep(sitting(6), rows()).problem, QString());
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"holder"_qs);
            QCOMPARE(school.configure(holder, 0), QString());
            QVERIFY(holder.open() && holder.transaction());
            QSqlQuery query(holder);
            QVERIFY(query.exec(u"LOCK TABLE exam_rows IN EXCLUSIVE MODE"_qs));
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        { u"--send"_qs, path, school.text() });
            QVERIFY(child.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(query.exec(u"SELECT 1 FROM pg_locks WHERE NOT granted AND "
                                                "relation = 'exam_rows'::regclass"_qs)
                                             && query.next(),
                                     15000);
            child.kill();
            QVERIFY(child.waitForFinished());
            QVERIFY(holder.rollback());
        }
        QSqlDatabase::removeDatabase(u"holder"_qs);
        QCOMPARE(*SchoolOutbox(local, school, u"一号机房"_qs, {}).waitingCount().value, 1);
        const SchoolOutbox::Report next = SchoolOutbox(local, school, u"一号机房"_qs, {}).send();
        QCOMPARE(next.problem, QString());
        QCOMPARE(next.sent, 1);
        QCOMPARE(schoolLabs(school), QStringList { u"一号机房/"_qs });
        QCOMPARE(ExamArchive(school).exams().value->first().rows, rows());
    }

    // Two consoles, each with its folders and lab, clear an exam each at
    // once: both exams are kept in the file first, then in the school once.
    void twoConsolesKeepIntoOneSchool()
    {
        const QString place = m_cluster->newDatabase();
        const QStringList labs { u"一号机房"_qs, u"二号机房"_qs };
        std::vector<std::unique_ptr<ConsoleRoom>> rooms;
        std::vector<std::unique_ptr<console::ConsoleController>> consoles;
        for (const QString &lab : labs) {
            rooms.push_back(std::make_unique<ConsoleRoom>());
            ConsoleRoom &room = *rooms.back();
            QVERIFY(writeFile(room.app(u"test.txt"_qs), gbk::encode(u"春眠不觉晓\r\n")));
            QVERIFY(writeFile(room.app(u"time.txt"_qs), "10\r\n"));
            QCOMPARE(console::SchoolSettings(room.appFolder()).save({ place, lab, u"李老师"_qs }),
                     QString());
            consoles.push_back(std::make_unique<console::ConsoleController>(room.folders()));
            QCOMPARE(consoles.back()->openLogin(), QString());
            writeResultFile(room.exchangeFolder,
                            sampleRecord(u"一班"_qs, u"101"_qs, lab, 60, 98.5f, 600));
            QCOMPARE(collectByHand(*consoles.back()), QString());
        }
        for (auto &console : consoles)
            QCOMPARE(console->clearing().clear(), QStringList());
        for (auto &console : consoles)
            QTRY_VERIFY_WITH_TIMEOUT(
                    !console->school().isSending() && console->school().status().isEmpty(), 30000);
        QCOMPARE(schoolLabs(ArchivePlace::fromText(place)),
                 (QStringList { u"一号机房/李老师"_qs, u"二号机房/李老师"_qs }));
    }

    // A console without a school archive: the exam an earlier version left
    // waiting and the one it keeps now stay in the file once the school is
    // set, until the examiner sends them; then both go up as this lab's.
    void keptBeforeTheSchoolWaitForTheExaminer()
    {
        const QString place = m_cluster->newDatabase();
        ConsoleRoom room;
        QVERIFY(writeFile(room.app(u"test.txt"_qs), "abc\r\n"));
        const QString path = room.work(ExamArchive::defaultFileName());
        QCOMPARE(ExamArchive(path).keep(sitting(8), rows()).problem, QString());
        console::ConsoleController console(room.folders());
        QCOMPARE(console.openLogin(), QString());
        writeResultFile(room.exchangeFolder, sampleRecord(u"一班"_qs, u"1"_qs, u"张三"_qs, 60));
        QCOMPARE(collectByHand(console), QString());
        QCOMPARE(console.clearing().clear(), QStringList());
        console::SchoolController &school = console.school();
        QCOMPARE(school.save({ place, u"三号机房"_qs, u"李老师"_qs }), QString());
        QSignalSpy ended(&school, &console::SchoolController::sendEnded);
        for (const int keptBefore : { 0, 1 }) {
            keptBefore ? school.sendKeptBefore() : school.sendNow();
            QVERIFY(ended.wait(30000));
            QCOMPARE(ended.takeFirst().first().value<SchoolOutbox::Report>().sent, 2 * keptBefore);
            QCOMPARE(schoolLabs(ArchivePlace::fromText(place)).join(u' ').count(u"三号机房"_qs),
                     2 * keptBefore);
        }
    }

    // A file kept before there was a school archive is sent on request, once.
    void keptBeforeSentOnRequest()
    {
        const ArchivePlace school = ArchivePlace::fromText(m_cluster->newDatabase());
        const QString path = newFile();
        {
            SqliteHolder older(path);
            for (int version = 0; version < 2; ++version) {
                for (const QString &statement : archiveschema::migration(
                             version, ArchiveDialect::of(ArchivePlace::file(path))))
                    QVERIFY(older.run(statement));
            }
            QVERIFY(older.run(u"UPDATE archive_schema SET version = 2"_qs));
            QVERIFY(older.run(
                    u"INSERT INTO exams (id, exam_key, opened_at, archived_at, "
                    "article_text, exam_minutes) VALUES "
                    "(1, 'a', '2026-01-05T08:00:00Z', '2026-01-05T09:00:00Z', 'x', 10), "
                    "(2, 'b', '2026-01-06T08:00:00Z', '2026-01-06T09:00:00Z', 'x', 10)"_qs));
        }
        ExamArchive local(path);
        SchoolOutbox outbox(local, school, u"二号机房"_qs, u"李老师"_qs);
        QCOMPARE(*outbox.waitingCount().value, 0);
        QCOMPARE(outbox.send().sent, 0);
        QCOMPARE(outbox.sendKeptBefore().sent, 2);
        QCOMPARE(outbox.sendKeptBefore().sent, 0);
        QCOMPARE(schoolLabs(school),
                 (QStringList { u"二号机房/李老师"_qs, u"二号机房/李老师"_qs }));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // The console that killedMidSendThenSentOnce() kills: one send.
    if (argc == 4 && qstrcmp(argv[1], "--send") == 0) {
        ExamArchive local(QString::fromLocal8Bit(argv[2]));
        SchoolOutbox(local, ArchivePlace::fromText(QString::fromLocal8Bit(argv[3])), u"一号机房"_qs,
                     {})
                .send();
        return 0;
    }
    TestSchoolOutbox test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_schooloutbox.moc"
