// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pinyin typed with xdotool through the real Fcitx 5 into the typing window,
// on a desktop of the test's own (tests/support/pinyindesktop): only what the
// examinee commits counts, not what the input method hands over when the box
// loses the focus, and Combo1 switches the engine. The console's marks for
// machine typing, on records the client made of such runs, are calibrated
// here: a person's pace passes, a tool's is marked.
#include "class/plausibility.h"
#include "timeline/machinetyping.h"
#include "fakes.h"
#include "exchange/keytimeline.h"
#include "timeline/recordtimeline.h"
#include "timeline/typingreplay.h"
#include "exchange/transcode.h"
#include "transfer/examcheckpoint.h"
#include "typingruns.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <random>

namespace {

constexpr int kWaitMillis = 10000;

// xdotool with its arguments, waited for while the window runs.
bool xdotool(const QStringList &arguments, int waitMillis = kWaitMillis)
{
    QProcess process;
    process.start(u"xdotool"_qs, arguments);
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, waitMillis)
            && process.exitCode() == 0;
}

// Twelve words of pinyin, each committed with Space, three times over: 258
// keys, enough for the rule on even spacing to judge.
const QString kPinyinRun = [] {
    const QString words = u"women xuexi dazi kaoshi laoshi tongxue zhongguo pengyou jintian "
                          u"shijian wenti gongzuo "_qs;
    return words.repeated(3);
}();
const QString kPinyinRunText = u"我们学习打字考试老师同学中国朋友今天时间问题工作"_qs.repeated(3);

// xdotool's commands typing `text` key by key at a person's pace: intervals
// drawn from a seeded log-normal spread around 200 ms, and about one key in
// forty after a pause of a second or so (shorter than a break).
QStringList atPersonsPace(const QString &text, quint32 seed)
{
    const KeyPace pace = personLikePace(seed);
    std::mt19937 pauses(seed + 1);
    QStringList commands;
    for (const QChar character : text) {
        if (!commands.isEmpty()) {
            const double ms = pace() + (pauses() % 40 == 0 ? 800.0 + pauses() % 1000 : 0.0);
            commands << u"sleep"_qs << QString::number(ms / 1000, 'f', 3);
        }
        commands << u"key"_qs << (character == u' ' ? u"space"_qs : QString(character));
    }
    return commands;
}

struct PinyinExam : TypingExam
{
    explicit PinyinExam(const QString &target = u"你好草场你好"_qs, int minutes = 1)
        : TypingExam(target, minutes, u"127.0.0.1"_qs, createSystemInputMethods())
    {
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    // Clicks a control and, on Combo1's list, picks an entry by its keys.
    bool click(const char *name, const QStringList &keys = {})
    {
        auto *control = childOf<QWidget>(frm.get(), name);
        const QPoint at = control->mapToGlobal(control->rect().center());
        return xdotool({ u"mousemove"_qs, QString::number(at.x()), QString::number(at.y()),
                         u"click"_qs, u"1"_qs })
                && (keys.isEmpty() || type(keys)) && (QTest::qWait(1000), true);
    }
    bool type(const QStringList &keys)
    {
        return xdotool(QStringList { u"key"_qs, u"--delay"_qs, u"80"_qs } + keys);
    }
    // Runs xdotool while the exam clock ticks each second, as the window's
    // timer ticks it, so the timeline's stamps are real times.
    bool typeWhileTheClockRuns(const QStringList &arguments)
    {
        QTimer clock;
        QObject::connect(&clock, &QTimer::timeout, frm.get(), &FrmMain::onClockTick);
        clock.start(1000);
        return xdotool(arguments, 150000);
    }
    // Each piece copied and pasted through Fcitx 5's clipboard panel (Ctrl+;
    // then 1: the newest entry) while the exam clock runs.
    bool pasteThroughPanel(const QStringList &pieces)
    {
        QTimer clock;
        QObject::connect(&clock, &QTimer::timeout, frm.get(), &FrmMain::onClockTick);
        clock.start(1000);
        for (const QString &piece : pieces) {
            QGuiApplication::clipboard()->setText(piece);
            QTest::qWait(500);
            if (!type({ u"ctrl+semicolon"_qs }) || !(QTest::qWait(500), type({ u"1"_qs })))
                return false;
            QTest::qWait(500);
        }
        return true;
    }
    // The record of a finished exam as the console reads it from the checkpoint.
    std::optional<ResultRecord> finishedRecord()
    {
        frm->records().send(ResultProgress::Phase::Finished);
        // Checkpointed once its timeline is encoded, off this thread.
        std::optional<ResultRecord> record;
        const auto checkpointed = [&] {
            record = readResultRecord(transcodeBytes(ExamCheckpoint(folder.path())
                                                             .read()
                                                             .bytes.value_or(QByteArray()),
                                                     kExchangeKey))
                             .record;
            return record && record->progress
                    && record->progress->phase == ResultProgress::Phase::Finished;
        };
        for (int tries = 0; tries < 100 && !checkpointed(); ++tries)
            QTest::qWait(100);
        return record;
    }
};

// The console's marks on a record, as a collection gives them.
QStringList consoleMarks(const ResultRecord &record, int minutes)
{
    ExamFacts facts;
    facts.examSeconds = minutes * 60;
    return recordDoubts(record, facts)
            + examineTimeline(record, facts.publishedText, facts.judging.typing).doubts;
}

}  // namespace

