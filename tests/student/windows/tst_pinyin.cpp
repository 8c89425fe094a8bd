// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pinyin typed with xdotool through the real Fcitx 5 into the typing window,
// on a desktop of the test's own (tests/support/pinyindesktop): only what the
// examinee commits counts, not what the input method hands over when the box
// loses the focus, and Combo1 switches the engine.
#include "fakes.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>

namespace {

constexpr int kWaitMillis = 10000;

// xdotool with its arguments, waited for while the window runs.
bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(u"xdotool"_qs, arguments);
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kWaitMillis)
            && process.exitCode() == 0;
}

struct PinyinExam : TypingExam
{
    PinyinExam() : TypingExam(u"你好草场你好"_qs, 1, u"127.0.0.1"_qs, createSystemInputMethods())
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
};

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
};

QTEST_MAIN(TestPinyin)
#include "tst_pinyin.moc"
