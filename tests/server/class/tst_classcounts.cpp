// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The counts line of the live class: people, not rows, and a record its
// examinee did not sign counts for nobody, not even to leave the absent.
#include "class/liveclass.h"
#include "stats/examstatistics.h"
#include "stats/examsummary.h"
#include "testrecords.h"

#include <QtTest>

namespace {

// "01 甲 T +" per record: exam number, name, phase (W, T or F), + when
// signed by its examinee, ? when not.
QVector<CollectedResult> collected(const QString &records)
{
    QVector<CollectedResult> results;
    for (const QString &described : records.split(u';', Qt::SkipEmptyParts)) {
        const QStringList part = described.split(u' ', Qt::SkipEmptyParts);
        ResultRecord record = sampleRecord(u"一班"_qs, part.at(0), part.at(1));
        const auto phase = part.at(2) == u"W" ? ResultProgress::Phase::Waiting
                : part.at(2) == u"T"          ? ResultProgress::Phase::Typing
                                              : ResultProgress::Phase::Finished;
        record.progress = ResultProgress { 2, u"s"_qs + QString::number(results.size()), phase, 1 };
        CollectedResult result;
        result.record = record;
        result.accuracyLine = u"98.5"_qs;
        result.signature =
                part.at(3) == u"+" ? RecordKeys::Verdict::Signed : RecordKeys::Verdict::Unsigned;
        results << result;
    }
    return results;
}

}  // namespace

class TestClassCounts : public QObject
{
    Q_OBJECT

private slots:
    void countsPeopleWhoseRecordsAreTheirs_data()
    {
        QTest::addColumn<QString>("roster");  // numbers and names, ";"-separated; empty: none
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("counts");  // logged in, typing, finished, absent
        QTest::newRow("one finished") << QString() << u"01 甲 F +"_qs << u"1 0 1 0"_qs;
        QTest::newRow("one real, one forged finish of the same person")
                << QString() << u"01 甲 T +;01 甲 F ?"_qs << u"1 1 0 0"_qs;
        QTest::newRow("a forged finish of an absent examinee")
                << u"01 甲;02 乙"_qs << u"01 甲 F +;02 乙 F ?"_qs << u"1 0 1 1"_qs;
        QTest::newRow("a forged wait of an absent examinee")
                << u"01 甲;02 乙"_qs << u"02 乙 W ?"_qs << u"0 0 0 2"_qs;
        QTest::newRow("a forgery of someone not listed")
                << u"01 甲"_qs << u"09 丁 F ?"_qs << u"0 0 0 1"_qs;
        QTest::newRow("two real sessions of one person")
                << QString() << u"01 甲 F +;01 甲 T +"_qs << u"1 1 1 0"_qs;
        QTest::newRow("two people, one waiting")
                << u"01 甲;02 乙"_qs << u"01 甲 W +;02 乙 F +"_qs << u"2 0 1 0"_qs;
    }
    void countsPeopleWhoseRecordsAreTheirs()
    {
        QFETCH(QString, roster);
        QFETCH(QString, records);
        QFETCH(QString, counts);
        LiveClass live;
        if (!roster.isEmpty()) {
            QVector<QStringList> rows { { u"部门"_qs, u"考号"_qs, u"姓名"_qs } };
            for (const QString &entry : roster.split(u';'))
                rows << (QStringList { u"一班"_qs } + entry.split(u' '));
            live.setRoster(ClassRoster::fromRows(rows).roster);
            QVERIFY(live.roster());
        }
        live.update(collected(records), ExamFacts { 600, 900, true });
        const ClassCounts shown = live.counts();
        QCOMPARE(u"%1 %2 %3 %4"_qs.arg(shown.loggedIn)
                         .arg(shown.typing)
                         .arg(shown.finished)
                         .arg(shown.people.absent),
                 counts);
    }

