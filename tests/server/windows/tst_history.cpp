// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The 历次考试 window over a real archive: the list and its search, an
// exam's statistics and charts, an examinee's trend, deleting with a
// confirmation that names the exam, and the backup.
#include "consoleroom.h"
#include "fakemessages.h"
#include "keptexams.h"

#include "windows/frmhistory.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextBrowser>
#include <QXYSeries>
#include <QtTest>

namespace {

class History : public FrmHistory
{
public:
    using FrmHistory::examList;
    using FrmHistory::findExaminee;
    using FrmHistory::FrmHistory;
    using FrmHistory::histogram;
    using FrmHistory::listedExamIds;
    using FrmHistory::showExam;
    using FrmHistory::shownId;
    using FrmHistory::statistics;
    using FrmHistory::trend;
};

}  // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void browsesKeptExams()
    {
        ConsoleRoom room;
        // The archive the console opens beside cj.mdb, filled through a connection of its own.
        ExamArchive archive(room.work(ExamArchive::defaultFileName()));
        QCOMPARE(fillArchive(archive, 3, 6), QString());
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        QString chosenFile = room.work(u"备份.db"_qs);
        ConsoleHooks hooks;
        hooks.chooseSaveFile = [&](QWidget *, const QString &, const QString &) {
            return chosenFile;
        };
        History window(controller.history(), hooks, &messages, nullptr);
        window.refresh();
        QCOMPARE(window.examList()->model()->rowCount(), 3);
        QCOMPARE(window.shownId(), 3);  // the newest
        QVERIFY(window.statistics()->toPlainText().contains(u"第3课"_qs));
        QVERIFY(window.statistics()->toPlainText().contains(u"计算机2班"_qs));
        // One bar set of six examinees, and a line per grade threshold above 0.
        const QList<QAbstractSeries *> series = window.histogram()->chart()->series();
        QCOMPARE(series.size(), 4);
        QCOMPARE(static_cast<QBarSeries *>(series.first())->barSets().first()->sum(), 6.0);

        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->setText(u"第2课"_qs);
        QCOMPARE(window.examList()->model()->rowCount(), 1);
        QCOMPARE(window.listedExamIds(), QVector<qint64> { 2 });  // what a term report covers
        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->setText(u"2026-03"_qs);
        QCOMPARE(window.listedExamIds(), (QVector<qint64> { 1, 2, 3 }));
        // A class that sat one exam only.
        ExamSitting other;
        other.key = u"other"_qs;
        ArchivedRow row = keptRow(0, 0);
        row.department = u"计算机3班"_qs;
        QVERIFY(archive.keep(other, { row }).problem.isEmpty());
        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->clear();
        window.refresh();
        auto *classes = window.findChild<QComboBox *>(u"CmbClass"_qs);
        QCOMPARE(classes->count(), 4);  // 全部班级 and three
        classes->setCurrentIndex(classes->findText(u"计算机3班"_qs));
        QCOMPARE(window.listedExamIds(), QVector<qint64> { 4 });
        classes->setCurrentIndex(0);

        window.findExaminee(u"2026001"_qs, u"考生1"_qs);
        QCOMPARE(static_cast<QXYSeries *>(window.trend()->chart()->series().first())->count(), 3);

        window.findChild<QPushButton *>(u"CmdBackup"_qs)->click();
        QCOMPARE(ExamArchive(chosenFile).exams().value->size(), 4);

        window.showExam(1);
        messages.answer = true;
        window.findChild<QPushButton *>(u"CmdDeleteExam"_qs)->click();
        QVERIFY2(messages.asked.last().contains(u"《第1课》（6人）"_qs),
                 qPrintable(messages.asked.last()));
        QCOMPARE(controller.history().exams().value->size(), 3);
    }

    // A class list's absentee kept with the exam: its statistics count them.
    void keptAbsenteeCounted()
    {
        ConsoleRoom room;
        ExamArchive archive(room.work(ExamArchive::defaultFileName()));
        ArchivedExam exam = classOfFive();
        exam.sitting.key = u"five"_qs;
        QCOMPARE(archive.keep(exam.sitting, exam.rows).problem, QString());
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        History window(controller.history(), {}, &messages, nullptr);
        window.refresh();
        const QString shown = window.statistics()->toPlainText();
        QVERIFY2(shown.contains(u"（4人）\n部门\n应考\n实考\n缺考\n全体\n5\n4\n1\n"_qs),
                 qPrintable(shown));
        if (const QString shot = qEnvironmentVariable("KESTRIX_GRAB"); !shot.isEmpty()) {
            window.resize(1100, 640);
            window.show();
            QTest::qWait(200);
            window.grab().save(shot);
        }
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
