// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a results workbook goes out: into its folder, made when
// absent, under a new name each time, with the examiner's message; a
// folder that cannot be made writes nothing until it can. The one way
// every workbook is written, and what it leaves when it cannot.
#include "testfiles.h"
#include "workbook.h"

#include "export/documentname.h"
#include "export/exportwriter.h"
#include "export/workbookwriter.h"
#include "export/xlsxfile.h"
#include "export/xlsxnumbers.h"

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
        // Then a blank row, 存疑说明 and the note.
        QCOMPARE(written.size(), 6);
        QVERIFY2(written.at(2).startsWith(u"str:一班|str:01|str:甲|int:50|int:98|int:60|"_qs)
                         && written.at(2).endsWith(u"|str:用时不符"_qs),
                 qPrintable(written.at(2)));
    }

    // Figures as numbers of two decimals, written as such in the sheet;
    // the title and each page's header name the exam.
    void figuresAndTitleAsWritten()
    {
        QTemporaryDir root;
        const ExportWriter writer(root.path(), QDateTime(QDate(2026, 3, 2), QTime(8, 5)),
                                  u"第1课"_qs, 10);
        QVector<ExportedRow> rows(2);
        rows[0].result = { 1, u"一班"_qs, u"01"_qs, u"甲"_qs, 73.71, u"90.74"_qs, 60 };
        rows[1].result = { 2, u"一班"_qs, u"02"_qs, u"乙"_qs, 56.125, u"87.5"_qs, 45 };
        const WorkbookExport exported = writer.write(rows, GradingScale::standard());
        QCOMPARE(exported.problem, QString());
        const QString title = u"打字考试成绩表　2026-03-02 08:05　《第1课》　10分钟　一班"_qs;
        QCOMPARE(workbookScript(
                         u"import re, zipfile\n"
                         "xml = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml')\n"
                         "cells = re.findall(r'<c r=\"([D-F][34])\"[^>]*><v>([^<]*)</v>', "
                         "xml.decode())\n"
                         "print(' '.join(c + '=' + v for c, v in cells))\n"
                         "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                         "print(ws['D3'].number_format, ws['E3'].number_format)\n"
                         "print(ws['A1'].value)\n"
                         "print(ws.oddHeader.center.text)\n"_qs,
                         exported.workbook),
                 (QStringList { u"D3=73.71 E3=90.74 F3=60 D4=56.12 E4=87.5 F4=45"_qs,
                                u"0.00 0.00"_qs, title, title }));
    }

    // Every workbook is written beside its target and renamed when whole: a
    // target that cannot be written leaves nothing behind and keeps an older
    // file; the sheet's last row is written, a row past it ends the
    // workbook with the cell named.
    void oneWriterForEveryWorkbook()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(u"成绩"_qs);
        const QString path = folder + u"/成绩表.xlsx"_qs;
        const auto write = [&path](lxw_row_t row) {
            WorkbookWriter file(path, u"成绩表"_qs);
            lxw_worksheet *sheet = file.sheet(u"成绩"_qs);
            file.text(sheet, 0, 0, u"甲"_qs);
            file.number(sheet, row, 1, 73.71);
            return file.finish();
        };
        const auto left = [](const QString &in) {
            return QDir(in).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };
        const QString cannotWrite = u"无法写出成绩表 "_qs + QDir::toNativeSeparators(path);

        writeFile(folder, "x");  // a file where the folder belongs
        QCOMPARE(write(1),
                 cannotWrite
                         + u"：无法建立文件。请确认这个文件夹可以写入、同名文件没有在 Excel 或 "
                           u"WPS 中打开、磁盘还有空间，然后再试一次。（详细信息：Error creating "
                           u"output xlsx file. Usually a permissions error.）"_qs);
        QCOMPARE(left(root.path()), QStringList { u"成绩"_qs });

        QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));
        QCOMPARE(write(LXW_ROW_MAX - 1), QString());
        QCOMPARE(left(folder), QStringList { u"成绩表.xlsx"_qs });
        QCOMPARE(workbookScript(
                         u"import zipfile\n"
                         "xml = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml')\n"
                         "print(xml.decode().count('<v>73.71</v>'))\n"
                         "ws = openpyxl.load_workbook(sys.argv[1])['成绩']\n"
                         "print(ws['A1'].value, ws['B1048576'].value, ws.max_row)\n"_qs,
                         path),
                 (QStringList { u"1"_qs, u"甲 73.71 1048576"_qs }));

        const QByteArray whole = readFile(path);
        QCOMPARE(write(LXW_ROW_MAX),
                 cannotWrite
                         + u"：无法写入单元格 成绩!B1048577（Worksheet row or column index out "
                           u"of range.）"_qs);
        QCOMPARE(left(folder), QStringList { u"成绩表.xlsx"_qs });
        QCOMPARE(readFile(path), whole);
        // A workbook that can be written then replaces the older one, alone.
        QCOMPARE(write(1), QString());
        QCOMPARE(left(folder), QStringList { u"成绩表.xlsx"_qs });
        QVERIFY(readFile(path) != whole);
    }

    // Each number in a sheet in its shortest form, the same number still: a
    // single's digits, a whole number, text and a value left open stay.
    void shortestNumbers()
    {
        QCOMPARE(xlsxnumbers::shortest("<c r=\"D3\" s=\"1\"><v>73.70999999999999</v></c>"),
                 QByteArray("<c r=\"D3\" s=\"1\"><v>73.71</v></c>"));
        const QByteArray kept("<v>73.70999908447266</v><v>60</v><t>0.30000000000000004</t><v>0.3");
        QCOMPARE(xlsxnumbers::shortest(kept), kept);
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

    void examCaptions_data()
    {
        QTest::addColumn<bool>("timeKnown");
        QTest::addColumn<QStringList>("departments");
        QTest::addColumn<QString>("caption");
        QTest::newRow("before it opens")
                << false << QStringList { u" "_qs } << u"2026-03-02　《春晓》　20分钟"_qs;
        QTest::newRow("one class written two ways")
                << true << QStringList { u"初二(3)班"_qs, u" 初二（3）班"_qs }
                << u"2026-03-02 08:05　《春晓》　20分钟　初二(3)班"_qs;
        QTest::newRow("three named") << true << QStringList { u"一班"_qs, u"二班"_qs, u"三班"_qs }
                                     << u"2026-03-02 08:05　《春晓》　20分钟　一班、二班、三班"_qs;
        QTest::newRow("four counted")
                << true << QStringList { u"一班"_qs, u"二班"_qs, u"三班"_qs, u"四班"_qs }
                << u"2026-03-02 08:05　《春晓》　20分钟　4个班"_qs;
    }

    void examCaptions()
    {
        QFETCH(bool, timeKnown);
        QFETCH(QStringList, departments);
        QFETCH(QString, caption);
        QCOMPARE(documentname::caption({ QDateTime(QDate(2026, 3, 2), QTime(8, 5)), timeKnown,
                                         u"春晓"_qs, 20, departments }),
                 caption);
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
