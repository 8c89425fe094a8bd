// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kept exams listed by the database on a file and on a real PostgreSQL
// server: each filter at the edges of its rule, what there is to filter
// by, and deleting a school archive's exam by the lab that kept it only.
#include "archiveplaces.h"
#include "sqliteholder.h"

#include "archive/examarchive.h"
#include "archive/examlisting.h"

#include <QUrl>
#include <QtTest>

#include <map>

Q_DECLARE_METATYPE(ExamFilter)

namespace {

struct SchoolExam
{
    const char16_t *lab;
    const char16_t *teacher;
    QStringList classes;
    QDateTime heldAt;  // local time: terms are the school's days
    const char16_t *article;
};

// Kept in this order, so exam i + 1 has id i + 1: two labs, two teachers,
// each at an edge of a term; the last kept without a row.
const QVector<SchoolExam> &schoolExams()
{
    static const QVector<SchoolExam> exams {
        { u"301",
          u"王老师",
          { u"1班"_qs },
          QDateTime(QDate(2026, 1, 31), QTime(23, 30)),
          u"第一课" },
        { u"302", u"李老师", { u"2班"_qs }, QDateTime(QDate(2026, 2, 1), QTime(0, 10)), u"第二课" },
        { u"301",
          u"李老师",
          { u"1班"_qs, u"3班"_qs },
          QDateTime(QDate(2026, 7, 31), QTime(12, 0)),
          u"第三课" },
        { u"302",
          u"王老师",
          { u"2班"_qs },
          QDateTime(QDate(2026, 8, 1), QTime(8, 0)),
          u"春晓_100%" },
        { u"301", u"王老师", {}, QDateTime(QDate(2025, 8, 1), QTime(0, 0)), u"静夜思" },
    };
    return exams;
}

QString keepSchoolExams(ExamArchive &archive)
{
    int key = 0;
    for (const SchoolExam &exam : schoolExams()) {
        ExamSitting sitting;
        sitting.key = QString::number(++key);
        sitting.openedAt = exam.heldAt;
        sitting.articleName = QString::fromUtf16(exam.article);
        sitting.lab = QString::fromUtf16(exam.lab);
        sitting.teacher = QString::fromUtf16(exam.teacher);
        QVector<ArchivedRow> rows;
        for (const QString &department : exam.classes) {
            ArchivedRow row;
            row.department = department;
            row.name = QStringLiteral("考生%1").arg(rows.size());
            row.speed = 40;
            row.accuracyLine = QStringLiteral("95");
            row.timePass = 600;
            row.state = ExamineeState::Finished;
            rows.append(row);
        }
        if (const QString problem = archive.keep(sitting, rows).problem; !problem.isEmpty())
            return problem;
    }
    return {};
}

QVector<qint64> idsOf(const ArchiveRead<ListedExams> &listed)
{
    QVector<qint64> ids;
    for (const ArchivedExam &exam : listed.value.value_or(ListedExams()).exams)
        ids.append(exam.id);
    return ids;
}

}  // namespace

class TestExamListing : public QObject
{
    Q_OBJECT

    ArchivePlaces m_places;
    std::map<QString, std::unique_ptr<ExamArchive>> m_filled;  // by backend, read only

