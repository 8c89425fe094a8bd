// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a results workbook goes out: into its folder, made when
// absent, under a new name each time, with the examiner's message; a
// folder that cannot be made writes nothing until it can.
#include "testfiles.h"
#include "workbook.h"

#include "export/documentname.h"
#include "export/exportwriter.h"
#include "export/xlsxfile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestExportWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesIntoItsFolder_data()
    {
        QTest::addColumn<QString>("folder");  // under a temporary folder
        QTest::addColumn<QString>("blocker");  // a file holding a name on the way; empty: none
        QTest::newRow("folders made") << u"文档/成绩导出"_qs << QString();
        QTest::newRow("a file holds the name") << u"文档/成绩导出"_qs << u"文档"_qs;
    }

    void writesIntoItsFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, blocker);
        QTemporaryDir root;
        const QString path = root.filePath(folder);
        const ExportWriter writer(path, QDateTime(QDate(2026, 3, 2), QTime(8, 0)), u"第1课"_qs);
        const QVector<ExportedRow> rows { { { 7, u"一班"_qs, u"01"_qs, u"甲"_qs, 50, u"98"_qs, 60 },
                                            false,
                                            {},
                                            {},
                                            u"用时不符"_qs,
                                            {} } };
        if (!blocker.isEmpty()) {
            writeFile(root.filePath(blocker), "x");
            const WorkbookExport refused = writer.write(rows, GradingScale::standard());
            QCOMPARE(refused.problem, u"无法建立导出文件夹 "_qs + QDir::toNativeSeparators(path));
            QCOMPARE(refused.workbook, QString());
            QVERIFY(QFile::remove(root.filePath(blocker)));
        }
        const WorkbookExport first = writer.write(rows, GradingScale::standard());
        const WorkbookExport second = writer.write(rows, GradingScale::standard());
        QCOMPARE(first.problem, QString());
        QVERIFY(first.workbook != second.workbook);
        for (const WorkbookExport &exported : { first, second }) {
            QCOMPARE(QFileInfo(exported.workbook).absolutePath(), path);
            QVERIFY(exported.message.contains(QDir::toNativeSeparators(exported.workbook)));
        }
        // Named after the exam; the second export beside the first.
        QCOMPARE(QFileInfo(first.workbook).fileName(), u"打字考试成绩表-20260302-第1课.xlsx"_qs);
        QCOMPARE(QFileInfo(second.workbook).fileName(), u"打字考试成绩表-20260302-第1课-2.xlsx"_qs);
        // Printed landscape, one page wide, title and headers on every page, numbered.
        QCOMPARE(
                workbookScript(
                        u"ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                        "p = ws.page_setup\n"
                        "wide = 1 if p.fitToWidth is None else p.fitToWidth  # the file's default\n"
                        "print(p.orientation, p.paperSize, wide, p.fitToHeight,"
                        " ws.sheet_properties.pageSetUpPr.fitToPage)\n"
                        "print(ws.print_title_rows, ws.oddFooter.center.text)\n"_qs,
                        first.workbook),
                (QStringList { u"landscape 9 1 0 True"_qs, u"$1:$2 第 &P 页 / 共 &N 页"_qs }));
        const QStringList written = workbookRows(first.workbook);
        QCOMPARE(written.size(), 3);
        QVERIFY2(written.last().startsWith(u"str:一班|str:01|str:甲|int:50|int:98|int:60|"_qs)
                         && written.last().endsWith(u"|str:用时不符"_qs),
                 qPrintable(written.last()));
    }

    // The names a sheet may take beside others: unique regardless of case,
    // never "History", and a number added still within 31 characters.
    void sheetNames_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("name");
        QTest::newRow("free") << u"Typing"_qs << QStringList { u"汇总"_qs } << u"Typing"_qs;
        QTest::newRow("taken but for case")
                << u"TYPING"_qs << QStringList { u"typing"_qs } << u"TYPING_2"_qs;
        QTest::newRow("taken twice")
                << u"typing"_qs << QStringList { u"Typing"_qs, u"typing_2"_qs } << u"typing_3"_qs;
        QTest::newRow("history") << u"history"_qs << QStringList {} << u"history_2"_qs;
        QTest::newRow("only apostrophes") << u"''"_qs << QStringList {} << u"_"_qs;
        QTest::newRow("number after a cut ending on an apostrophe")
                << u"abcdefghijklmnopqrstuvwxyzAB'cd"_qs
                << QStringList { u"abcdefghijklmnopqrstuvwxyzAB'cd"_qs }
                << u"abcdefghijklmnopqrstuvwxyzAB_2"_qs;
        QTest::newRow("cut between a surrogate pair")
                << QString(30, u'a') + u"😀"_qs << QStringList {} << QString(30, u'a');
    }

    void sheetNames()
    {
        QFETCH(QString, wanted);
        QFETCH(QStringList, taken);
        QFETCH(QString, name);
        QCOMPARE(xlsxfile::sheetName(wanted, taken), name);
    }

    // The one rule for what an exam's name gives a file name.
    void safeNames_data()
    {
        QTest::addColumn<QString>("article");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"第1课 春晓"_qs << u"打字考试成绩表-20260302-第1课 春晓"_qs;
        QTest::newRow("signs Windows refuses")
                << u"a\\b/c:d*e?f\"g<h>i|j"_qs << u"打字考试成绩表-20260302-a_b_c_d_e_f_g_h_i_j"_qs;
        QTest::newRow("controls and a reordering mark")
                << u"x\ty\u202Ez"_qs << u"打字考试成绩表-20260302-x_y_z"_qs;
        QTest::newRow("dots and blanks at the ends")
                << u" ..课文. "_qs << u"打字考试成绩表-20260302-课文"_qs;
        QTest::newRow("none") << u"  "_qs << u"打字考试成绩表-20260302"_qs;
        QTest::newRow("only dots") << u"..."_qs << u"打字考试成绩表-20260302-_"_qs;
        QTest::newRow("40 kept") << QString(40, u'长')
                                 << u"打字考试成绩表-20260302-"_qs + QString(40, u'长');
        QTest::newRow("41 cut") << QString(41, u'长')
                                << u"打字考试成绩表-20260302-"_qs + QString(40, u'长');
        QTest::newRow("cut between a surrogate pair") << QString(39, u'a')
                        + u"😀"_qs << u"打字考试成绩表-20260302-"_qs + QString(39, u'a');
    }

    void safeNames()
    {
        QFETCH(QString, article);
        QFETCH(QString, name);
        QCOMPARE(documentname::forExam(u"打字考试成绩表"_qs,
                                       QDateTime(QDate(2026, 3, 2), QTime(23, 0)), article),
                 name);
    }
};

QTEST_MAIN(TestExportWriter)
#include "tst_exportwriter.moc"
