// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A school's server as its IT person sets it up: the owner's upgrade makes
// the tables once; a lab's login, even through plain SQL, changes or
// deletes only its own exams, never the tables or their version.
#include "postgrescluster.h"

#include "archive/examarchive.h"
#include "archive/schoolupgrade.h"

#include <QSqlQuery>
#include <QtTest>

class TestLabRoles : public QObject
{
    Q_OBJECT

    PostgresCluster m_cluster;

    // The rows `statement` touched as `role`, or -1 when the server refused it.
    int rowsTouched(const QString &database, const QString &role, const QString &statement)
    {
        int touched = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"sql"_qs);
            ArchivePlace::fromText(m_cluster.uri(database, role)).configure(db, 0);
            QSqlQuery query(db);
            if (db.open() && query.exec(statement))
                touched = query.numRowsAffected();
        }
        QSqlDatabase::removeDatabase(u"sql"_qs);
        return touched;
    }

private slots:
    void tablesMadeByTheOwnerOnce()
    {
        QVERIFY2(m_cluster.problem().isEmpty(), qPrintable(m_cluster.problem()));
        const QString database = m_cluster.newBlankDatabase();
        const QString asOwner = m_cluster.uri(database, PostgresCluster::owner());
        QVERIFY(schoolupgrade::run(m_cluster.uri(database))
                        .problem.contains(u"无法升级到版本1"_qs));
        QCOMPARE(schoolupgrade::run(asOwner).value,
                 u"已在学校存档 %1 中建好数据表（存档版本9）。\nkestrix_labs 的成员（各机房的账号）"
                 "现在可以使用它：读取所有考试，只能更改和删除本机房的考试。"_qs.arg(asOwner));
        QCOMPARE(schoolupgrade::run(asOwner).value,
                 u"学校存档 %1 已是版本9，不需要升级。"_qs.arg(asOwner));
    }

    void labsChangeOnlyTheirOwnExams_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("touched");
        QTest::newRow("regrade") << u"UPDATE exams SET grading = 'x'"_qs << 0;
        QTest::newRow("take over") << u"UPDATE exams SET lab_role = 'lab_b'"_qs << 0;
        QTest::newRow("change rows") << u"UPDATE exam_rows SET speed = 0"_qs << 0;
        QTest::newRow("delete rows") << u"DELETE FROM exam_rows"_qs << 0;
        QTest::newRow("delete doubts") << u"DELETE FROM row_doubts"_qs << 0;
        QTest::newRow("delete exams") << u"DELETE FROM exams"_qs << 0;
        QTest::newRow("keep as another")
                << u"INSERT INTO exams (exam_key, archived_at, "
                   "exam_minutes, lab_role) VALUES ('b', '', 1, 'lab_a')"_qs
                << -1;
        QTest::newRow("rows into another's")
                << u"INSERT INTO exam_rows (exam_id, position, speed, "
                   "time_pass, rec_no) SELECT id, 5, 1, 1, 1 FROM exams"_qs
                << -1;
        QTest::newRow("doubts into another's")
                << u"INSERT INTO row_doubts (exam_id, row_position, position, doubt) "
                   "SELECT exam_id, position, 5, 'x' FROM exam_rows"_qs
                << -1;
        QTest::newRow("empty the table") << u"TRUNCATE exam_rows"_qs << -1;
        QTest::newRow("drop the table") << u"DROP TABLE exams CASCADE"_qs << -1;
        QTest::newRow("alter the table")
                << u"ALTER TABLE exams DISABLE ROW LEVEL SECURITY"_qs << -1;
        QTest::newRow("schema version") << u"UPDATE archive_schema SET version = 99"_qs << -1;
        QTest::newRow("a table of its own") << u"CREATE TABLE mine (x INTEGER)"_qs << -1;
    }

    // Lab B against lab A's exam touches nothing or is refused; lab A deletes it.
    void labsChangeOnlyTheirOwnExams()
    {
        QFETCH(QString, statement);
        QFETCH(int, touched);
        const QString database = QUrl(m_cluster.newDatabase()).path().mid(1);
        ExamSitting sitting;
        sitting.key = u"a"_qs;
        const QVector<ArchivedRow> rows { { { 1, u"一班"_qs, u"1"_qs, u"张三"_qs, 60, u"98"_qs,
                                              600 },
                                            ExamineeState::Finished,
                                            { u"粘贴"_qs } } };
        ExamArchive labA(ArchivePlace::fromText(m_cluster.uri(database)));
        const qint64 id = labA.keep(sitting, rows).id;
        QCOMPARE(rowsTouched(database, PostgresCluster::labB(), statement), touched);
        QCOMPARE(labA.exam(id).value->rows, rows);
        QCOMPARE(labA.exam(id).value->sitting.scale, GradingScale::standard());
        QCOMPARE(rowsTouched(database, PostgresCluster::labA(), u"DELETE FROM row_doubts"_qs), 1);
        QCOMPARE(rowsTouched(database, PostgresCluster::labA(), u"DELETE FROM exam_rows"_qs), 1);
        QCOMPARE(rowsTouched(database, PostgresCluster::labA(), u"DELETE FROM exams"_qs), 1);
    }
};

QTEST_GUILESS_MAIN(TestLabRoles)
#include "tst_labroles.moc"
