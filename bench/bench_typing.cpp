// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the live comparison and of one keystroke through the typing
// window; both must stay flat as the typed text grows.
#include "windows/frmmain.h"
#include "benchclock.h"
#include "exchange/gbk.h"
#include "exam/examrecords.h"
#include "exam/inputmethods.h"
#include "exchange/messages.h"
#include "exam/typingsession.h"
#include "exchange/keytimeline.h"
#include "testtimelines.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <algorithm>
#include <chrono>

namespace {

// An article of mixed Chinese, ASCII, digits and signs, in lines of about
// 30 to 60 characters, repeated up to the wanted length.
QString articleText(int length)
{
    const QString lines[] = {
        QStringLiteral("春天来了，校园里的桃花和杏花都开了。同学们在操场上跑步、跳绳，"),
        QStringLiteral("有的在树下读书，有的在讨论学习中遇到的问题。"),
        QStringLiteral("Typing practice makes perfect: 123 keys, 456 words."),
        QStringLiteral("打字是一项基本技能，只要每天坚持练习，速度和正确率都会不断提高。"),
    };
    QString text;
    text.reserve(length + 80);
    for (int i = 0; text.size() < length; ++i)
        text += lines[i % 4] + QLatin1String("\r\n");
    return text;
}

class NoInputMethods : public InputMethods
{
public:
    QStringList entries() const override { return { plainKeyboardEntry() }; }
    void activate(int) override { }
};

class SilentMessages : public Messages
{
public:
    void inform(QWidget *, const QString &) override { }
    bool confirm(QWidget *, const QString &) override { return false; }
};

using Clock = std::chrono::steady_clock;

// The box filled with the target up to the line start at or before
// `typedLength`; returns where typing goes on in the target.
int fillUpTo(QPlainTextEdit *box, const QString &target, int typedLength)
{
    // On a line start, so that the prefix splits no CR LF.
    const int position = int(target.lastIndexOf(QLatin1String("\r\n"), typedLength)) + 2;
    QString prefix = target.left(position);
    prefix.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box->setPlainText(prefix);
    box->moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    return position;
}

// The target's next character as an examinee types it: Enter for a line
// break, a key for ASCII, an input-method commit for the rest; then the
// redraw it causes.
void typeNext(QPlainTextEdit *box, const QString &target, int &position)
{
    const QChar ch = target[position];
    if (ch == u'\r') {
        QTest::keyClick(box, Qt::Key_Return);
        position += 2;
    } else if (ch.unicode() < 128) {
        QTest::keyClick(box, char(ch.unicode()));
        ++position;
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(QString(ch));
        QApplication::sendEvent(box, &commit);
        ++position;
    }
    QCoreApplication::processEvents();
}

void BM_ContinuationAt29999(benchmark::State &state)
{
    const QString target = articleText(30000).left(30000);
    const QString typed = target;  // all right
    const QString typedShort = typed.left(29999);
    TypingSession session(target);
    auto full = [&](int from) { return typed.mid(from); };
    auto shorter = [&](int from) { return typedShort.mid(from); };
    session.compareTyped(30000, 30000, 0, full);
    for (auto _ : state) {
        // Back to 29,999 compared (not timed), then one more.
        session.compareTyped(29999, 29999, 29999, shorter);
        const auto start = Clock::now();
        session.compareTyped(30000, 30000, 29999, full);
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    benchmark::DoNotOptimize(session.rightCount());
}
BENCHMARK(BM_ContinuationAt29999)
        ->UseManualTime()
        ->Iterations(2000)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true);

// A Backspace at the end (argument 29999) or a change at the very start (0)
// of a typed 30,000-character text: everything after it is compared again.
void BM_RecomputeAfterChange(benchmark::State &state)
{
    const int changedFrom = int(state.range(0));
    QString target = articleText(30000).left(30000);
    QString typed = target;
    // Some wrong characters, so both branches of the comparison run.
    for (int i = 7; i < typed.size(); i += 13)
        typed[i] = u'x';
    const QString afterBackspace = typed.left(29999);
    TypingSession session(target);
    auto full = [&](int from) { return typed.mid(from); };
    auto shorter = [&](int from) { return afterBackspace.mid(from); };
    for (auto _ : state) {
        session.compareTyped(30000, 30000, 29999, full);  // continuation: one position
        const auto start = Clock::now();
        session.compareTyped(29999, changedFrom, changedFrom, shorter);
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    benchmark::DoNotOptimize(session.errorCount());
}
BENCHMARK(BM_RecomputeAfterChange)
        ->Arg(29999)
        ->Arg(0)
        ->UseManualTime()
        ->Iterations(1000)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true);

// The keystrokes through the window and into the bare box run alike, at
// 300 and at 30,000 characters typed.
void sideBySide(benchmark::internal::Benchmark *keystrokes)
{
    keystrokes->Arg(300)
            ->Arg(30000)
            ->Iterations(3000)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
}

// One keystroke into TxtWrite with the redraw it causes, the box already
// holding state.range(0) characters of the target. The window records the
// keystroke timeline as in an exam; BM_KeystrokeBareBox beside it is the
// yardstick.
void BM_KeystrokeThroughWindow(benchmark::State &state)
{
    const int typedLength = int(state.range(0));
    const QString target = articleText(typedLength + 20000);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("te.txt")));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write te.txt");
        return;
    }
    file.write(gbk::encode(target));
    file.close();

    FrmMainServices services;
    services.inputMethods = std::make_unique<NoInputMethods>();
    services.messages = std::make_shared<SilentMessages>();
    services.runTimers = false;
    const Examinee examinee { QStringLiteral("127.0.0.1"), QStringLiteral("计算机系"),
                              QStringLiteral("2026001"), QStringLiteral("张三"), 10 };
    FrmMain window(examinee, folder.path(), std::move(services));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("window not shown");
        return;
    }
    window.startExam(Qt::Key_Return);
    auto *box = window.findChild<QPlainTextEdit *>(QStringLiteral("TxtWrite"));
    int position = fillUpTo(box, target, typedLength);

    for (auto _ : state)
        typeNext(box, target, position);
    state.counters["typed_at_end"] = window.session().typedLen();
}
BENCHMARK(BM_KeystrokeThroughWindow)->Apply(sideBySide);

