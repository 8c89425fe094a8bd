// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The answer sheet as the examiner reads it: each wrong place with what was
// typed there, extra typing at the end, and the session's wording. A text
// typed to its end is complete: the final line break, which nobody types,
// leaves neither the 进度 column short of 100 % nor anything 未打. A
// keystroke timeline marks the row when it looks machine-typed, gives the
// live tooltip the last minute's speed, and the sheet its curve and replay.
#include "class/answersheetpage.h"
#include "class/classtablemodel.h"
#include "testrecords.h"
#include "timeline/recordtimeline.h"
#include "typingruns.h"

#include <QtTest>

namespace {

using Mark = AnswerSheetPage::Mark;
using Piece = AnswerSheetPage::Piece;

const QByteArray kDigest = QByteArrayLiteral("digest");
// 80 Chinese characters, 20 signs and 4 line breaks.
const QString kTyped = [] {
    QString text;
    for (int i = 0; i < 4; ++i)
        text += u"春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\n"_qs;
    return text;
}();

ExamFacts facts(const QString &published)
{
    ExamFacts exam;
    exam.examSeconds = 600;
    exam.publishedText = published;
    exam.publishedDigest = kDigest;
    return exam;
}

CollectedResult typedResult(const QString &typed, qint32 resumes = 0)
{
    CollectedResult result;
    result.record.timePass = 300;
    result.record.answerSheet = AnswerSheet { kDigest, 10, resumes, typed };
    return result;
}

Piece piece(Mark mark, const QString &text, const QString &typed = {}, const QString &note = {})
{
    return { mark, text, typed, note };
}

}  // namespace

Q_DECLARE_METATYPE(QVector<Piece>)
Q_DECLARE_METATYPE(KeyTimeline)

