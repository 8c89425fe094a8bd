// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics of an exam against figures worked out by hand: none, one,
// ties, the grades and the departments, and who sat of a class list; each
// examinee's speeds over a term.
#include "keptexams.h"

#include "stats/examlistmodel.h"
#include "stats/examstatistics.h"
#include "stats/examsummary.h"
#include "stats/statisticspage.h"
#include "stats/termexaminees.h"

#include <QtTest>

namespace {

ArchivedRow row(const QString &department, double speed, double accuracy, qint16 timePass = 300)
{
    ArchivedRow row;
    row.department = department;
    row.speed = speed;
    row.accuracyLine = QString::number(accuracy);
    row.timePass = timePass;
    row.state = timePass > 0 ? ExamineeState::Finished : ExamineeState::Waiting;
    return row;
}

}  // namespace

class TestExamStatistics : public QObject
{
    Q_OBJECT

private slots:
    void figures_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<QVector<double>>("expected");  // count, mean, median, high, low, deviation
        QTest::newRow("none") << QVector<double> {} << QVector<double> { 0, 0, 0, 0, 0, 0 };
        QTest::newRow("one") << QVector<double> { 50 } << QVector<double> { 1, 50, 50, 50, 50, 0 };
        QTest::newRow("ties, even count")
                << QVector<double> { 60, 40, 60, 40 } << QVector<double> { 4, 50, 50, 60, 40, 10 };
        QTest::newRow("odd count, unsorted")
                << QVector<double> { 90, 10, 20 }
                << QVector<double> { 3, 40, 20, 90, 10, 35.590260840104 };
        QTest::newRow("all equal")
                << QVector<double> { 7, 7, 7 } << QVector<double> { 3, 7, 7, 7, 7, 0 };
    }

    void figures()
    {
        QFETCH(QVector<double>, values);
        QFETCH(QVector<double>, expected);
        const Figures f = figuresOf(values);
        const QVector<double> got { double(f.count), f.mean,   f.median,
                                    f.highest,       f.lowest, f.deviation };
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 1e-9,
                     qPrintable(QStringLiteral("field %1: %2").arg(i).arg(got[i])));
    }

    // Figures over those who sat only: the absent and those never started
    // are counted among the expected and nowhere else.
    void attendance_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("attendance");
        QTest::newRow("with a class list")
                << true << u"应考 5人，实考 4人，未开始 0人，缺考 1人"_qs;
        QTest::newRow("without one") << false << u"实考 4人"_qs;
    }

    void attendance()
    {
        QFETCH(bool, listed);
        QFETCH(QString, attendance);
        ArchivedExam exam = classOfFive();
        if (!listed)
            exam.sitting.roster.clear();
        const QVector<ExamStatistics> parts = statisticsParts(exam);
        QCOMPARE(parts.size(), 1);
        QCOMPARE(parts[0].attendance(), attendance);
        // (60 + 50 + 50 + 20) / 4 and (98 + 95 + 90 + 80) / 4; 甲 乙 丙 pass of 4.
        QCOMPARE(parts[0].speed.mean, 45.0);
        QCOMPARE(parts[0].accuracy.mean, 90.75);
        QCOMPARE(parts[0].passRate, 0.75);
        QCOMPARE(parts[0].gradeShares(u" "_qs),
                 u"优秀 1人（25.0%） 良好 2人（50.0%） 及格 0人（0.0%） 不及格 1人（25.0%）"_qs);
        const ExamSummary summary = summaryOf(exam);
        QCOMPARE(summary.examinees, 4);
        QCOMPARE(summary.meanSpeed, 45.0);
        // The page's table of who sat, with a class list only.
        QCOMPARE(statisticsPage(exam, u"春晓"_qs)
                         .contains(u"<td>全体</td><td align=right>5</td><td align=right>4</td>"
                                   u"<td align=right>0</td><td align=right>1</td>"_qs),
                 listed);
    }

    // A class named with signs keeps its name on the page; the pass rate
    // stands in its own cell.
    // 历次考试's 及格率: none for an exam nobody sat, 0% when the one who sat failed.
    void passRateListed_data()
    {
        QTest::addColumn<qint16>("timePass");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nobody sat") << qint16(0) << u"—"_qs;
        QTest::newRow("one sat and failed") << qint16(300) << u"0%"_qs;
    }

    void passRateListed()
    {
        QFETCH(qint16, timePass);
        QFETCH(QString, shown);
        ArchivedExam exam;
        exam.rows.append(row(u"一班"_qs, 5, 50, timePass));
        ExamListModel model;
        model.setExams(std::nullopt, { summaryOf(exam) });
        QCOMPARE(model.index(0, ExamListModel::PassRate).data().toString(), shown);
    }

    void departmentNamedWithSigns()
    {
        ArchivedExam exam;
        exam.sitting.scale = GradingScale::standard();
        exam.rows = { row(u"一班%1"_qs, 60, 95), row(u"一班%1"_qs, 10, 50),
                      row(u"二班"_qs, 10, 50) };
        const QString page = statisticsPage(exam, u"春晓"_qs);
        QVERIFY(page.contains(u"<td rowspan=2>一班%1</td><td>速度</td>"_qs));
        QVERIFY(page.contains(u"<td rowspan=2 align=right>50.0%</td>"_qs));  // 一班
        QVERIFY(page.contains(u"<td rowspan=2 align=right>33.3%</td>"_qs));  // 全体
    }

    // The exam's name above its page and in the questions about it.
    void examTitles_data()
    {
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QString>("article");
        QTest::addColumn<QString>("expected");
        QTest::newRow("under way") << qint64(0) << u"春晓"_qs << u"当前考试《春晓》"_qs;
        QTest::newRow("kept, the absentee not counted")
                << qint64(3) << u"春晓"_qs << u"2026-03-02 09:05 的考试《春晓》（2人）"_qs;
        QTest::newRow("article named with a sign")
                << qint64(3) << u"第%1课"_qs << u"2026-03-02 09:05 的考试《第%1课》（2人）"_qs;
    }

    void examTitles()
    {
        QFETCH(qint64, id);
        QFETCH(QString, article);
        QFETCH(QString, expected);
        ArchivedExam exam;
        exam.id = id;
        exam.sitting.articleName = article;
        exam.sitting.openedAt = QDateTime(QDate(2026, 3, 2), QTime(9, 5));
        exam.rows = { row(u"一班"_qs, 60, 95), row(u"一班"_qs, 10, 50), row(u"一班"_qs, 0, 0, 0) };
        exam.rows[2].state = ExamineeState::Absent;
        QCOMPARE(examTitle(exam), expected);
    }

    void gradesAndDepartments()
    {
        // 优秀 60/95, 良好 45/90, 及格 30/80, 不及格 below; one not started.
        const QVector<ArchivedRow> rows { row(u"甲"_qs, 60, 95), row(u"甲"_qs, 59.9, 99),
                                          row(u"乙"_qs, 30, 80), row(u"乙"_qs, 10, 100),
                                          row(u"乙"_qs, 0, 0, 0) };
        const ExamStatistics all = statisticsOf(rows, GradingScale::standard());
        QCOMPARE(all.speed.count, 4);
        QCOMPARE(all.passRate, 0.75);
        QStringList shares;
        for (const GradeCount &grade : all.grades)
            shares << QStringLiteral("%1 %2 %3").arg(grade.grade).arg(grade.count).arg(grade.share);
        QCOMPARE(shares,
                 (QStringList { u"优秀 1 0.25"_qs, u"良好 1 0.25"_qs, u"及格 1 0.25"_qs,
                                u"不及格 1 0.25"_qs }));
        const QVector<ExamStatistics> parts =
                statisticsByDepartment(rows, GradingScale::standard());
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts[1].department, u"乙"_qs);
        QCOMPARE(parts[1].speed.count, 2);
        QCOMPARE(parts[1].passRate, 0.5);
        QVERIFY(statisticsByDepartment(rows.mid(0, 2), GradingScale::standard()).isEmpty());
        // Bins of 10: 10 → 1, 30 → 3, 59.9 → 5, 60 → 6.
        QCOMPARE(speedHistogram(rows, 10), (QVector<int> { 0, 1, 0, 1, 0, 1, 1 }));
        QCOMPARE(speedHistogram({}, 10), QVector<int> {});
    }

    // A class over a term: each row graded by its own exam's scale; listed
    // only when every exam had a class list.
    void classOverATerm_data()
    {
        QTest::addColumn<int>("exams");  // the first of them, or both
        QTest::addColumn<bool>("secondListed");
        QTest::addColumn<QVector<double>>("expected");  // 应考, 实考, mean speed, pass rate
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("grades");
        QTest::newRow("no exam") << 0 << true << QVector<double> { 0, 0, 0, 0 } << false
                                 << QString();
        QTest::newRow("one exam, its scale")
                << 1 << true << QVector<double> { 2, 2, 40, 0.5 } << true
                << u"优秀 1人（50.0%）/良好 0人（0.0%）/及格 0人（0.0%）/不及格 1人（50.0%）"_qs;
        QTest::newRow("two scales, one without a list")
                << 2 << false << QVector<double> { 4, 3, 40, 2.0 / 3 } << false
                << u"优秀 1人（33.3%）/良好 0人（0.0%）/及格 0人（0.0%）/不及格 1人（33.3%）/"
                   "合格 1人（33.3%）/不合格 0人（0.0%）"_qs;
        QTest::newRow("two scales, both listed")
                << 2 << true << QVector<double> { 4, 3, 40, 2.0 / 3 } << true
                << u"优秀 1人（33.3%）/良好 0人（0.0%）/及格 0人（0.0%）/不及格 1人（33.3%）/"
                   "合格 1人（33.3%）/不合格 0人（0.0%）"_qs;
    }

    void classOverATerm()
    {
        QFETCH(int, exams);
        QFETCH(bool, secondListed);
        QFETCH(QVector<double>, expected);
        QFETCH(bool, listed);
        QFETCH(QString, grades);
        ArchivedExam first;
        first.sitting.roster = u"一班\t01\t甲\n一班\t02\t乙\n"_qs;
        first.rows = { row(u"一班"_qs, 60, 98), row(u"一班"_qs, 20, 80) };
        first.rows[0].examNumber = u"01"_qs;
        first.rows[0].name = u"甲"_qs;
        first.rows[1].examNumber = u"02"_qs;
        first.rows[1].name = u"乙"_qs;
        // 40 at 90 is only 不及格 by the standard scale, 合格 by its own.
        ArchivedExam second;
        second.sitting.scale =
                *GradingScale::fromText(u"合格\t30\t0\t60\n不合格\t0\t0\t0\n"_qs).scale;
        second.sitting.roster = secondListed ? u"一班\t03\t丙\n一班\t04\t丁\n"_qs : QString();
        second.rows = { row(u"一班"_qs, 40, 90), row(u"一班"_qs, 0, 0, 0) };
        second.rows[0].examNumber = u"03"_qs;
        second.rows[0].name = u"丙"_qs;
        second.rows[1].examNumber = u"04"_qs;
        second.rows[1].name = u"丁"_qs;
        const ClassTerm term { u"一班"_qs, QVector<ArchivedExam> { first, second }.mid(0, exams) };
        const ExamStatistics statistics = statisticsOf(term);
        QCOMPARE(statistics.department, u"一班"_qs);
        QCOMPARE(statistics.people.expected(), int(expected[0]));
        QCOMPARE(statistics.people.sat, int(expected[1]));
        QCOMPARE(statistics.speed.mean, expected[2]);
        QVERIFY(qAbs(statistics.passRate - expected[3]) < 1e-9);
        QCOMPARE(statistics.listed, listed);
        QCOMPARE(statistics.gradeShares(u"/"_qs), grades);
    }

    // Each examinee over three exams: two rows of one exam give one result,
    // 缺考 and 未开始 where there is no result; a trend from two exams sat,
    // none from one, no figures from none.
    void examineesOverATerm()
    {
        const GradingScale scale = GradingScale::standard();
        const auto sat = [](const QString &name, double speed, ExamineeState state) {
            ArchivedRow sat =
                    row(u"一班"_qs, speed, 100, state == ExamineeState::Waiting ? 0 : 300);
            sat.examNumber = name;
            sat.name = name;
            sat.state = state;
            return sat;
        };
        const ExamineeState done = ExamineeState::Finished;
        const QVector<QVector<ArchivedRow>> exams {
            { sat(u"甲"_qs, 50, done), sat(u"乙"_qs, 0, ExamineeState::Absent),
              sat(u"丁"_qs, 0, ExamineeState::Absent) },
            // Twice in one exam, the slower first: the faster stands.
            { sat(u"甲"_qs, 40, done), sat(u"甲"_qs, 60, done), sat(u"乙"_qs, 30, done) },
            { sat(u"甲"_qs, 0, ExamineeState::Waiting), sat(u"乙"_qs, 45, done),
              sat(u"丙"_qs, 20, done) },
        };
        TermExaminees term(int(exams.size()));
        for (int e = 0; e < exams.size(); ++e) {
            for (const ArchivedRow &one : exams[e])
                term.add(e, one, scale);
        }
        QStringList got;
        for (const TermExaminee &examinee : term.examinees()) {
            QStringList line { examinee.name };
            for (int e = 0; e < exams.size(); ++e)
                line << (examinee.results[e] ? QString::number(examinee.results[e]->first)
                                             : examinee.notSat[e]);
            if (const auto figures = speedFiguresOf(examinee))
                line << QString::number(figures->best) << QString::number(figures->mean)
                     << (figures->trend ? QString::number(*figures->trend) : u"-"_qs);
            got << line.join(u' ');
        }
        QCOMPARE(got,
                 (QStringList { u"甲 50 60 未开始 60 55 10"_qs, u"乙 缺考 30 45 45 37.5 15"_qs,
                                u"丁 缺考  "_qs, u"丙   20 20 20 -"_qs }));
    }
};

QTEST_GUILESS_MAIN(TestExamStatistics)
#include "tst_examstatistics.moc"
