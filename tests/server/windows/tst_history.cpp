// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The 历次考试 window over a real archive: the list and its search, an
// exam's statistics and charts, an examinee's trend, deleting with a
// confirmation that names the exam, and the backup; a school archive of
// two labs, this console's own exams marked and another lab's not deleted.
#include "consoleroom.h"
#include "fakemessages.h"
#include "historyanswers.h"
#include "keptexams.h"
#include "postgrescluster.h"

#include "control/schoolsettings.h"
#include "stats/examlistmodel.h"
#include "windows/examfilterbar.h"
#include "windows/frmhistory.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QCompleter>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextBrowser>
#include <QUrl>
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
    using FrmHistory::tabs;
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
        // The examinees to pick from are read once their tab is shown, and
        // again on each refresh while it is.
        const QAbstractItemModel *known =
                window.findChild<QLineEdit *>(u"TxtPickExaminee"_qs)->completer()->model();
        QCOMPARE(known->rowCount(), 0);
        window.show();
        window.tabs()->setCurrentIndex(3);
        QCOMPARE(known->rowCount(), 6);
        QCOMPARE(known->index(0, 0).data().toString(), u"2026000 考生0（计算机2班）"_qs);
        QVERIFY(window.statistics()->toPlainText().contains(u"第3课"_qs));
        QVERIFY(window.statistics()->toPlainText().contains(u"计算机2班"_qs));
        // One bar set of six examinees, and a line per grade threshold above 0.
        const QList<QAbstractSeries *> series = window.histogram()->chart()->series();
        QCOMPARE(series.size(), 4);
        QCOMPARE(static_cast<QBarSeries *>(series.first())->barSets().first()->sum(), 6.0);
        if (const QString shot = qEnvironmentVariable("KESTRIX_GRAB_CHARTS"); !shot.isEmpty()) {
            window.resize(1280, 800);
            window.tabs()->setCurrentIndex(1);
            QTest::qWait(200);
            window.grab().save(shot);
            window.tabs()->setCurrentIndex(3);
        }

        // The search is run once typing pauses.
        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->setText(u"第2课"_qs);
        QTRY_COMPARE(window.examList()->model()->rowCount(), 1);
        QCOMPARE(window.listedExamIds(), QVector<qint64> { 2 });  // what a term report covers
        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->setText(u"2026-03"_qs);
        QTRY_COMPARE(window.listedExamIds(), (QVector<qint64> { 1, 2, 3 }));
        // A class that sat one exam only.
        ExamSitting other;
        other.key = u"other"_qs;
        ArchivedRow row = keptRow(0, 0);
        row.department = u"计算机3班"_qs;
        QVERIFY(archive.keep(other, { row }).problem.isEmpty());
        window.findChild<QLineEdit *>(u"TxtSearch"_qs)->clear();
        QTRY_COMPARE(window.listedExamIds(), (QVector<qint64> { 1, 2, 3, 4 }));
        window.refresh();
        QCOMPARE(known->index(0, 0).data().toString(), u"2026000 考生0（计算机3班）"_qs);
        auto *classes = window.findChild<QComboBox *>(u"CmbClass"_qs);
        QCOMPARE(classes->count(), 4);  // 全部班级 and three
        classes->setCurrentIndex(classes->findText(u"计算机3班"_qs));
        QCOMPARE(window.listedExamIds(), QVector<qint64> { 4 });
        classes->setCurrentIndex(0);

        window.findExaminee(u"2026001"_qs, u"考生1"_qs);
        QCOMPARE(static_cast<QXYSeries *>(window.trend()->chart()->series().first())->count(), 3);

        window.findChild<QPushButton *>(u"CmdBackup"_qs)->click();
        QCOMPARE(ExamArchive(chosenFile).exams().value->size(), 4);
        chosenFile = room.work(u"学期报告.xlsx"_qs);  // written on a thread of its own
        window.findChild<QPushButton *>(u"CmdTermReport"_qs)->click();
        QCOMPARE(messages.informed.last(),
                 u"学期报告（4场考试）已保存为 "_qs + QDir::toNativeSeparators(chosenFile));
        // The PDF report, written on a thread of its own: a folder that is
        // not there says so (the system's words close it) and leaves no
        // file; the next one is written.
        chosenFile = room.work(u"无/报告.pdf"_qs);
        window.findChild<QPushButton *>(u"CmdPdfReport"_qs)->click();
        QCOMPARE(messages.informed.last().section(u"（详细信息："_qs, 0, 0),
                 u"无法写入报告 "_qs + QDir::toNativeSeparators(chosenFile)
                         + u"：无法建立文件。请确认这个文件夹可以写入、同名文件没有在 Excel 或 "
                           u"WPS 中打开、磁盘还有空间，然后再试一次。"_qs);
        QVERIFY(!QFile::exists(chosenFile));
        chosenFile = room.work(u"报告.pdf"_qs);
        window.findChild<QPushButton *>(u"CmdPdfReport"_qs)->click();
        QCOMPARE(messages.informed.last(),
                 u"报告已保存为 "_qs + QDir::toNativeSeparators(chosenFile));
        QFile written(chosenFile);
        QVERIFY(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-");

        window.showExam(1);
        messages.answer = true;
        window.findChild<QPushButton *>(u"CmdDeleteExam"_qs)->click();
        QVERIFY2(messages.asked.last().contains(u"《第1课》（6人）"_qs),
                 qPrintable(messages.asked.last()));
        QCOMPARE(listedExams(controller.history()).value->exams.size(), 3);
    }

    // The pane shows the highlighted exam, chosen as an accessibility action
    // chooses it: selected, the current row left where it was.
    void paneFollowsTheHighlightedRow()
    {
        ConsoleRoom room;
        ExamArchive archive(room.work(ExamArchive::defaultFileName()));
        QCOMPARE(fillArchive(archive, 3, 2), QString());
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        History window(controller.history(), {}, &messages, nullptr);
        window.refresh();
        QTableView *list = window.examList();
        QCOMPARE(window.shownId(), 3);
        list->selectionModel()->select(list->model()->index(2, 0),
                                       QItemSelectionModel::ClearAndSelect
                                               | QItemSelectionModel::Rows);
        QCOMPARE(window.shownId(), 1);
    }

    // At 1280×800 a long lab name chosen leaves 查找 its room and every
    // command on the top row in the window; the name is read whole in the
    // tooltip.
    void filterBarFitsWithALongLabName()
    {
        ConsoleRoom room;
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        History window(controller.history(), {}, &messages, nullptr);
        window.resize(1280, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString longLab = u"实验楼三层东侧第二计算机教室（信息技术组）"_qs;
        ExamFilterChoices choices;
        choices.labs = { u"301机房"_qs, longLab };
        window.findChild<ExamFilterBar *>()->setChoices(choices, true);
        auto *labs = window.findChild<QComboBox *>(u"CmbLab"_qs);
        labs->setCurrentIndex(2);
        QCOMPARE(labs->toolTip(), longLab);
        const QWidget *search = window.findChild<QLineEdit *>(u"TxtSearch"_qs);
        QTRY_VERIFY(search->width() >= search->minimumWidth() && search->minimumWidth() >= 150);
        // Wine's stand-in face is wider than any the window is laid out for.
#ifndef Q_OS_WIN
        QCOMPARE(window.size(), QSize(1280, 800));
#endif
        const QWidget *last = window.findChild<QPushButton *>(u"CmdGradeTermReport"_qs);
        QVERIFY(last->mapTo(&window, QPoint(last->width(), 0)).x() <= window.width());
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
        QVERIFY2(shown.contains(u"（4人）\n部门\n应考\n实考\n未开始\n缺考\n全体\n5\n4\n0\n1\n"_qs),
                 qPrintable(shown));
        if (const QString shot = qEnvironmentVariable("KESTRIX_GRAB"); !shot.isEmpty()) {
            window.resize(1100, 640);
            window.show();
            QTest::qWait(200);
            window.grab().save(shot);
        }
    }

    // A school archive of two labs: every lab's exams, filtered by lab, this
    // console's own in bold, another lab's exam not to be deleted here.
    void schoolArchiveOfTwoLabs()
    {
#ifndef Q_OS_UNIX
        QSKIP("Debian's PostgreSQL serves the school database; Wine has none.");
#else
        PostgresCluster cluster;
        QVERIFY2(cluster.problem().isEmpty(), qPrintable(cluster.problem()));
        const QString uri = cluster.newDatabase();
        ConsoleRoom room;
        QCOMPARE(console::SchoolSettings(room.appFolder())
                         .save({ uri, u"301机房"_qs, u"王老师"_qs }),
                 QString());
        {
            ExamArchive school(ArchivePlace::fromText(uri));
            QUrl asLabB(uri);
            asLabB.setUserName(PostgresCluster::labB());
            ExamArchive otherLab(ArchivePlace::fromText(asLabB.toString()));
            QCOMPARE(fillArchive(school, 2, 8), QString());  // kept here, before labs were named
            for (int exam = 2; exam < 6; ++exam) {
                ExamSitting sitting;
                sitting.key = QStringLiteral("lab-%1").arg(exam);
                sitting.openedAt = QDateTime(QDate(2026, 3, 2 + exam), QTime(8, 0), Qt::UTC);
                sitting.articleName = QStringLiteral("第%1课").arg(exam + 1);
                sitting.examMinutes = 10;
                sitting.lab = exam % 2 ? u"302机房"_qs : u"301机房"_qs;
                sitting.teacher = exam % 2 ? u"李老师"_qs : u"王老师"_qs;
                QVector<ArchivedRow> rows;
                for (int examinee = 0; examinee < 8; ++examinee)
                    rows.append(keptRow(exam, examinee));
                QCOMPARE((exam % 2 ? otherLab : school).keep(sitting, rows).problem, QString());
            }
        }
        console::ConsoleController controller(room.folders());
        FakeMessages messages;
        History window(controller.history(), {}, &messages, nullptr);
        window.refresh();  // read on the school's thread
        QTRY_COMPARE(window.listedExamIds(), (QVector<qint64> { 1, 2, 3, 4, 5, 6 }));
        auto *labs = window.findChild<QComboBox *>(u"CmbLab"_qs);
        QCOMPARE(labs->count(), 3);  // 全部机房, 301机房 and 302机房
        labs->setCurrentIndex(labs->findText(u"302机房"_qs));
        QTRY_COMPARE(window.listedExamIds(), (QVector<qint64> { 4, 6 }));
        labs->setCurrentIndex(0);
        QTRY_COMPARE(window.listedExamIds().size(), 6);
        const QAbstractItemModel *list = window.examList()->model();
        const auto bold = [&](int row) {
            return list->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
        };
        QCOMPARE(list->index(0, 0).data(ExamListModel::IdRole).toLongLong(), 6);
        QVERIFY(!bold(0));  // 302机房
        QVERIFY(bold(1));

        auto *deleteExam = window.findChild<QPushButton *>(u"CmdDeleteExam"_qs);
        window.showExam(6);
        QTRY_COMPARE(window.shownId(), 6);
        QVERIFY(!deleteExam->isEnabled());
        QVERIFY2(deleteExam->toolTip().contains(u"302机房"_qs), qPrintable(deleteExam->toolTip()));
        if (const QString shot = qEnvironmentVariable("KESTRIX_GRAB_SCHOOL"); !shot.isEmpty()) {
            window.resize(1280, 800);
            window.show();
            QTest::qWait(200);
            window.grab().save(shot);
        }
        // Regraded in the window only.
        messages.answer = true;
        window.findChild<QPushButton *>(u"CmdRegrade"_qs)->click();
        QVERIFY(messages.informed.last().endsWith(u"\n新的评定只在这个窗口中显示，不会保存。"_qs));
        window.showExam(5);
        QTRY_COMPARE(window.shownId(), 5);
        QVERIFY(deleteExam->isEnabled());
        messages.answer = true;
        deleteExam->click();
        QTRY_COMPARE(window.listedExamIds(), (QVector<qint64> { 1, 2, 3, 4, 6 }));
#endif
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
