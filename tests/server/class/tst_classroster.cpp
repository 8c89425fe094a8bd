// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Class lists as schools hand them over: real .xlsx workbooks written with
// libxlsxwriter, CSV and TXT in UTF-8 and GBK.
#include "class/classroster.h"
#include "classlists.h"
#include "exchange/gbk.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestClassRoster : public QObject
{
    Q_OBJECT

private slots:
    void readsSchoolLists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // the file; empty: the workbook below
        QTest::addColumn<QList<QStringList>>("cells");  // the workbook's rows
        QTest::addColumn<bool>("constantMemory");
        QTest::addColumn<QString>("options");  // writeWorkbook's
        QTest::addColumn<QString>("entries");  // "department|number|name;..."; empty: refused
        QTest::addColumn<QString>("says");  // in the problem or the notice
        const QList<QStringList> none;
        const QString plain;
        QTest::newRow("xlsx with title, 班级 and 学号, numeric numbers")
                << u"list.xlsx"_qs << QByteArray()
                << QList<QStringList> { { u"2026级计算机一班名单"_qs },
                                        { u"序号"_qs, u"班级"_qs, u"学号"_qs, u"姓  名"_qs },
                                        { u"#1"_qs, u"一班"_qs, u"#2026001"_qs, u"张三"_qs },
                                        { u"#2"_qs, u"一班"_qs, u"2026002"_qs, u"李四"_qs } }
                << false << plain << u"一班|2026001|张三;一班|2026002|李四"_qs << plain;
        QTest::newRow("xlsx with inline strings, columns reordered, gaps")
                << u"LIST.XLSX"_qs << QByteArray()
                << QList<QStringList> { { u"姓名"_qs, u""_qs, u"考号"_qs, u"部门"_qs },
                                        { u"王五"_qs, u""_qs, u"A-7"_qs, u"二班"_qs },
                                        {},
                                        { u"赵六"_qs, u"x"_qs, u"A-8"_qs, u""_qs } }
                << true << plain << u"二班|A-7|王五;|A-8|赵六"_qs << plain;
        QTest::newRow("csv in UTF-8 with BOM and quotes")
                << u"list.csv"_qs
                << QByteArray("\xEF\xBB\xBF"
                              "部门,考号,姓名\r\n\"计算机,1班\",001,\"钱 \"\"七\"\"\"\r\n")
                << none << false << plain << u"计算机,1班|001|钱 \"七\""_qs << plain;
        QTest::newRow("txt in GBK, tabs, a blank line, a repeated number")
                << u"list.txt"_qs
                << gbk::encode(u"部门\t考号\t姓名\n一班\t101\t孙八\n\n一班\t102\t周九\n"
                               u"一班\t101\t重复\n")
                << none << false << plain << u"一班|101|孙八;一班|102|周九"_qs << plain;
        QTest::newRow("txt with blanks and full-width commas")
                << u"list.txt"_qs
                << QByteArray("部门　考号 姓名\n三班 301  吴十\n三班，302，郑一\n") << none << false
                << plain << u"三班|301|吴十;三班|302|郑一"_qs << plain;
        QTest::newRow("neither UTF-8 nor GBK") << u"list.txt"_qs << QByteArray("一班,1,\xff\xfe\n")
                                               << none << false << plain << QString() << plain;
        QTest::newRow("one column only") << u"list.csv"_qs << QByteArray("张三\n李四\n") << none
                                         << false << plain << QString() << plain;
        QTest::newRow("old binary workbook") << u"list.xls"_qs
                                             << (QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\n")
                                                 + gbk::encode(u"一班,1,张三\n"))
                                             << none << false << plain << QString() << plain;
        QTest::newRow("cut-off workbook")
                << u"cut.xlsx"_qs << QByteArray("PK\x03\x04 not a workbook") << none << false
                << plain << QString() << plain;

        QTest::newRow("no recognised heading")
                << u"list.txt"_qs << QByteArray("A,B,C\n一班,1,张三\n") << none << false << plain
                << QString() << u"名单中没有找到“考号”和“姓名”列。第一行是：A、B、C"_qs;
        QTest::newRow("other headings below six title rows")
                << u"list.csv"_qs
                << QByteArray("计算机基础打字考试\n\n日期,2026-12-08\n\n说明\n\n"
                              "序号,班级名称,考生号*,考生姓名（必填）\n1,一班,A1,张三\n")
                << none << false << plain << u"一班|A1|张三"_qs << plain;
        QTest::newRow("numbers restarting in each class")
                << u"list.csv"_qs
                << QByteArray("班级,学号,姓名\n一班,01,甲\n一班,02,乙\n二班,01,丙\n二班,01,重复\n")
                << none << false << plain << u"一班|01|甲;一班|02|乙;二班|01|丙"_qs
                << u"按部门和考号"_qs;
        QTest::newRow("quoted field across a line break")
                << u"list.csv"_qs
                << QByteArray("部门,考号,姓名\r\n\"计算机\r\n一班\",001,张三\r\n一班,002,李四\r\n")
                << none << false << plain << u"计算机\n一班|001|张三;一班|002|李四"_qs << plain;
        QTest::newRow("UTF-16 little-endian with its mark")
                << u"list.txt"_qs << utf16(u"部门\t考号\t姓名\r\n一班\t1\t张三\r\n"_qs, true)
                << none << false << plain << u"一班|1|张三"_qs << plain;
        QTest::newRow("UTF-16 big-endian with its mark")
                << u"list.csv"_qs << utf16(u"考号,姓名\n2,李四\n"_qs, false) << none << false
                << plain << u"|2|李四"_qs << plain;
        QTest::newRow("workbook renamed .csv")
                << u"list.csv"_qs << QByteArray()
                << QList<QStringList> { { u"考号"_qs, u"姓名"_qs }, { u"#7"_qs, u"王五"_qs } }
                << false << plain << u"|7|王五"_qs << plain;
        QTest::newRow("numbers padded by their format, long numbers exact")
                << u"list.xlsx"_qs << QByteArray()
                << QList<QStringList> { { u"考号"_qs, u"姓名"_qs },
                                        { u"#12@0000"_qs, u"甲"_qs },
                                        { u"#202601010000000000"_qs, u"乙"_qs },
                                        { u"#2026010100000001@0"_qs, u"丙"_qs },
                                        { u"#-3@0000"_qs, u"丁"_qs } }
                << false << plain
                << u"|0012|甲;|202601010000000000|乙;|2026010100000001|丙;|-3|丁"_qs << plain;
        QTest::newRow("hidden sheet before the list")
                << u"list.xlsx"_qs << QByteArray()
                << QList<QStringList> { { u"考号"_qs, u"姓名"_qs }, { u"1"_qs, u"可见"_qs } }
                << false << u"hidden"_qs << u"|1|可见"_qs << plain;
        QTest::newRow("merged department down its rows")
                << u"list.xlsx"_qs << QByteArray()
                << QList<QStringList> { { u"部门"_qs, u"考号"_qs, u"姓名"_qs },
                                        { u"一班"_qs, u"1"_qs, u"甲"_qs },
                                        { u""_qs, u"2"_qs, u"乙"_qs },
                                        { u"二班"_qs, u"3"_qs, u"丙"_qs } }
                << false << u"merge:1,0,2,0"_qs << u"一班|1|甲;一班|2|乙;二班|3|丙"_qs << plain;
        // openpyxl, like LibreOffice, writes state="visible" on the visible sheet.
        const QList<QStringList> titled { { u"2026级一班名单"_qs },
                                          { u"部门"_qs, u"考号"_qs, u"姓名"_qs },
                                          { u"一班"_qs, u"#1"_qs, u"甲"_qs },
                                          { u"一班"_qs, u"2"_qs, u"乙"_qs } };
        QTest::newRow("openpyxl: visible sheet alone, merged title")
                << u"list.xlsx"_qs << QByteArray() << titled << false
                << u"openpyxl merge:0,0,0,2"_qs << u"一班|1|甲;一班|2|乙"_qs << plain;
        QTest::newRow("openpyxl: hidden sheet before the list, merged title")
                << u"list.xlsx"_qs << QByteArray() << titled << false
                << u"openpyxl hidden merge:0,0,0,2"_qs << u"一班|1|甲;一班|2|乙"_qs << plain;
        QTest::newRow("openpyxl: very hidden sheet before the list")
                << u"list.xlsx"_qs << QByteArray() << titled << false << u"openpyxl veryHidden"_qs
                << u"一班|1|甲;一班|2|乙"_qs << plain;
        QList<QStringList> inflating { { u"部门"_qs, u"考号"_qs, u"姓名"_qs },
                                       { u"一班"_qs, u"1"_qs, u"甲"_qs } };
        for (int i = 0; i < 600; ++i)
            inflating.append({ QString(), QString(), QString(), QString(30000, u'x') });
        QTest::newRow("sheet inflating beyond its bound")
                << u"list.xlsx"_qs << QByteArray() << inflating << true << plain << QString()
                << u"展开后超过16 MB"_qs;
    }

    void readsSchoolLists()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, cells);
        QFETCH(bool, constantMemory);
        QFETCH(QString, options);
        QFETCH(QString, entries);
        QFETCH(QString, says);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (cells.isEmpty())
            QVERIFY(writeFile(path, bytes));
        else
            writeWorkbook(path, cells, constantMemory, options);

        const ClassRoster::Reading reading = ClassRoster::load(path);
        QCOMPARE(reading.roster.has_value(), !entries.isEmpty());
        QCOMPARE(reading.problem.isEmpty(), !entries.isEmpty());
        const QString told = reading.problem + reading.notice;
        QVERIFY2(told.contains(says), qPrintable(told));
        if (!reading.roster)
            return;
        QStringList read;
        for (const RosterEntry &entry : reading.roster->entries())
            read << entry.department + u'|' + entry.examNumber + u'|' + entry.name;
        QCOMPARE(read.join(u';'), entries);
    }

    // A typed identity finds its listed examinee however it was typed; by
    // department too when the list's numbers restart in each class.
    void findsTypedIdentities_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("found");  // the listed name; empty: none
        const QString unique = u"部门,考号,姓名\n一班,A2026002,张三\n一班,2026003,李四\n"_qs;
        const QString restarting = u"部门,考号,姓名\n一班,01,甲\n二班,01,丙\n"_qs;
        QTest::newRow("letter case") << unique << u""_qs << u"a2026002"_qs << u"张三"_qs;
        QTest::newRow("full-width, another department")
                << unique << u"二班"_qs << u"２０２６００３"_qs << u"李四"_qs;
        QTest::newRow("not listed") << unique << u"一班"_qs << u"2026004"_qs << QString();
        QTest::newRow("restarting, second class")
                << restarting << u"二班"_qs << u"01"_qs << u"丙"_qs;
        QTest::newRow("restarting, blank after class")
                << restarting << u"一班　"_qs << u"01"_qs << u"甲"_qs;
        QTest::newRow("restarting, unlisted class")
                << restarting << u"三班"_qs << u"01"_qs << QString();
    }

    void findsTypedIdentities()
    {
        QFETCH(QString, list);
        QFETCH(QString, department);
        QFETCH(QString, number);
        QFETCH(QString, found);
        const ClassRoster::Reading reading =
                ClassRoster::fromRows(ClassRoster::textRows(list.toUtf8()));
        QVERIFY(reading.roster);
        const RosterEntry *entry = reading.roster->find(department, number);
        QCOMPARE(entry ? entry->name : QString(), found);
    }

    // Every damaged copy of a real workbook is read or refused with a
    // reason; none crashes the reader or hangs it.
    void damagedWorkbooksAreReadOrRefused()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"list.xlsx"_qs);
        writeWorkbook(
                path,
                { { u"部门"_qs, u"考号"_qs, u"姓名"_qs }, { u"一班"_qs, u"#1"_qs, u"张三"_qs } },
                false);
        const QByteArray whole = readFile(path);
        QVERIFY(!whole.isEmpty());
        for (qsizetype at = 0; at < whole.size(); at += 23) {
            QByteArray damaged = whole;
            damaged[at] = char(damaged[at] ^ 0x5A);
            QVERIFY(writeFile(path, at % 2 ? damaged : whole.left(at)));
            const ClassRoster::Reading reading = ClassRoster::load(path);
            QVERIFY(reading.roster.has_value() != !reading.problem.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestClassRoster)
#include "tst_classroster.moc"