    // The school's exams on the backend, kept once for every filter.
    ExamArchive &filled(const QString &backend)
    {
        std::unique_ptr<ExamArchive> &archive = m_filled[backend];
        if (!archive) {
            archive = std::make_unique<ExamArchive>(m_places.newPlace(backend));
            if (const QString problem = keepSchoolExams(*archive); !problem.isEmpty())
                qFatal("cannot keep the school's exams: %s", qPrintable(problem));
        }
        return *archive;
    }

private slots:
    void initTestCase()
    {
        const QString problem = m_places.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void cleanupTestCase()
    {
        m_filled.clear();
        m_places.stop();
    }

    void filtersListInTheDatabase_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<ExamFilter>("filter");
        QTest::addColumn<QVector<qint64>>("ids");
        const auto term = [](int year, int month) { return SchoolTerm::of(QDate(year, month, 1)); };
        const struct
        {
            const char *name;
            ExamFilter filter;
            QVector<qint64> ids;
        } rows[] = {
            { "all, newest first", {}, { 4, 3, 2, 1, 5 } },
            { "lab", { u"301"_qs, {}, {}, {}, {} }, { 3, 1, 5 } },
            { "teacher", { {}, u"李老师"_qs, {}, {}, {} }, { 3, 2 } },
            { "class", { {}, {}, u"1班"_qs, {}, {} }, { 3, 1 } },
            { "class of one exam", { {}, {}, u"3班"_qs, {}, {} }, { 3 } },
            { "first term, first and last day", { {}, {}, {}, term(2025, 9), {} }, { 1, 5 } },
            { "second term, first and last day", { {}, {}, {}, term(2026, 3), {} }, { 3, 2 } },
            { "next first term", { {}, {}, {}, term(2026, 9), {} }, { 4 } },
            { "lab and term", { u"301"_qs, {}, {}, term(2026, 3), {} }, { 3 } },
            { "article", { {}, {}, {}, {}, u"三课"_qs }, { 3 } },
            { "underscore taken as typed", { {}, {}, {}, {}, u"_"_qs }, { 4 } },
            { "percent taken as typed", { {}, {}, {}, {}, u"100%"_qs }, { 4 } },
            { "a day", { {}, {}, {}, {}, u"2026-2-1"_qs }, { 2 } },
            { "a month", { {}, {}, {}, {}, u"2026-01"_qs }, { 1 } },
            { "a year", { {}, {}, {}, {}, u" 2026 "_qs }, { 4, 3, 2, 1 } },
            { "nothing matches", { u"302"_qs, {}, u"1班"_qs, {}, {} }, {} },
        };
        for (const QString &backend : ArchivePlaces::backends()) {
            for (const auto &row : rows)
                QTest::addRow("%s: %s", qPrintable(backend), row.name)
                        << backend << row.filter << row.ids;
        }
    }

    void filtersListInTheDatabase()
    {
        QFETCH(QString, backend);
        QFETCH(ExamFilter, filter);
        QFETCH(QVector<qint64>, ids);
        const ArchiveRead<ListedExams> listed = ExamListing(filled(backend)).exams(filter);
        QVERIFY2(listed.value, qPrintable(listed.problem));
        QCOMPARE(idsOf(listed), ids);
        QVERIFY(!listed.value->more);
        // Each exam with its own rows.
        for (const ArchivedExam &exam : listed.value->exams)
            QCOMPARE(exam.rows.size(), schoolExams()[int(exam.id) - 1].classes.size());
    }

    // At most kMostListed, the newest, and told when more matched.
    void listsTheNewestOnly()
    {
        const ArchivePlace place = m_places.newPlace(u"file"_qs);
        ExamArchive archive(place);
        const int most = ExamListing::kMostListed;
        // One exam a minute, kept by another program in one statement.
        QVERIFY(SqliteHolder(place.text())
                        .run(QStringLiteral(
                                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < %1) INSERT INTO exams (id, exam_key, "
                                     "opened_at, archived_at, exam_minutes) SELECT i, 'k' || i, "
                                     "'2026-03-02T' || printf('%02d:%02d', i / 60, i % 60) "
                                     "|| ':00Z', '2026-03-02T23:00:00Z', 10 FROM n")
                                     .arg(most + 1)));
        ArchiveRead<ListedExams> listed = ExamListing(archive).exams({});
        QCOMPARE(listed.value->exams.size(), most);
        QVERIFY(listed.value->more);
        QCOMPARE(listed.value->exams.first().id, most + 1);
        QCOMPARE(listed.value->exams.last().id, 2);
        QCOMPARE(archive.remove(1), QString());
        listed = ExamListing(archive).exams({});
        QCOMPARE(listed.value->exams.size(), most);
        QVERIFY(!listed.value->more);
    }

