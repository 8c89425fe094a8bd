// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A grade-wide exam as one exam: the figures per class and per lab and
// the places across the grade, worked out by hand.
#include "keptexams.h"

#include "stats/gradewideexam.h"

#include <QtTest>

namespace {

struct Shown
{
    const char16_t *department;
    const char16_t *name;
    double speed;
    const char16_t *state;
};

ArchivedExam keptIn(const QString &lab, int hour, bool listed, std::initializer_list<Shown> shown)
{
    ArchivedExam exam;
    exam.sitting.lab = lab;
    exam.sitting.articleName = u"春晓"_qs;
    exam.sitting.examMinutes = 10;
    exam.sitting.openedAt = QDateTime(QDate(2026, 3, 2), QTime(hour, 0));
    for (const Shown &one : shown) {
        ArchivedRow row;
        row.department = QString::fromUtf16(one.department);
        row.name = QString::fromUtf16(one.name);
        row.examNumber = row.name;
        row.speed = one.speed;
        row.timePass = one.speed > 0 ? 600 : 0;
        row.accuracyLine = u"95"_qs;
        row.state = keptStateNamed(QString::fromUtf16(one.state));
        exam.rows.append(row);
        if (listed)
            exam.sitting.roster += row.department + u'\t' + row.name + u'\t' + row.name + u'\n';
    }
    return exam;
}

// Three labs; 高一(10)班 sat in two of them, the third lab had no class list.
GradeWideExam grade()
{
    return GradeWideExam({
            keptIn(u"机房A"_qs, 9, true,
                   { { u"高一(10)班", u"甲", 60, u"已交卷" },
                     { u"高一(10)班", u"乙", 50, u"已交卷" },
                     { u"高一(10)班", u"丙", 0, u"缺考" } }),
            keptIn(u"机房B"_qs, 8, true,
                   { { u"高一(2)班", u"丁", 70, u"已交卷" },
                     { u"高一(2)班", u"戊", 50, u"已交卷" },
                     { u"高一(2)班", u"己", 30, u"答题中" } }),
            keptIn(u"机房C"_qs, 10, false, { { u"高一(10)班", u"庚", 55, u"已交卷" } }),
    });
}

}  // namespace

class TestGradeWideExam : public QObject
{
    Q_OBJECT

private slots:
    void placesAcrossTheGrade()
    {
        const GradeWideExam exam = grade();
        QVERIFY(exam.isGradeWide());
        QVERIFY(!GradeWideExam({ keptIn(u"机房A"_qs, 9, true, {}) }).isGradeWide());
        // Equal speeds share a place and keep the labs' order; one still
        // typing and one absent have none, the absent last.
        const QStringList names { u"丁"_qs, u"甲"_qs, u"庚"_qs, u"乙"_qs,
                                  u"戊"_qs, u"己"_qs, u"丙"_qs };
        const QVector<std::optional<int>> places { 1, 2, 3, 4, 4, std::nullopt, std::nullopt };
        const QStringList labs { u"机房B"_qs, u"机房A"_qs, u"机房C"_qs, u"机房A"_qs,
                                 u"机房B"_qs, u"机房B"_qs, u"机房A"_qs };
        QCOMPARE(exam.ranking().size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(exam.ranking()[i].row.name, names[i]);
            QCOMPARE(exam.ranking()[i].place, places[i]);
            QCOMPARE(exam.ranking()[i].lab, labs[i]);
            QCOMPARE(exam.asOneExam().rows[i].name, names[i]);
        }
        // The exam held first stands for the grade.
        QCOMPARE(exam.sitting().lab, u"机房B"_qs);
        QVERIFY2(exam.titleLine().contains(u"2026-03-02 上午　考试时间 10分钟　3个机房　2个班"),
                 qPrintable(exam.titleLine()));
    }

    void figuresPerPart_data()
    {
        QTest::addColumn<QString>("part");  // empty: the whole grade
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("sat");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("highest");
        // Those who sat: 60, 50, 70, 50, 30 and 55.
        QTest::newRow("grade") << QString() << 7 << 6 << false << 52.5 << 70.0;
        // Numbers in a name sort as numbers; a class is listed when every
        // lab it sat in had its list.
        QTest::newRow("class 2") << u"高一(2)班"_qs << 3 << 3 << true << 50.0 << 70.0;
        QTest::newRow("class 10") << u"高一(10)班"_qs << 4 << 3 << false << 55.0 << 60.0;
        QTest::newRow("lab A") << u"机房A"_qs << 3 << 2 << true << 55.0 << 60.0;
        QTest::newRow("lab B") << u"机房B"_qs << 3 << 3 << true << 50.0 << 70.0;
        QTest::newRow("lab C") << u"机房C"_qs << 1 << 1 << false << 55.0 << 55.0;
    }

    void figuresPerPart()
    {
        QFETCH(QString, part);
        QFETCH(int, expected);
        QFETCH(int, sat);
        QFETCH(bool, listed);
        QFETCH(double, mean);
        QFETCH(double, highest);
        const GradeWideExam exam = grade();
        QCOMPARE(exam.classes().size(), 2);
        QCOMPARE(exam.classes()[0].name, u"高一(2)班"_qs);
        QCOMPARE(exam.labs().size(), 3);
        std::optional<ExamStatistics> statistics;
        if (part.isEmpty())
            statistics = exam.whole();
        for (const NamedStatistics &one : exam.classes() + exam.labs()) {
            if (one.name == part)
                statistics = one.statistics;
        }
        QVERIFY(statistics);
        QCOMPARE(statistics->people.expected(), expected);
        QCOMPARE(statistics->people.sat, sat);
        QCOMPARE(statistics->listed, listed);
        QCOMPARE(statistics->speed.mean, mean);
        QCOMPARE(statistics->speed.highest, highest);
    }
};

QTEST_GUILESS_MAIN(TestGradeWideExam)
#include "tst_gradewideexam.moc"
