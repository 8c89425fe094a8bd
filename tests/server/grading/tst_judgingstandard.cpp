// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The standard records are judged by: each setting at the edges of what it
// takes, the reasons a typed value is refused, and its file.
#include "testfiles.h"

#include "grading/judgingstandard.h"
#include "settings/consolepreferences.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The defaults as the dialog shows them, in its order.
const QStringList kDefaults { u"5"_qs,  u"200"_qs, u"0.3"_qs,  u"30"_qs, u"30"_qs, u"2000"_qs,
                              u"10"_qs, u"0.5"_qs, u"0.02"_qs, u"5"_qs,  u"10"_qs, u"300"_qs };

}  // namespace

class TestJudgingStandard : public QObject
{
    Q_OBJECT

private slots:
    void typedValues_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        const QString hanzi = u"汉字未经输入法输入的“达到字数”应为1到10000之间的整数。"_qs;
        const QString spread = u"按键节奏不像人工输入的“过匀：间隔离散度低于”应为0到2之间的数。"_qs;
        const QString ceiling = u"速度上限的“每分钟最多字数”应为30到3000之间的整数。"_qs;
        QTest::newRow("fewest 汉字") << 0 << u"1"_qs << QString();
        QTest::newRow("no 汉字") << 0 << u"0"_qs << hanzi;
        QTest::newRow("half a 汉字") << 0 << u"2.5"_qs << hanzi;
        QTest::newRow("not a number") << 0 << u"五"_qs << hanzi;
        QTest::newRow("empty") << 0 << QString() << hanzi;
        QTest::newRow("spread with decimals, blanks around") << 2 << u" 0.42 "_qs << QString();
        QTest::newRow("spread 0 judges nothing even") << 2 << u"0"_qs << QString();
        QTest::newRow("spread above 2") << 2 << u"2.01"_qs << spread;
        QTest::newRow("highest ceiling") << 11 << u"3000"_qs << QString();
        QTest::newRow("ceiling above it") << 11 << u"3001"_qs << ceiling;
        QTest::newRow("ceiling below 30") << 11 << u"29"_qs << ceiling;
    }
    void typedValues()
    {
        QFETCH(int, setting);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QCOMPARE(JudgingStandard().texts(), kDefaults);
        QStringList texts = kDefaults;
        texts[setting] = typed;
        const JudgingStandard::Reading reading = JudgingStandard::fromTexts(texts);
        QCOMPARE(reading.problem, problem);
        QCOMPARE(reading.standard.has_value(), problem.isEmpty());
        if (reading.standard)
            QCOMPARE(reading.standard->texts(), texts.replaceInStrings(u" "_qs, QString()));
    }

    void file()
    {
        QTemporaryDir dir;
        // An earlier version's file, taken over by the preferences.
        const QString path = dir.filePath(u"judging.txt"_qs);
        QCOMPARE(JudgingStandard::load(dir.path()).standard->texts(), kDefaults);

        QStringList typed = kDefaults;
        typed[2] = u"0.4"_qs;
        typed[11] = u"250"_qs;
        const JudgingStandard changed = *JudgingStandard::fromTexts(typed).standard;
        QCOMPARE(changed.save(dir.path()), QString());
        QCOMPARE(JudgingStandard::load(dir.path()).standard->texts(), typed);
        QCOMPARE(ConsolePreferences(dir.path()).judgingTexts().value(u"pooledMinSpread"_qs),
                 u"0.4"_qs);

        // A setting the file leaves out keeps its default.
        QVERIFY(writeFile(path, "speedCeiling=250\r\n"));
        QStringList ceilingOnly = kDefaults;
        ceilingOnly[11] = u"250"_qs;
        QCOMPARE(JudgingStandard::load(dir.path()).standard->texts(), ceilingOnly);

        // A spread kept for the measure before stretches were pooled is left behind.
        QVERIFY(writeFile(path, "minSpread=0.35\r\n"));
        QCOMPARE(JudgingStandard::load(dir.path()).standard->texts(), kDefaults);

        QVERIFY(writeFile(path, "pooledMinSpread=\xd2\xbb\r\n"));  // 一 in GBK
        const JudgingStandard::Reading broken = JudgingStandard::load(dir.path());
        QVERIFY(!broken.standard);
        QVERIFY2(broken.problem.startsWith(
                         u"设置文件 "_qs
                         + QDir::toNativeSeparators(dir.filePath(ConsolePreferences::fileName()))),
                 qPrintable(broken.problem));
    }
};

QTEST_MAIN(TestJudgingStandard)
#include "tst_judgingstandard.moc"
