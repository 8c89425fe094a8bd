// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 年级学期报告's picker: the ticked classes in the list's order, 全选 and
// 全不选, the term chosen, and 生成 only with a class and a term.
#include "childwidget.h"

#include "windows/termworkbookdialog.h"

#include <QComboBox>
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
                << false << QStringList { u"1"_qs } << QStringList { u"高一(10)班"_qs } << false;
    }

    void picksClassesAndTerm()
    {
        QFETCH(bool, withTerms);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, classes);
        QFETCH(bool, generate);
        ExamFilterChoices choices;
        choices.departments = { u"高一(2)班"_qs, u"高一(10)班"_qs, u"机房二 高二(1)班"_qs };
        const SchoolTerm spring = SchoolTerm::of(QDate(2026, 3, 2));
        if (withTerms)
            choices.terms = { spring, spring.previous() };
        TermWorkbookDialog dialog(choices, true, nullptr);
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
};

QTEST_MAIN(TestTermWorkbookDialog)
#include "tst_termworkbookdialog.moc"
