// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking of an exam as the 排名 tab and the PDF report show it: the
// grade and score by the exam's own scale on each side of a threshold, a
// row not started, the places (equal speeds sharing one, none for the
// absent and the unfinished) and the empty table.
#include "keptexams.h"

#include "stats/rankingmodel.h"

#include <QRegularExpression>
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
    row.state = ExamineeState::Finished;
    row.doubts = QStringList { QStringLiteral("粘贴") };
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

    void places_data()
    {
        QTest::addColumn<QString>("rows");  // speed and state of each row: "60已交卷 50答题中"
        QTest::addColumn<QString>("places");  // "-" for none
        QTest::newRow("a tie after the first, the unfinished and the absent")
                << u"60已交卷 50已交卷 50已交卷 20答题中 0缺考"_qs << u"1 2 2 - -"_qs;
        QTest::newRow("a tie at the top") << u"50已交卷 50已交卷 40已交卷"_qs << u"1 1 3"_qs;
        QTest::newRow("unfinished faster than the finished")
                << u"90答题中 70中断 60已交卷 0未开始"_qs << u"- - 1 -"_qs;
        QTest::newRow("nobody finished") << u"0缺考 30答题中"_qs << u"- -"_qs;
        // "?" marks a row in doubt: placed by nobody until judged.
        QTest::newRow("the fastest in doubt")
                << u"90已交卷? 60已交卷 60已交卷 50答题中?"_qs << u"— 1 1 -"_qs;
    }

    void places()
    {
        QFETCH(QString, rows);
        QFETCH(QString, places);
        QVector<ArchivedRow> exam;
        for (const QString &shown : rows.split(u' ')) {
            const qsizetype digits = shown.indexOf(QRegularExpression(u"\\D"_qs));
            exam.append(row(shown.left(digits).toDouble(), u"95"_qs, 600));
            QString word = shown.mid(digits);
            exam.last().doubts.clear();
            if (word.endsWith(u'?')) {
                word.chop(1);
                exam.last().doubts = QStringList { u"没有考试过程记录"_qs };
            }
            exam.last().state = keptStateNamed(word);
        }
        QStringList placed;
        const QVector<std::optional<int>> found = placesOf(exam);
        for (int i = 0; i < exam.size(); ++i) {
            const QString cell = placeText(exam.at(i), found.at(i));
            placed << (cell.isEmpty() ? u"-"_qs : cell);
        }
        QCOMPARE(placed.join(u' '), places);
    }

    void rowsInRankOrder()
    {
        ArchivedExam exam;
        // The faster result is in doubt: placed by nobody, the other first.
        exam.rows = { row(61.5, u"97.25"_qs, 600), row(12, u"80"_qs, 45) };
        exam.rows[1].doubts.clear();
        RankingModel model;
        model.setExam(&exam);
        QCOMPARE(model.rowCount(), 2);
        QStringList first;
        for (int column = 0; column < model.columnCount(); ++column)
            first << model.index(0, column).data().toString();
        QCOMPARE(first,
                 (QStringList { u"—"_qs, u"计算机1班"_qs, u"2026001"_qs, u"考生"_qs, u"61.50"_qs,
                                u"97.25"_qs, u"600"_qs, u"优秀"_qs, u"95"_qs, u"存疑"_qs,
                                u"粘贴"_qs }));
        QCOMPARE(model.index(1, RankingModel::Place).data().toString(), u"1"_qs);
        QCOMPARE(model.index(1, RankingModel::Accuracy).data().toString(), u"80.00"_qs);
        QCOMPARE(model.index(1, RankingModel::State).data().toString(), u"已交卷"_qs);
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