// The same keystrokes into a plain QPlainTextEdit of the typing box's size
// and font, alone in its window.
void BM_KeystrokeBareBox(benchmark::State &state)
{
    const int typedLength = int(state.range(0));
    const QString target = articleText(typedLength + 20000);
    QPlainTextEdit box;
    box.resize(744, 200);
    box.setFont(QFont(QStringLiteral("宋体"), 12));
    box.show();
    if (!QTest::qWaitForWindowExposed(&box)) {
        state.SkipWithError("box not shown");
        return;
    }
    int position = fillUpTo(&box, target, typedLength);
    for (auto _ : state)
        typeNext(&box, target, position);
}
BENCHMARK(BM_KeystrokeBareBox)->Apply(sideBySide);

// The timeline of a whole run of `text`: typed key by key or Chinese
// through pinyin, several keys a character.
KeyTimeline wholeRun(const QString &text, bool pinyin)
{
    return pinyin ? typedByPinyin(text, 4) : typedByKeys(text, 4);
}

// The same for a 30,000-character run.
KeyTimeline wholeRun(bool pinyin)
{
    return wholeRun(pinyin ? chineseText(30000, 3) : englishText(30000, 3), pinyin);
}

// What the typing pays for a checkpoint: the copy of the timeline that the
// worker encodes.
void BM_TimelineSnapshot30000(benchmark::State &state)
{
    const KeyTimeline run = wholeRun(state.range(0) != 0);
    for (auto _ : state) {
        KeyTimeline snapshot = run;
        benchmark::DoNotOptimize(snapshot.keys.data());
    }
}
BENCHMARK(BM_TimelineSnapshot30000)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The worker's part: the section's bytes within their bound; bytes is their
// size, coarse whether the run had to be coarsened to fit.
void BM_TimelineSection30000(benchmark::State &state)
{
    const KeyTimeline run = wholeRun(state.range(0) != 0);
    QByteArray bytes;
    for (auto _ : state)
        bytes = keytimeline::encodeWithinBound(run);
    state.counters["bytes"] = double(bytes.size());
    state.counters["coarse"] = keytimeline::decode(bytes).timeline.value_or(KeyTimeline {}).coarse;
}
BENCHMARK(BM_TimelineSection30000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the typing pays for one progress record with the timeline of a run
// typed to state.range(0) characters, by keys (second argument 0) or with
// pinyin (1): the time the UI thread spends on it, taking the record, once
// the worker has encoded the timeline handing it to the writer, and once
// that has written its files, starting the upload; the workers' own time is
// not counted. longest_ms is the longest single
// hold of the UI thread, cpu_ms its own work per record (without waits for
// the disk or for other programs).
void BM_ProgressRecordHold(benchmark::State &state)
{
    const int typedLength = int(state.range(0));
    const bool pinyin = state.range(1) != 0;
    const QString typed = pinyin ? chineseText(typedLength, 3) : englishText(typedLength, 3);
    QString typedCrLf = typed;
    typedCrLf.replace(u'\n', QLatin1String("\r\n"));
    QTemporaryDir folder;
    ExamClock clock(60);
    const Examinee examinee { QStringLiteral("127.0.0.1"), QStringLiteral("计算机系"),
                              QStringLiteral("2026001"), QStringLiteral("张三"), 60 };
    ExamSession exam(clock, examinee);
    exam.setExamText(typedCrLf, "digest");
    ExamRecords records(clock, exam, folder.path(), [&typedCrLf] { return typedCrLf; });
    records.upload().setAttempts(1);
    records.timeline().continueFrom(wholeRun(typed, pinyin), typed);
    if (records.timeline().timeline().edits.empty()) {
        state.SkipWithError("the run does not lead to its text");
        return;
    }
    double longest = 0;
    double cpuMillis = 0;
    for (auto _ : state) {
        const double cpuTaking = threadCpuMillis();
        const auto taking = Clock::now();
        records.send(ResultProgress::Phase::Typing);
        const auto taken = Clock::now();
        const double cpuTaken = threadCpuMillis();
        QThreadPool::globalInstance()->waitForDone();
        const double cpuHanding = threadCpuMillis();
        const auto handing = Clock::now();
        QCoreApplication::processEvents();
        const auto handed = Clock::now();
        const double cpuHanded = threadCpuMillis();
        records.writer().waitForWritten();
        const double cpuSending = threadCpuMillis();
        const auto sending = Clock::now();
        QCoreApplication::processEvents();
        const auto sent = Clock::now();
        cpuMillis += cpuTaken - cpuTaking + cpuHanded - cpuHanding + threadCpuMillis() - cpuSending;
        const double take = std::chrono::duration<double>(taken - taking).count();
        const double hand = std::chrono::duration<double>(handed - handing).count();
        const double send = std::chrono::duration<double>(sent - sending).count();
        longest = std::max({ longest, take, hand, send });
        state.SetIterationTime(take + hand + send);
    }
    state.counters["longest_ms"] = longest * 1000;
    state.counters["cpu_ms"] = cpuMillis / double(state.iterations());
}
BENCHMARK(BM_ProgressRecordHold)
        ->Args({ 300, 0 })
        ->Args({ 300, 1 })
        ->Args({ 30000, 0 })
        ->Args({ 30000, 1 })
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);

}  // namespace
