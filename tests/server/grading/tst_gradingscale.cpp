// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The grading scale: grades at and beside the thresholds, the reasons a
// typed scale is refused, and its file.
#include "testfiles.h"

#include "grading/gradingscale.h"
#include "settings/consolepreferences.h"

#include <QTemporaryDir>
#include <QtTest>

class TestGradingScale : public QObject
{
    Q_OBJECT

private slots:
    void grades_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("accuracy");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<bool>("passes");
        // The standard scale: 优秀 60/95, 良好 45/90, 及格 30/80, 不及格 0/0.
        QTest::newRow("exactly at 优秀") << 60.0 << 95.0 << u"优秀"_qs << true;
        QTest::newRow("fast, accuracy just short") << 120.0 << 94.99 << u"良好"_qs << true;
        QTest::newRow("exactly at 及格") << 30.0 << 80.0 << u"及格"_qs << true;
        QTest::newRow("speed just short of 及格") << 29.99 << 100.0 << u"不及格"_qs << false;
        QTest::newRow("nothing typed") << 0.0 << 0.0 << u"不及格"_qs << false;
    }

    void grades()
    {
        QFETCH(double, speed);
        QFETCH(double, accuracy);
        QFETCH(QString, grade);
        QFETCH(bool, passes);
        const GradingScale scale = GradingScale::standard();
        const std::optional<int> index = scale.gradeOf(speed, accuracy);
        QCOMPARE(scale.nameOf(index), grade);
        QCOMPARE(scale.passes(index), passes);
    }

    void gradesResults_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("accuracyLine");
        QTest::addColumn<int>("timePass");
        QTest::addColumn<QString>("grade");  // empty: none
        QTest::newRow("speed just under 及格") << 29.99 << u"100"_qs << 600 << u"不及格"_qs;
        QTest::newRow("speed at 及格") << 30.0 << u"80"_qs << 600 << u"及格"_qs;
        QTest::newRow("accuracy just under 良好") << 45.0 << u"89.99"_qs << 600 << u"及格"_qs;
        QTest::newRow("accuracy at 良好, blanks around") << 45.0 << u" 90 "_qs << 600 << u"良好"_qs;
        QTest::newRow("not started") << 99.0 << u"100"_qs << 0 << u""_qs;
        QTest::newRow("one second in") << 99.0 << u"100"_qs << 1 << u"优秀"_qs;
        QTest::newRow("accuracy line that is no number")
                << 99.0 << u"100%"_qs << 600 << u"不及格"_qs;
    }

    void gradesResults()
    {
        QFETCH(double, speed);
        QFETCH(QString, accuracyLine);
        QFETCH(int, timePass);
        QFETCH(QString, grade);
        ResultCore result;
        result.speed = speed;
        result.accuracyLine = accuracyLine;
        result.timePass = static_cast<qint16>(timePass);
        const GradingScale scale = GradingScale::standard();
        const std::optional<int> index = scale.gradeOf(result);
        QCOMPARE(index.has_value(), !grade.isEmpty());
        QCOMPARE(scale.nameOf(index), grade);
    }

    void typedScales_data()
    {
        QTest::addColumn<QString>("typed");  // rows by "\n", cells by "|"
        QTest::addColumn<QString>("problem");  // a part of the reason; empty: accepted
        QTest::newRow("two grades, none below the last") << "合格|20|80|60\n补考|10|0|0"
                                                         << "";
        QTest::newRow("empty") << ""
                               << "至少要有一个等级";
        QTest::newRow("negative") << "A|-1|0|0"
                                  << "第1行：速度、正确率和得分不能是负数";
        QTest::newRow("accuracy above 100") << "A|0|100.5|0"
                                            << "第1行：最低正确率不能超过100%";
        QTest::newRow("not a number") << "A|快|0|0"
                                      << "第1行：最低速度“快”不是数字";
        QTest::newRow("no name") << " |0|0|0"
                                 << "第1行：等级名称不能为空";
        QTest::newRow("same name twice") << "A|50|90|9\nA|0|0|0"
                                         << "第2行：等级“A”重复";
        QTest::newRow("a grade asking more than the one above")
                << "A|50|90|9\nB|60|80|5"
                << "第2行：等级“B”的要求高于它上面的等级“A”";
        QTest::newRow("never reached") << "A|50|90|9\nB|50|90|5"
                                       << "永远评不到";
        QTest::newRow("scoring above the one above") << "A|50|90|5\nB|40|90|9"
                                                     << "得分高于";
    }

    void typedScales()
    {
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QVector<QStringList> table;
        for (const QString &row : typed.split(u'\n', Qt::SkipEmptyParts))
            table.append(row.split(u'|'));
        const GradingScale::Reading reading = GradingScale::fromTable(table);
        QCOMPARE(reading.scale.has_value(), problem.isEmpty());
        QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    }

    void keptInItsFile()
    {
        QTemporaryDir dir;
        QCOMPARE(GradingScale::load(dir.path()).scale, GradingScale::standard());
        const auto typed = GradingScale::fromTable({ { u"甲"_qs, u"40.5"_qs, u"92"_qs, u"90"_qs },
                                                     { u"乙"_qs, u"0"_qs, u"0"_qs, u"60"_qs } });
        QVERIFY(typed.scale);
        QCOMPARE(typed.scale->save(dir.path()), QString());
        QCOMPARE(GradingScale::load(dir.path()).scale, typed.scale);
        // A file edited into nonsense is named, not silently replaced.
        QVERIFY(writeFile(dir.filePath(u"pf.txt"_qs), "甲\t1\t200\t0\n"));
        const GradingScale::Reading broken = GradingScale::load(dir.path());
        QVERIFY(!broken.scale);
        QVERIFY(broken.problem.contains(ConsolePreferences::fileName()));
    }
};

QTEST_GUILESS_MAIN(TestGradingScale)
#include "tst_gradingscale.moc"
