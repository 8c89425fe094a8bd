// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The client's windows under a catalogue that wraps every text: whatever an
// examinee can read there went through the translator. The examinee and the
// exam text are ASCII so that only the program's own words are Chinese.
#include "fakes.h"
#include "pseudotranslation.h"
#include "windows/frmlogin.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#ifndef KESTRIX_STUDENT_CATALOGUE
#define KESTRIX_STUDENT_CATALOGUE ""
#endif

class TestPseudoClient : public CatalogueTest
{
    Q_OBJECT

public:
    TestPseudoClient() : CatalogueTest(QStringLiteral(KESTRIX_STUDENT_CATALOGUE)) { }

private slots:

    void loginWindowShowsOnlyTranslatedTexts()
    {
        QTemporaryDir work;
        FakeMessages messages;
        FrmLogin login(work.path(), &messages);
        login.show();
        QStringList left = untranslatedTexts(&login);
        // Logging in with every box empty is refused with a reason.
        QTest::mouseClick(childOf<QPushButton>(&login, "CmdLogin"), Qt::LeftButton);
        QCOMPARE(messages.informed.size(), 1);
        left << untranslatedTexts(&login) << untranslatedAmong(messages.informed);
        QVERIFY(noneLeftUntranslated(left));
    }

    void typingWindowShowsOnlyTranslatedTexts()
    {
        QTemporaryDir folder;
        QVERIFY(writeFile(folder.filePath(QStringLiteral("te.txt")), "The quick brown fox.\r\n"));
        QList<int> activated;
        FrmMainServices services;
        services.inputMethods = std::make_unique<FakeInputMethods>(
                &activated, QStringList { plainKeyboardEntry(), QStringLiteral("Pinyin") });
        auto messages = std::make_shared<FakeMessages>();
        services.messages = messages;
        services.runTimers = false;
        const Examinee examinee { QStringLiteral("127.0.0.1"),
                                  QStringLiteral("Class 1"),
                                  QStringLiteral("2026001"),
                                  QStringLiteral("Pupil"),
                                  10,
                                  {},
                                  {},
                                  {} };
        FrmMain window(examinee, folder.path(), std::move(services));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList left = untranslatedTexts(&window);
        QTest::keyClick(childOf<QTabWidget>(&window, "SSTab1")->tabBar(), Qt::Key_Return);
        QTest::keyClicks(childOf<QPlainTextEdit>(&window, "TxtWrite"), QStringLiteral("The quick"));
        left << untranslatedTexts(&window) << untranslatedAmong(messages->informed)
             << untranslatedAmong(messages->asked);
        left.removeDuplicates();
        QVERIFY(noneLeftUntranslated(left));
    }
};

QTEST_MAIN(TestPseudoClient)
#include "tst_pseudoclient.moc"
