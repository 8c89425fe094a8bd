// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 年级学期报告's picker: the ticked classes in the list's order, 全选 and
// 全不选, the term chosen, 生成 only with a class and a term, and the classes of that term only.
#include "childwidget.h"

#include "windows/termworkbookdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class TestTermWorkbookDialog : public QObject
{
    Q_OBJECT

private slots:
    void picksClassesAndTerm_data()
    {
        QTest::addColumn<bool>("withTerms");
        QTest::addColumn<QStringList>("steps");  // a row to tick, 全选 or 全不选
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<bool>("generate");
        QTest::newRow("nothing ticked") << true << QStringList {} << QStringList {} << false;
        QTest::newRow("ticked last first: the list's order")
                << true << QStringList { u"2"_qs, u"0"_qs }
                << QStringList { u"高一(2)班"_qs, u"机房二 高二(1)班"_qs } << true;
        QTest::newRow("全选") << true << QStringList { u"全选"_qs }
                              << QStringList { u"高一(2)班"_qs, u"高一(10)班"_qs,
                                               u"机房二 高二(1)班"_qs }
                              << true;
        QTest::newRow("全选, then 全不选")
                << true << QStringList { u"全选"_qs, u"全不选"_qs } << QStringList {} << false;
        QTest::newRow("no term in the archive")
                << false << QStringList { u"全选"_qs } << QStringList {} << false;
    }

    void picksClassesAndTerm()
    {
        QFETCH(bool, withTerms);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, classes);
        QFETCH(bool, generate);
        const QStringList departments { u"高一(2)班"_qs, u"高一(10)班"_qs, u"机房二 高二(1)班"_qs };
        const SchoolTerm spring = SchoolTerm::of(QDate(2026, 3, 2));
        TermWorkbookDialog dialog(
                withTerms ? QVector<SchoolTerm> { spring, spring.previous() }
                          : QVector<SchoolTerm> {},
                true,
                [&](const SchoolTerm &, QObject *, auto done) {
                    done({ departments, {} });
                },
                nullptr);
        auto *list = childOf<QListWidget>(&dialog, "LstClasses");
        for (const QString &step : steps) {
            if (step == u"全选"_qs)
                childOf<QPushButton>(&dialog, "CmdAllClasses")->click();
            else if (step == u"全不选"_qs)
                childOf<QPushButton>(&dialog, "CmdNoClasses")->click();
            else
                list->item(step.toInt())->setCheckState(Qt::Checked);
        }
        QCOMPARE(dialog.classes(), classes);
        QCOMPARE(childOf<QPushButton>(&dialog, "CmdGenerate")->isEnabled(), generate);
        if (withTerms) {
            QCOMPARE(dialog.term(), spring);
            childOf<QComboBox>(&dialog, "CboTerm")->setCurrentIndex(1);
            QCOMPARE(dialog.term().name(), u"2025-2026学年第一学期"_qs);
        }
    }

    // The spring's answer coming after the autumn was chosen is not listed;
    // a failed read says why, and the term chosen next is read anew.
    void listsTheChosenTermsClassesOnly()
    {
        const SchoolTerm spring = SchoolTerm::of(QDate(2026, 3, 2));
        QVector<console::Answer<QStringList>> answers;
        TermWorkbookDialog dialog(
                { spring, spring.previous(), spring.previous().previous() }, true,
                [&](const SchoolTerm &, QObject *, auto done) { answers.append(done); }, nullptr);
        auto *termBox = childOf<QComboBox>(&dialog, "CboTerm");
        auto *note = childOf<QLabel>(&dialog, "LblClassesNote");
        auto *all = childOf<QPushButton>(&dialog, "CmdAllClasses");
        QCOMPARE(note->text(), u"正在读取这个学期考过的班级……"_qs);
        termBox->setCurrentIndex(1);
        answers[1]({ QStringList { u"1班"_qs, u"3班"_qs }, {} });
        answers[0]({ QStringList { u"2班"_qs }, {} });
        all->click();
        QCOMPARE(dialog.classes(), (QStringList { u"1班"_qs, u"3班"_qs }));
        QCOMPARE(note->text(), QString());
        termBox->setCurrentIndex(2);
        all->click();
        QCOMPARE(dialog.classes(), QStringList());
        answers[2]({ std::nullopt, u"无法读取考试存档：连接断开了"_qs });
        QCOMPARE(note->text(), u"无法读取考试存档：连接断开了"_qs);
        QVERIFY(!childOf<QPushButton>(&dialog, "CmdGenerate")->isEnabled());
        termBox->setCurrentIndex(0);
        answers[3]({ QStringList {}, {} });
        QCOMPARE(note->text(), u"这个学期没有班级考过试。"_qs);
    }
};

QTEST_MAIN(TestTermWorkbookDialog)
#include "tst_termworkbookdialog.moc"