class TestAnswerSheetPage : public QObject
{
    Q_OBJECT

private slots:
    void wrongPlacesSayWhatWasTyped_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVector<Piece>>("pieces");
        QTest::addColumn<QString>("beyond");
        QTest::newRow("nothing wrong") << u"现代\r\n中国"_qs << u"现代\r\n中"_qs
                                       << QVector<Piece> { piece(Mark::Right, u"现代\n中"_qs),
                                                           piece(Mark::Missing, u"国"_qs) }
                                       << QString();
        QTest::newRow("a wrong character")
                << u"现代中国"_qs << u"现在中国"_qs
                << QVector<Piece> { piece(Mark::Right, u"现"_qs),
                                    piece(Mark::Wrong, u"代"_qs, u"在"_qs,
                                          u"应为“代”，打成“在”"_qs),
                                    piece(Mark::Right, u"中国"_qs) }
                << QString();
        QTest::newRow("two wrong in a row, each its own place")
                << u"甲乙丙"_qs << u"甲丁戊"_qs
                << QVector<Piece> { piece(Mark::Right, u"甲"_qs),
                                    piece(Mark::Wrong, u"乙"_qs, u"丁"_qs,
                                          u"应为“乙”，打成“丁”"_qs),
                                    piece(Mark::Wrong, u"丙"_qs, u"戊"_qs,
                                          u"应为“丙”，打成“戊”"_qs) }
                << QString();
        QTest::newRow("a wrong line break")
                << u"甲乙\r\n丙"_qs << u"甲乙。丙"_qs
                << QVector<Piece> { piece(Mark::Right, u"甲乙"_qs),
                                    piece(Mark::Wrong, u"↵\n"_qs, u"。丙"_qs,
                                          u"应为换行，打成“。丙”"_qs),
                                    piece(Mark::Missing, u"丙"_qs) }
                << QString();
        QTest::newRow("a line break where a character belongs")
                << u"甲乙丙"_qs << u"甲\r\n"_qs
                << QVector<Piece> { piece(Mark::Right, u"甲"_qs),
                                    piece(Mark::Wrong, u"乙"_qs, u"↵"_qs, u"应为“乙”，打成换行"_qs),
                                    piece(Mark::Wrong, u"丙"_qs, u"↵"_qs,
                                          u"应为“丙”，打成换行"_qs) }
                << QString();
        QTest::newRow("extra typing at the end")
                << u"甲乙"_qs << u"甲乙丙\r\n丁"_qs
                << QVector<Piece> { piece(Mark::Right, u"甲乙"_qs) } << u"丙\n丁"_qs;
    }

    void wrongPlacesSayWhatWasTyped()
    {
        QFETCH(QString, published);
        QFETCH(QString, typed);
        QFETCH(QVector<Piece>, pieces);
        QFETCH(QString, beyond);
        const CollectedResult result = typedResult(typed);
        const AnswerSheetPage page(ClassViewRow(), &result, facts(published));
        QCOMPARE(page.notice(), QString());
        QCOMPARE(page.pieces(), pieces);
        QCOMPARE(page.typedBeyond(), beyond);
    }

    // Five minutes of typing: the first slip, the aligned speed and accuracy.
    void slipIsShownWithAlignedFigures_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("line");
        const QString poem = u"春眠不觉晓，处处闻啼鸟。"_qs;
        const QString aligned = u"。\n按对齐计算，速度约为2.20字／分钟，正确率约为"_qs;
        const QString aside = u"％（仅供参考，成绩仍按逐字比较）"_qs;
        const QString shifted = u"，此后的字都错开了一位"_qs;
        QTest::newRow("none") << poem << poem << QString();
        QTest::newRow("wrong") << poem << u"春眠不决晓，处处闻啼鸟。"_qs << QString();
        QTest::newRow("missing") << poem << u"春眠觉晓，处处闻啼鸟。"_qs
                                 << u"第3个字处漏打了“不”"_qs + shifted + aligned + u"91.67"_qs
                        + aside;
        // Where the typing stops one character after a gap cannot tell it
        // from a wrong one; two can.
        QTest::newRow("missing, two after")
                << poem << u"春眠不觉晓，处处闻鸟。"_qs
                << u"第10个字处漏打了“啼”"_qs + shifted + aligned + u"91.67"_qs + aside;
        QTest::newRow("missing, one after") << poem << u"春眠不觉晓，处处闻啼。"_qs << QString();
        QTest::newRow("extra past the end") << poem << poem + u"了"_qs << QString();
        QTest::newRow("extra") << poem << u"春眠不的觉晓，处处闻啼鸟。"_qs
                               << u"第4个字处多打了“的”"_qs + shifted
                        + u"。\n按对齐计算，速度约为2.40字／分钟，正确率约为92.31"_qs + aside;
        QTest::newRow("line break") << u"春眠不觉晓\r\n处处闻啼鸟"_qs << u"春眠不觉晓处处闻啼鸟"_qs
                                    << u"第5个字后漏打了换行"_qs + shifted
                        + u"。\n按对齐计算，速度约为2.00字／分钟，正确率约为83.33"_qs + aside;
        // Six signs name a run whole, a longer one by its start.
        QTest::newRow("six extra, then one missing")
                << poem << u"春眠不觉一二三四五六晓，处处啼鸟。"_qs
                << u"第5个字处多打了“一二三四五六”，此后的字都错开了6位，后面还有1处多打或漏打"_qs
                        + aligned + u"61.11"_qs + aside;
        // 4160 characters; late in them the widest shift followed, 32 extra.
        const QString longText = withCrLf(kTyped).repeated(40);
        QTest::newRow("long")
                << longText << QString(longText).insert(3000, QString(32, u'x')).remove(3100, 1)
                << u"第2771个字处多打了“xxxxxx…”，此后的字都错开了32位，后面还有1处多打或漏打。\n"
                   "按对齐计算，速度约为831.80字／分钟，正确率约为99.21"_qs
                        + aside;
    }

    void slipIsShownWithAlignedFigures()
    {
        QFETCH(QString, published);
        QFETCH(QString, typed);
        QFETCH(QString, line);
        const CollectedResult result = typedResult(typed);
        QCOMPARE(AnswerSheetPage(ClassViewRow(), &result, facts(published)).slipLine(), line);
    }

    void sessionIsNamedByLogin_data()
    {
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<int>("resumes");
        QTest::addColumn<QString>("line");
        QTest::newRow("first login, no resume") << 1 << 0 << u"第1次登录 · 未续考"_qs;
        QTest::newRow("second login, one resume") << 2 << 1 << u"第2次登录 · 续考1次"_qs;
        QTest::newRow("a record naming no session") << 0 << 0 << u"考试会话：未记录"_qs;
    }

    void sessionIsNamedByLogin()
    {
        QFETCH(int, ordinal);
        QFETCH(int, resumes);
        QFETCH(QString, line);
        ClassViewRow row;
        row.loginOrdinal = ordinal;
        const CollectedResult result = typedResult(u"甲"_qs, resumes);
        QCOMPARE(AnswerSheetPage(row, &result, facts(u"甲"_qs)).sessionLine(), line);
    }

    void typedToItsEnd_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("percent");  // as the 进度 column shows it
        QTest::addColumn<int>("missing");  // 未打 on the answer sheet
        const QString poem = u"春眠不觉晓\r\n处处闻啼鸟\r\n"_qs;  // 12 to type, then the break
        QTest::newRow("to the end, final break left out")
                << poem << u"春眠不觉晓\r\n处处闻啼鸟"_qs << 100 << 0;
        QTest::newRow("to the end with the final break") << poem << poem << 100 << 0;
        QTest::newRow("one character short") << poem << u"春眠不觉晓\r\n处处闻啼"_qs << 92 << 1;
        QTest::newRow("no final break, one character short")
                << u"春眠不觉晓\r\n处处闻啼鸟"_qs << u"春眠不觉晓\r\n处处闻啼"_qs << 92 << 1;
        QTest::newRow("no final break, to the end")
                << u"春眠不觉晓\r\n处处闻啼鸟"_qs << u"春眠不觉晓\r\n处处闻啼鸟"_qs << 100 << 0;
        QTest::newRow("two final breaks, one typed")
                << u"春眠不觉晓\r\n\r\n"_qs << u"春眠不觉晓\r\n"_qs << 100 << 0;
        QTest::newRow("two final breaks, none typed")
                << u"春眠不觉晓\r\n\r\n"_qs << u"春眠不觉晓"_qs << 71 << 2;
    }

    void typedToItsEnd()
    {
        QFETCH(QString, target);
        QFETCH(QString, typed);
        QFETCH(int, percent);
        QFETCH(int, missing);
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs);
        record.targetLen = qint32(target.size());
        record.typedLen = qint32(typed.size());
        record.answerSheet = AnswerSheet { "digest", 10, 0, typed };
        const ExamFacts facts { 600, record.targetLen, true, target, "digest" };
        const QVector<CollectedResult> results { { record, u"98.5"_qs, {}, 0, 0 } };
        LiveClass live;
        live.update(results, facts);
        QCOMPARE(live.rows().size(), 1);
        const ClassViewRow &row = live.rows().first();
        QVERIFY(row.progress);
        QCOMPARE(qRound(*row.progress * 100), percent);

        const AnswerSheetPage page(row, &results.first(), facts);
        QCOMPARE(page.notice(), QString());
        QVERIFY2(page.recomputedLine().endsWith(u"未打%1字"_qs.arg(missing)),
                 qPrintable(page.recomputedLine()));
        // The grey rest is exactly what is missing, each line break shown once for its CR LF.
        int grey = 0;
        for (const Piece &piece : page.pieces()) {
            if (piece.mark == Mark::Missing)
                grey += int(piece.text.size() + piece.text.count(u'\n'));
        }
        QCOMPARE(grey, missing);
    }

    void timelineOfATypingExaminee_data()
    {
        QTest::addColumn<QByteArray>("section");  // empty: an older client's record
        QTest::addColumn<QString>("doubt");  // the row's doubt, empty for none
        QTest::addColumn<bool>("lastMinute");  // the tooltip's speed
        QTest::addColumn<bool>("curve");
        QTest::addColumn<bool>("replay");
        const KeyTimeline person = typedRun(kTyped, personLikePace(11));
        QTest::newRow("an older client's record")
                << QByteArray() << QString() << false << false << false;
        QTest::newRow("a person") << keytimeline::encode(person) << QString() << true << true
                                  << true;
        QTest::newRow("coarsened") << keytimeline::encode(keytimeline::coarsened(person, 1))
                                   << QString() << true << true << false;
        QTest::newRow("Chinese without an input method")
                << keytimeline::encode(typedRun(kTyped, personLikePace(12), HanziEntry::PlainKeys))
                << u"汉字未经输入法输入（80字）"_qs << true << true << true;
        QTest::newRow("damaged") << QByteArray("damaged") << u"按键记录与成绩不符（"_qs << false
                                 << false << false;
        // A sign the sheet could not hold, kept by the timeline: its wrong
        // characters and end text would not be the sheet's.
        QTest::newRow("ends in another text")
                << keytimeline::encode(
                           typedRun(QString(kTyped).replace(2, 1, u"?"_qs), personLikePace(11)))
                << u"按键记录与成绩不符（"_qs << true << false << false;
    }

    void timelineOfATypingExaminee()
    {
        QFETCH(QByteArray, section);
        QFETCH(QString, doubt);
        QFETCH(bool, lastMinute);
        QFETCH(bool, curve);
        QFETCH(bool, replay);
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs);
        record.timePass = 120;
        record.progress = ResultProgress { 3, u"s1"_qs, ResultProgress::Phase::Typing, 100 };
        record.answerSheet = AnswerSheet { kDigest, 10, 0, withCrLf(kTyped) };
        if (!section.isEmpty())
            record.sections.push_back({ keytimeline::kSectionName.toString(), section });
        const QVector<CollectedResult> results { { record, u"98.5"_qs, {}, 0, 0 } };
        LiveClass live;
        live.update(results, facts(withCrLf(kTyped)));
        const ClassViewRow &row = live.rows().first();
        const QStringList timelineDoubts =
                row.doubts.filter(u"按键"_qs) + row.doubts.filter(u"汉字"_qs);
        QCOMPARE(timelineDoubts.size(), doubt.isEmpty() ? 0 : 1);
        if (!doubt.isEmpty())
            QVERIFY2(timelineDoubts.first().startsWith(doubt), qPrintable(timelineDoubts.first()));
        ClassTableModel model;
        model.setRows(live.rows());
        const QString tip = model.index(0, ClassTableModel::State).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.contains(u"最近一分钟速度"_qs), lastMinute);
        const AnswerSheetPage page(row, &results.first(), facts(withCrLf(kTyped)));
        QCOMPARE(bool(page.curve()), curve);
        QCOMPARE(bool(page.replay()), replay);
        QCOMPARE(page.timelineNotice().isEmpty(), curve && replay);
        if (replay)
            QCOMPARE(withCrLf(page.replay()->textAt(page.curve()->endMs())), withCrLf(kTyped));
    }

    void lastMinuteSpeedInTheTooltip()
    {
        // 100 characters over the last minute, two minutes into the exam.
        KeyTimeline run;
        for (int i = 0; i < 100; ++i) {
            run.keys.push_back({ 60000 + i * 600, true });
            run.edits.push_back(
                    { 60000 + i * 600, i, 0, u"字"_qs, TimelineEdit::Source::InputMethod });
        }
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs);
        record.timePass = 120;
        record.progress = ResultProgress { 3, u"s1"_qs, ResultProgress::Phase::Typing, 100 };
        record.answerSheet = AnswerSheet { kDigest, 10, 0, QString(100, u'字') };
        record.sections.push_back(
                { keytimeline::kSectionName.toString(), keytimeline::encode(run) });
        LiveClass live;
        live.update({ { record, u"98.5"_qs, {}, 0, 0 } }, facts(QString(200, u'字')));
        ClassTableModel model;
        model.setRows(live.rows());
        const QString tip = model.index(0, ClassTableModel::State).data(Qt::ToolTipRole).toString();
        QVERIFY2(tip.startsWith(u"答题中，最近一分钟速度100字/分钟"_qs), qPrintable(tip));
    }
};

QTEST_MAIN(TestAnswerSheetPage)
#include "tst_answersheetpage.moc"
