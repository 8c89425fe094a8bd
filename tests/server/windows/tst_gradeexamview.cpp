// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 年级汇总 from 历次考试 over a real archive: an exam of its own is told
// it is none, an exam of a grade opens the grade with every lab's rows.
#include "consoleroom.h"
#include "fakemessages.h"
#include "keptexams.h"

#include "windows/frmgradeexam.h"
#include "windows/frmhistory.h"

#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

namespace {

class History : public FrmHistory
{
public:
    using FrmHistory::FrmHistory;
    using FrmHistory::showExam;
};

class GradeView : public FrmGradeExam
{
public:
    using FrmGradeExam::ranking;
    using FrmGradeExam::statistics;
};

}  // namespace

class TestGradeExamView : public QObject
{
    Q_OBJECT

private slots:
    void opensTheGradeOfTheChosenExam()
    {
        ConsoleRoom room;
        ExamArchive archive(room.work(ExamArchive::defaultFileName()));
        // A term of one lab, then a grade of three labs on a later morning.
        QCOMPARE(fillArchive(archive, 2, 4), QString());
        for (const ArchivedExam &exam :
             gradeOfLabs(3, 5, QDateTime(QDate(2026, 4, 1), QTime(8, 0))))
            QCOMPARE(archive.keep(exam.sitting, exam.rows).problem, QString());
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        ConsoleHooks hooks;
        History window(controller.history(), hooks, &messages, nullptr);
        window.refresh();
        auto *command = window.findChild<QPushButton *>(u"CmdGradeExam"_qs);
        QVERIFY(command);

        window.showExam(1);
        command->click();
        QCOMPARE(messages.informed.size(), 1);
        QVERIFY2(messages.informed.first().contains(u"不是年级统考"_qs),
                 qPrintable(messages.informed.first()));
        QVERIFY(!window.findChild<FrmGradeExam *>());

        window.showExam(4);  // 机房2's
        command->click();
        QCOMPARE(messages.informed.size(), 1);
        auto *view = static_cast<GradeView *>(window.findChild<FrmGradeExam *>());
        QVERIFY(view);
        QCOMPARE(view->ranking()->model()->rowCount(), 15);
        const QString page = view->statistics()->toPlainText();
        for (const QString &part :
             { u"全年级"_qs, u"高一(1)班"_qs, u"高一(3)班"_qs, u"机房2"_qs, u"3个机房"_qs })
            QVERIFY2(page.contains(part), qPrintable(part));
    }
};

QTEST_MAIN(TestGradeExamView)
#include "tst_gradeexamview.moc"
