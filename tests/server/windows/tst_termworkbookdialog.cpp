// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 年级学期报告's picker: the ticked classes in the list's order, 全选 and
// 全不选, the term chosen, 生成 only with a class and a term, and the
// classes of the term chosen only, whatever order the answers come in.
#include "childwidget.h"

#include "windows/termworkbookdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

const SchoolTerm kSpring = SchoolTerm::of(QDate(2026, 3, 2));

// The classes each term is asked for, answered when the test says.
struct AskedClasses
{
    QVector<SchoolTerm> terms;
    QVector<console::Answer<QStringList>> answers;

    TermWorkbookDialog::ClassesOf asker()
    {
        return [this](const SchoolTerm &term, QObject *, console::Answer<QStringList> done) {
            terms.append(term);
            answers.append(std::move(done));
        };
    }
};

QStringList listed(TermWorkbookDialog &dialog)
{
    QStringList names;
    auto *list = childOf<QListWidget>(&dialog, "LstClasses");
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

}  // namespace

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
        AskedClasses asked;
        const QVector<SchoolTerm> terms = withTerms
                ? QVector<SchoolTerm> { kSpring, kSpring.previous() }
                : QVector<SchoolTerm> {};
        TermWorkbookDialog dialog(terms, true, asked.asker(), nullptr);
        QCOMPARE(asked.terms, terms.mid(0, 1));
        if (withTerms)
            asked.answers[0](
                    { QStringList { u"高一(2)班"_qs, u"高一(10)班"_qs, u"机房二 高二(1)班"_qs },
                      {} });
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
            QCOMPARE(dialog.term(), kSpring);
            childOf<QComboBox>(&dialog, "CboTerm")->setCurrentIndex(1);
            QCOMPARE(dialog.term().name(), u"2025-2026学年第一学期"_qs);
        }
    }

    // The autumn's classes asked while the spring's answer was on its way:
    // the spring's, coming late, is not listed; a failed read says why and
    // the read of the term chosen next lists its classes.
    void listsTheChosenTermsClassesOnly()
    {
        AskedClasses asked;
        TermWorkbookDialog dialog({ kSpring, kSpring.previous(), kSpring.previous().previous() },
                                  true, asked.asker(), nullptr);
        auto *termBox = childOf<QComboBox>(&dialog, "CboTerm");
        auto *note = childOf<QLabel>(&dialog, "LblClassesNote");
        QCOMPARE(note->text(), u"正在读取这个学期考过的班级……"_qs);
        termBox->setCurrentIndex(1);
        asked.answers[1]({ QStringList { u"1班"_qs, u"3班"_qs }, {} });
        asked.answers[0]({ QStringList { u"2班"_qs }, {} });
        QCOMPARE(listed(dialog), (QStringList { u"1班"_qs, u"3班"_qs }));
        QCOMPARE(note->text(), QString());

        termBox->setCurrentIndex(2);
        QCOMPARE(listed(dialog), QStringList());
        asked.answers[2]({ std::nullopt, u"无法读取考试存档：连接断开了"_qs });
        QCOMPARE(note->text(), u"无法读取考试存档：连接断开了"_qs);
        QVERIFY(!childOf<QPushButton>(&dialog, "CmdGenerate")->isEnabled());
        termBox->setCurrentIndex(0);
        asked.answers[3]({ QStringList {}, {} });
        QCOMPARE(note->text(), u"这个学期没有班级考过试。"_qs);
        QCOMPARE(asked.terms,
                 (QVector<SchoolTerm> { kSpring, kSpring.previous(), kSpring.previous().previous(),
                                        kSpring }));
    }
};

QTEST_MAIN(TestTermWorkbookDialog)
#include "tst_termworkbookdialog.moc"
