// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a results workbook goes out: into its folder, made when
// absent, under a new name each time, with the examiner's message; a
// folder that cannot be made writes nothing until it can.
#include "testfiles.h"
#include "workbook.h"

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
        const ExportWriter writer(path);
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
};

QTEST_MAIN(TestExportWriter)
#include "tst_exportwriter.moc"