    void choicesToFilterBy_data() { ArchivePlaces::addBackends(); }

    void choicesToFilterBy()
    {
        QFETCH(QString, backend);
        ExamArchive archive(m_places.newPlace(backend));
        QCOMPARE(ExamListing(archive).choices().value->terms.size(), 0);
        QCOMPARE(keepSchoolExams(archive), QString());
        const auto choices = ExamListing(archive).choices();
        QVERIFY2(choices.value, qPrintable(choices.problem));
        QCOMPARE(choices.value->labs, (QStringList { u"301"_qs, u"302"_qs }));
        QStringList teachers = choices.value->teachers;
        teachers.sort();
        QCOMPARE(teachers, (QStringList { u"李老师"_qs, u"王老师"_qs }));
        QCOMPARE(choices.value->departments, (QStringList { u"1班"_qs, u"2班"_qs, u"3班"_qs }));
        QStringList terms;
        for (const SchoolTerm &term : choices.value->terms)
            terms.append(term.name());
        QCOMPARE(terms,
                 (QStringList { u"2026-2027学年第一学期"_qs, u"2025-2026学年第二学期"_qs,
                                u"2025-2026学年第一学期"_qs }));
    }

    // A term's classes: its last day's 23:30 exam counts, the next day's
    // 00:10 one does not; a term without exams has none.
    void classesOfATerm_data() { ArchivePlaces::addBackends(); }

    void classesOfATerm()
    {
        QFETCH(QString, backend);
        ExamArchive &archive = filled(backend);
        const SchoolTerm spring = SchoolTerm::of(QDate(2026, 3, 2));
        const QVector<std::pair<SchoolTerm, QStringList>> expected {
            { spring.previous().previous(), {} },
            { spring.previous(), { u"1班"_qs } },
            { spring, { u"1班"_qs, u"2班"_qs, u"3班"_qs } },
            { SchoolTerm::of(QDate(2026, 8, 1)), { u"2班"_qs } },
        };
        for (const auto &[term, classes] : expected) {
            const ArchiveRead<QStringList> read = ExamListing(archive).classesIn(term);
            QVERIFY2(read.value, qPrintable(read.problem));
            QCOMPARE(*read.value, classes);
        }
    }

    // In a school archive an exam is the login role's that kept it: another
    // lab's console, whatever it calls itself, is refused and the exam
    // stays whole; the lab that kept it deletes it. A file is its console's.
    void deletedOnlyByTheLabThatKeptIt_data() { ArchivePlaces::addBackends(); }

    void deletedOnlyByTheLabThatKeptIt()
    {
        QFETCH(QString, backend);
        const ArchivePlace place = m_places.newPlace(backend);
        ExamArchive archive(place);
        QCOMPARE(keepSchoolExams(archive), QString());
        if (place.isSchool()) {
            QUrl asLabB(place.text());
            asLabB.setUserName(PostgresCluster::labB());
            ExamArchive other(ArchivePlace::fromText(asLabB.toString()));
            const QString refused = u"这场考试是机房“302”保存的，只有那个机房能更改或删除它。"_qs;
            QCOMPARE(other.changeRefused(other.exam(2).value->sitting), refused);
            QCOMPARE(other.remove(2), refused);
            QCOMPARE(other.regrade(2, GradingScale::standard()), refused);
            QCOMPARE(archive.exam(2).value->rows.size(), 1);
            QCOMPARE(archive.changeRefused(archive.exam(2).value->sitting), QString());
            QCOMPARE(archive.regrade(2, GradingScale::standard()), QString());
        }
        QCOMPARE(archive.remove(2), QString());
        QVERIFY(!archive.exam(2).value);
        QCOMPARE(archive.remove(2), u"考试存档中没有这场考试。"_qs);
    }
};

QTEST_MAIN(TestExamListing)
#include "tst_examlisting.moc"
