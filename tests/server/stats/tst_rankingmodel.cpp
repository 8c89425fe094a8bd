// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking of an exam as the 排名 tab and the PDF report show it: the
// grade and score by the exam's own scale on each side of a threshold, a
// row not started, the places and the empty table.
#include "stats/rankingmodel.h"

#include <QtTest>

namespace {

// Two grades: 达标 from speed 40 and accuracy 90, else 未达标.
GradingScale twoGrades()
{
    return *GradingScale::fromText(QStringLiteral("达标\t40\t90\t100\n未达标\t0\t0\t60.5\n")).scale;
}

ArchivedRow row(double speed, const QString &accuracyLine, qint16 timePass)
{
    ArchivedRow row;
    row.department = QStringLiteral("计算机1班");
    row.examNumber = QStringLiteral("2026001");
    row.name = QStringLiteral("考生");
    row.speed = speed;
    row.accuracyLine = accuracyLine;
    row.timePass = timePass;
    row.state = QStringLiteral("已交卷");
    row.doubts = QStringLiteral("粘贴");
    return row;
}

}  // namespace

class TestRankingModel : public QObject
{
    Q_OBJECT

private slots:
    void gradeAndScore_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("accuracyLine");
        QTest::addColumn<qint16>("timePass");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("score");
        QTest::newRow("at both thresholds")
                << 40.0 << u"90"_qs << qint16(300) << u"达标"_qs << u"100"_qs;
        QTest::newRow("speed just below")
                << 39.9 << u"95"_qs << qint16(300) << u"未达标"_qs << u"60.5"_qs;
        QTest::newRow("accuracy just below")
                << 80.0 << u"89.9"_qs << qint16(300) << u"未达标"_qs << u"60.5"_qs;
        QTest::newRow("not started") << 0.0 << u"0"_qs << qint16(0) << QString() << QString();
    }

    void gradeAndScore()
    {
        QFETCH(double, speed);
        QFETCH(QString, accuracyLine);
        QFETCH(qint16, timePass);
        QFETCH(QString, grade);
        QFETCH(QString, score);
        ArchivedExam exam;
        exam.sitting.scale = twoGrades();
        exam.rows = { row(speed, accuracyLine, timePass) };
        RankingModel model;
        model.setExam(&exam);
        QCOMPARE(model.index(0, RankingModel::Grade).data().toString(), grade);
        QCOMPARE(model.index(0, RankingModel::Score).data().toString(), score);
    }

    void rowsInRankOrder()
    {
        ArchivedExam exam;
        exam.rows = { row(61.5, u"97.25"_qs, 600), row(12, u"80"_qs, 45) };
        RankingModel model;
        model.setExam(&exam);
        QCOMPARE(model.rowCount(), 2);
        QStringList first;
        for (int column = 0; column < model.columnCount(); ++column)
            first << model.index(0, column).data().toString();
        QCOMPARE(first,
                 (QStringList { u"1"_qs, u"计算机1班"_qs, u"2026001"_qs, u"考生"_qs, u"61.50"_qs,
                                u"97.25"_qs, u"600"_qs, u"优秀"_qs, u"95"_qs, u"已交卷"_qs,
                                u"粘贴"_qs }));
        QCOMPARE(model.index(1, RankingModel::Place).data().toString(), u"2"_qs);
        QCOMPARE(model.index(1, RankingModel::Grade).data().toString(), u"不及格"_qs);
        QCOMPARE(model.headerData(RankingModel::Score, Qt::Horizontal, Qt::DisplayRole),
                 QVariant(u"得分"_qs));

        model.setExam(nullptr);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 11);
    }
};

QTEST_MAIN(TestRankingModel)
#include "tst_rankingmodel.moc"
