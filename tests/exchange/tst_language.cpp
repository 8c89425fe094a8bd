// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Which language a program starts in: a name asked for wins when it is
// spoken, else the first spoken one of the system's, else Chinese.
#include "exchange/language.h"

#include <QtTest>

Q_DECLARE_METATYPE(language::Choice)

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<language::Choice>("expected");
        using language::Choice;
        const QString none;
        QTest::newRow("Chinese system") << none << QStringList { u"zh-CN"_qs } << Choice::Chinese;
        QTest::newRow("Taiwan's Chinese") << none << QStringList { u"zh-TW"_qs } << Choice::Chinese;
        QTest::newRow("English system")
                << none << QStringList { u"en-US"_qs, u"zh-CN"_qs } << Choice::English;
        QTest::newRow("first spoken wins")
                << none << QStringList { u"fr-FR"_qs, u"en-GB"_qs } << Choice::English;
        QTest::newRow("none spoken")
                << none << QStringList { u"fr-FR"_qs, u"de"_qs } << Choice::Chinese;
        QTest::newRow("C locale") << none << QStringList { u"C"_qs } << Choice::Chinese;
        QTest::newRow("not a prefix")
                << none << QStringList { u"eng"_qs, u"zhx"_qs } << Choice::Chinese;
        QTest::newRow("asked English")
                << u"en"_qs << QStringList { u"zh-CN"_qs } << Choice::English;
        QTest::newRow("asked Chinese")
                << u"zh_CN"_qs << QStringList { u"en-US"_qs } << Choice::Chinese;
        QTest::newRow("asked, spaced")
                << u" en "_qs << QStringList { u"zh-CN"_qs } << Choice::English;
        QTest::newRow("asked unknown")
                << u"fr"_qs << QStringList { u"en-US"_qs } << Choice::English;
    }

    void choice()
    {
        QFETCH(QString, requested);
        QFETCH(QStringList, system);
        QFETCH(language::Choice, expected);
        QCOMPARE(language::choose(requested, system), expected);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("requested");
        QTest::newRow("none") << QStringList { u"student"_qs } << QString();
        QTest::newRow("option and value")
                << QStringList { u"student"_qs, u"--language"_qs, u"en"_qs } << u"en"_qs;
        QTest::newRow("with =") << QStringList { u"server"_qs, u"--language=zh_CN"_qs }
                                << u"zh_CN"_qs;
        QTest::newRow("no value") << QStringList { u"student"_qs, u"--language"_qs } << QString();
        QTest::newRow("program named so") << QStringList { u"--language"_qs, u"x"_qs } << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, requested);
        QCOMPARE(language::requestedOnCommandLine(arguments), requested);
    }

    // Without its catalogue a program says so and keeps its Chinese texts.
    void missingCatalogueKeepsChinese()
    {
        const QString problem = language::install(
                *QCoreApplication::instance(), language::Choice::English, QStringLiteral("absent"));
        QCOMPARE(problem, QStringLiteral("the English catalogue :/i18n/absent_en.qm is missing"));
        QCOMPARE(QCoreApplication::translate("Any", "考试"), QStringLiteral("考试"));
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