    // 应考, 实考, 未开始 and 缺考: live, and from the rows as the archive keeps
    // them (each state's word, 缺考 for the listed never logged in).
    void attendanceLiveAndKept_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("attendance");
        QTest::newRow("each state, a forgery of the absent, a stranger")
                << u"01 甲 F +;02 乙 T +;03 丙 W +;04 丁 F ?;09 戊 F +"_qs
                << u"应考 4人，实考 2人，未开始 1人，缺考 1人"_qs;
        QTest::newRow("a wait, then a finish of one person")
                << u"01 甲 W +;01 甲 F +"_qs << u"应考 4人，实考 1人，未开始 0人，缺考 3人"_qs;
    }
    void attendanceLiveAndKept()
    {
        QFETCH(QString, records);
        QFETCH(QString, attendance);
        LiveClass live;
        QVector<QStringList> listed { { u"部门"_qs, u"考号"_qs, u"姓名"_qs } };
        ArchivedExam kept;
        for (const QString &entry : { u"01 甲"_qs, u"02 乙"_qs, u"03 丙"_qs, u"04 丁"_qs }) {
            listed << (QStringList { u"一班"_qs } + entry.split(u' '));
            kept.sitting.roster += u"一班\t"_qs + entry.split(u' ').join(u'\t') + u'\n';
        }
        live.setRoster(ClassRoster::fromRows(listed).roster);
        live.update(collected(records), ExamFacts { 600, 900, true });
        QCOMPARE(live.counts().people.line(true), attendance);
        for (const ClassViewRow &shown : live.rows())
            kept.rows << ArchivedRow { shown, shown.state, shown.doubts };
        QCOMPARE(statisticsOf(kept.rows, kept.sitting.scale, kept.sitting.roster).attendance(),
                 attendance);
        QCOMPARE(statisticsOf(ClassTerm { u"一班"_qs, { kept } }).attendance(), attendance);
        QCOMPARE(summaryOf(kept).examinees, live.counts().people.sat);
    }

    // Typed in full-width forms, an examinee is the list's one person, in
    // the list's spelling; an unlisted spelling stays as typed.
    void listSpellingIsShown()
    {
        LiveClass live;
        live.setRoster(ClassRoster::fromRows({ { u"部门"_qs, u"考号"_qs, u"姓名"_qs },
                                               { u"初二(3)班"_qs, u"A18"_qs, u"朱十"_qs } })
                               .roster);
        QVERIFY(live.roster());
        CollectedResult typed;
        typed.record = sampleRecord(u"初二（3）班"_qs, u"Ａ１８ "_qs, u"朱十"_qs);
        typed.record.progress = ResultProgress { 2, u"s"_qs, ResultProgress::Phase::Finished, 1 };
        CollectedResult other = typed;
        other.record.department = u"初二【3】班"_qs;
        live.update({ typed, other }, ExamFacts { 600, 900, true });
        QCOMPARE(live.rows().size(), 2);
        QStringList shown;
        for (const ClassViewRow &row : live.rows())
            shown << row.department + u'/' + row.examNumber + u'/' + row.name;
        shown.sort();
        QCOMPARE(shown, (QStringList { u"初二(3)班/A18/朱十"_qs, u"初二【3】班/A18/朱十"_qs }));
        QCOMPARE(live.counts().people.absent, 0);
    }

    void forgeryWhoseFileWentStaysNobodys()
    {
        LiveClass live;
        const QVector<CollectedResult> results = collected(u"01 甲 F +;02 乙 F ?"_qs);
        live.update(results, {});
        // Both files gone: their rows stay with their last figures.
        live.update({}, {}, { { results.at(0).row(1), true }, { results.at(1).row(2), true } });
        const ClassCounts shown = live.counts();
        QCOMPARE(shown.loggedIn, 1);
        QCOMPARE(shown.finished, 1);
        QCOMPARE(live.rows().at(1).state, ExamineeState::Waiting);
    }
};

QTEST_MAIN(TestClassCounts)
#include "tst_classcounts.moc"