class TestPinyin : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KESTRIX_FCITX5"))
            QSKIP("Fcitx 5 is not installed");
    }

    void onlyCommittedTextCounts_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("leaving");  // how the box loses the focus at the end
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("right");
        QTest::addColumn<float>("accuracy");
        const QString nihao = u"n i h a o space "_qs;
        QTest::newRow("Space commits") << nihao << QString() << u"你好"_qs << 2 << 100.0f;
        QTest::newRow("second candidate")
                << nihao + u"c a o 2"_qs << QString() << u"你好操"_qs << 2 << 66.67f;
        QTest::newRow("Backspace while composing")
                << u"n i h a p BackSpace o space"_qs << QString() << u"你好"_qs << 2 << 100.0f;
        QTest::newRow("composing at time-up")
                << nihao + u"c a o c h a n g"_qs << u"time"_qs << u"你好"_qs << 2 << 100.0f;
        QTest::newRow("composing at 结束考试")
                << nihao + u"c a o c h a n g"_qs << u"CmdExit"_qs << u"你好"_qs << 2 << 100.0f;
    }
    void onlyCommittedTextCounts()
    {
        QFETCH(QString, keys);
        QFETCH(QString, leaving);
        QFETCH(QString, typed);
        QFETCH(int, right);
        QFETCH(float, accuracy);
        PinyinExam w;
        QVERIFY(w.click("Combo1", { u"Down"_qs, u"Return"_qs }));
        QTest::keyClick(w.frm.get(), Qt::Key_Return);
        QVERIFY(w.type(keys.split(u' ', Qt::SkipEmptyParts)));
        const QTextLayout *layout = w.txtWrite()->textCursor().block().layout();
        QTRY_COMPARE_WITH_TIMEOUT(layout->preeditAreaText().isEmpty(), leaving.isEmpty(),
                                  kWaitMillis);
        QTRY_COMPARE_WITH_TIMEOUT(w.txtWrite()->toPlainText(), typed, kWaitMillis);
        if (leaving == u"time"_qs) {
            for (int tick = 0; tick < 60; ++tick)
                w.frm->onClockTick();
        } else if (!leaving.isEmpty()) {
            QVERIFY(w.click("CmdExit"));
            QCOMPARE(w.messages->informed, QStringList { ExamSession::notFinishedMessage() });
        }
        QTest::qWait(500);
        QCOMPARE(w.txtWrite()->toPlainText(), typed);
        QCOMPARE(w.frm->session().typedLen(), typed.size());
        QCOMPARE(w.frm->session().rightCount(), right);
        w.frm->records().send(ResultProgress::Phase::Finished);
        QCOMPARE(w.frm->accuracy(), accuracy);
    }

    // For "xuexiao" Fcitx 5 offers 🏫 second: picking it types nothing and
    // the line says so; what follows is compared where it belongs.
    void emojiCandidateIsNotTyped()
    {
        PinyinExam w;
        QVERIFY(w.click("Combo1", { u"Down"_qs, u"Return"_qs }));
        QTest::keyClick(w.frm.get(), Qt::Key_Return);
        QVERIFY(w.type(u"x u e x i a o 2"_qs.split(u' ')));
        QTRY_COMPARE_WITH_TIMEOUT(childOf<QLabel>(w.frm.get(), "LblInfo")->text(),
                                  u"“🏫”无法保存，没有输入"_qs, kWaitMillis);
        QVERIFY(w.type(u"n i h a o space"_qs.split(u' ')));
        QTRY_COMPARE_WITH_TIMEOUT(w.txtWrite()->toPlainText(), u"你好"_qs, kWaitMillis);
        QCOMPARE(w.frm->session().rightCount(), 2);
    }

    void combo1SwitchesTheEngine()
    {
        PinyinExam w;
        auto *combo = childOf<QComboBox>(w.frm.get(), "Combo1");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), u"键盘 - 英语（美国）"_qs);
        QCOMPARE(combo->itemText(1), u"拼音"_qs);
        QTest::keyClick(w.frm.get(), Qt::Key_Return);
        // Nothing chosen starts on the keyboard; then 拼音, then the keyboard.
        const struct
        {
            QString choice, keys, typed;
        } steps[] = { { {}, u"n i"_qs, u"ni"_qs },
                      { u"Down"_qs, u"n i space"_qs, u"ni你"_qs },
                      { u"Up"_qs, u"n i"_qs, u"ni你ni"_qs } };
        for (const auto &step : steps) {
            QVERIFY(step.choice.isEmpty() || w.click("Combo1", { step.choice, u"Return"_qs }));
            QVERIFY(w.type(step.keys.split(u' ')));
            QTRY_COMPARE_WITH_TIMEOUT(w.txtWrite()->toPlainText(), step.typed, kWaitMillis);
        }
    }

    // Each run through the real Fcitx 5 pinyin, recorded by the client and
    // judged by the console: only a person's pace passes unmarked, and the
    // recorded edits replay into exactly the record's typed text.
    void machineTypingIsMarked_data()
    {
        QTest::addColumn<QStringList>("xdotool");
        // How each mark begins; %n: the typed characters, all 汉字 there.
        QTest::addColumn<QStringList>("marks");
        // Pasted through the clipboard panel after the typing, piece by piece.
        QTest::addColumn<QStringList>("pasted");
        QTest::addRow("a person's pace")
                << atPersonsPace(kPinyinRun, 20261209) << QStringList() << QStringList();
        QTest::addRow("fixed delays")
                << QStringList { u"type"_qs, u"--delay"_qs, u"400"_qs, kPinyinRun }
                << QStringList { u"按键节奏不像人工输入（"_qs } << QStringList();
        QTest::addRow("汉字 as key events")
                << QStringList { u"type"_qs, u"--delay"_qs, u"300"_qs,
                                 u"汉字打字考试汉字打字考试"_qs }
                << QStringList { u"汉字未经输入法输入（%n字）"_qs } << QStringList();
        QTest::addRow("a person's pace, then the clipboard panel")
                << atPersonsPace(kPinyinRun.left(12), 20261210)
                << QStringList { u"输入法粘贴%p字"_qs }
                << QStringList { kPinyinRunText.mid(4, 9), kPinyinRunText.mid(13, 9) };
    }
    void machineTypingIsMarked()
    {
        QFETCH(QStringList, xdotool);
        QFETCH(QStringList, marks);
        QFETCH(QStringList, pasted);
        constexpr int kMinutes = 3;
        PinyinExam w(kPinyinRunText, kMinutes);
        QVERIFY(w.click("Combo1", { u"Down"_qs, u"Return"_qs }));
        QTest::keyClick(w.frm.get(), Qt::Key_Return);
        QVERIFY(w.typeWhileTheClockRuns(xdotool));
        QVERIFY(w.pasteThroughPanel(pasted));
        const QTextLayout *layout = w.txtWrite()->textCursor().block().layout();
        QTRY_VERIFY_WITH_TIMEOUT(layout->preeditAreaText().isEmpty(), kWaitMillis);
        QTest::qWait(500);
        const auto record = w.finishedRecord();
        QVERIFY(record && record->answerSheet);
        const QString typed = record->answerSheet->typedText;
        QCOMPARE(typed, withCrLf(w.txtWrite()->toPlainText()));
        QVERIFY(!typed.isEmpty());

        const QStringList found = consoleMarks(*record, kMinutes);
        QVERIFY2(found.size() == marks.size(), qPrintable(found.join(u'|')));
        for (int i = 0; i < marks.size(); ++i)
            QVERIFY2(found[i].startsWith(
                             marks[i].replace(u"%n"_qs, QString::number(typed.size()))
                                     .replace(u"%p"_qs,
                                              QString::number(pasted.join(QString()).size()))),
                     qPrintable(found[i]));

        const std::optional<KeyTimeline> timeline = readRecordTimeline(*record).timeline;
        QVERIFY(timeline);
        const TypingReplay replay(timeline->edits);
        QCOMPARE(withCrLf(replay.textAt(replay.lastEditMs())), typed);
    }
};

QTEST_MAIN(TestPinyin)
#include "tst_pinyin.moc"
