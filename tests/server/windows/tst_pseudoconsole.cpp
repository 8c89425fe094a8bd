// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's windows under a catalogue that wraps every text: whatever a
// teacher can read there went through the translator. The class, the exam
// and the examinees are named in ASCII so that only the program's own words
// are Chinese.
#include "childwidget.h"
#include "collectbyhand.h"
#include "consoleroom.h"
#include "fakemessages.h"
#include "pseudotranslation.h"
#include "testrecords.h"
#include "archive/examarchive.h"
#include "windows/frmabout.h"
#include "windows/frmhistory.h"
#include "windows/frmmain.h"
#include "windows/gradingscaledialog.h"
#include "windows/judgingstandarddialog.h"
#include "windows/schoolarchivedialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QTabWidget>
#include <QtTest>

namespace {

class ConsoleWindow : public console::FrmMain
{
public:
    using FrmMain::aboutBox;
    using FrmMain::controller;
    using FrmMain::FrmMain;
};

// One kept exam of four examinees, one of them absent.
QString keepAsciiExam(ExamArchive &archive)
{
    ExamSitting sitting;
    sitting.key = QStringLiteral("ascii");
    sitting.openedAt = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
    sitting.closedAt = sitting.openedAt.addSecs(900);
    sitting.articleName = QStringLiteral("Lesson 1");
    sitting.articleText = QStringLiteral("The quick brown fox.\r\n");
    sitting.examMinutes = 10;
    QVector<ArchivedRow> rows;
    for (int examinee = 0; examinee < 4; ++examinee) {
        ArchivedRow row;
        row.department = QStringLiteral("Class %1").arg(examinee % 2 + 1);
        row.examNumber = QStringLiteral("2026%1").arg(examinee);
        row.name = QStringLiteral("Pupil %1").arg(examinee);
        row.speed = 60 - examinee * 10;
        row.accuracyLine = QString::number(90 + examinee);
        row.timePass = 600;
        row.recNo = examinee + 1;
        row.state = examinee == 3 ? ExamineeState::Absent : ExamineeState::Finished;
        rows.append(row);
    }
    return archive.keep(sitting, rows).problem;
}

}  // namespace

#ifndef KESTRIX_SERVER_CATALOGUE
#define KESTRIX_SERVER_CATALOGUE ""
#endif

class TestPseudoConsole : public CatalogueTest
{
    Q_OBJECT

public:
    TestPseudoConsole() : CatalogueTest(QStringLiteral(KESTRIX_SERVER_CATALOGUE)) { }

private slots:

    void consoleWindowsShowOnlyTranslatedTexts()
    {
        ConsoleRoom room;
        ExamArchive archive(room.work(ExamArchive::defaultFileName()));
        QCOMPARE(keepAsciiExam(archive), QString());
        FakeMessages messages;
        ConsoleWindow window(room.folders(), ConsoleHooks(), &messages);
        window.resize(1280, 800);
        window.show();
        QStringList left = untranslatedTexts(&window);

        // A live class: two results handed in, collected by hand.
        for (int examinee = 0; examinee < 2; ++examinee)
            QVERIFY(!writeResultFile(room.exchangeFolder,
                                     sampleRecord(QStringLiteral("Class 1"),
                                                  QStringLiteral("0%1").arg(examinee),
                                                  QStringLiteral("Pupil %1").arg(examinee),
                                                  50 - examinee))
                             .isEmpty());
        childOf<QAbstractButton>(&window, "BeginStop")->click();
        collectByHand(window.controller(),
                      [&] { childOf<QAbstractButton>(&window, "fresh")->click(); });
        left << untranslatedTexts(&window);
        childOf<QAbstractButton>(&window, "set")->click();
        left << untranslatedTexts(&window);

        FrmHistory history(window.controller().history(), ConsoleHooks(), &messages, nullptr);
        history.refresh();
        history.resize(1280, 800);
        history.show();
        auto *tabs = history.findChild<QTabWidget *>();
        QVERIFY(tabs);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QTest::qWait(50);
            left << untranslatedTexts(&history);
        }

        GradingScaleDialog scale(window.controller().settings(), &messages, nullptr);
        JudgingStandardDialog judging(window.controller().settings(), &messages, nullptr);
        SchoolArchiveDialog school(window.controller().school(), &messages, nullptr);
        childOf<QAction>(&window, "about")->trigger();
        left << untranslatedTexts(&scale) << untranslatedTexts(&judging)
             << untranslatedTexts(&school) << untranslatedTexts(window.aboutBox());
        left << untranslatedAmong(messages.informed) << untranslatedAmong(messages.asked);
        left.removeDuplicates();
        QVERIFY(noneLeftUntranslated(left));
    }
};

QTEST_MAIN(TestPseudoConsole)
#include "tst_pseudoconsole.moc"
