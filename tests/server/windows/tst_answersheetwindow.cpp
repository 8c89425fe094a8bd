// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The answer-sheet window offscreen.
#include "childwidget.h"
#include "inkrows.h"
#include "windows/frmanswersheet.h"

#include <QLabel>
#include <QTextEdit>
#include <QtTest>

class TestAnswerSheetWindow : public QObject
{
    Q_OBJECT

private slots:
    // A blank pixel row between the sheet's lines, raised typed signs and
    // underlines included, at the sizes its letters grow to; the slip told.
    void linesKeepApart()
    {
        // "国" left out on the first of eight lines: every line wrong, the last untyped.
        const QString line = u"口，向每一个学生问好。「国」gjpqy\r\n"_qs;
        CollectedResult result;
        result.record.answerSheet =
                AnswerSheet { "d", 10, 0, line.repeated(7).remove(12, 1).chopped(2) };
        FrmAnswerSheet window(AnswerSheetPage(ClassViewRow(), &result,
                                              ExamFacts { 600, 0, true, line.repeated(8), "d" }));
        window.show();
        QVERIFY(childOf<QLabel>(&window, "LblSlip")->text().startsWith(u"第13个字处漏打了“国”"_qs));
        for (const int width : { 900, 1280, 1800 }) {
            window.resize(width, 1000);
            QWidget *sheet = childOf<QTextEdit>(&window, "TxtAnswerSheet")->viewport();
#ifdef Q_OS_WIN
            // Wine's stand-in face may part a line's raised signs from it:
            // more bands, never fewer, while the lines keep apart.
            QVERIFY(inkRows(sheet->grab().toImage()).size() >= 8);
#else
            QCOMPARE(inkRows(sheet->grab().toImage()).size(), 8);
#endif
        }
    }
};

QTEST_MAIN(TestAnswerSheetWindow)
#include "tst_answersheetwindow.moc"
