// Class lists as schools hand them over: real .xlsx workbooks written with
// libxlsxwriter, CSV and TXT in UTF-8 and GBK.
#include "class/classroster.h"
#include "gbk.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <xlsxwriter.h>

namespace {

// Writes rows of cells; a cell "#123" is written as the number 123. With
// constantMemory the strings are stored in the cells, not in a shared table.
void writeWorkbook(const QString &path, const QList<QStringList> &rows, bool constantMemory)
{
    lxw_workbook_options options {};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "名单");
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString &cell = rows[r][c];
            if (cell.startsWith(u'#'))
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), cell.mid(1).toDouble(),
                                       nullptr);
            else if (!cell.isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(),
                                       nullptr);
        }
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        qFatal("cannot write the workbook");
}

}  // namespace

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
        QTest::addColumn<QString>("entries");  // "department|number|name;..."; empty: refused
        const QList<QStringList> none;
        QTest::newRow("xlsx with title, 班级 and 学号, numeric numbers")
                << u"list.xlsx"_qs << QByteArray()
                << QList<QStringList> { { u"2026级计算机一班名单"_qs },
                                        { u"序号"_qs, u"班级"_qs, u"学号"_qs, u"姓  名"_qs },
                                        { u"#1"_qs, u"一班"_qs, u"#2026001"_qs, u"张三"_qs },
                                        { u"#2"_qs, u"一班"_qs, u"2026002"_qs, u"李四"_qs } }
                << false << u"一班|2026001|张三;一班|2026002|李四"_qs;
        QTest::newRow("xlsx with inline strings, columns reordered, gaps")
                << u"LIST.XLSX"_qs << QByteArray()
                << QList<QStringList> { { u"姓名"_qs, u""_qs, u"考号"_qs, u"部门"_qs },
                                        { u"王五"_qs, u""_qs, u"A-7"_qs, u"二班"_qs },
                                        {},
                                        { u"赵六"_qs, u"x"_qs, u"A-8"_qs, u""_qs } }
                << true << u"二班|A-7|王五;|A-8|赵六"_qs;
        QTest::newRow("csv in UTF-8 with BOM and quotes")
                << u"list.csv"_qs
                << QByteArray("\xEF\xBB\xBF"
                              "部门,考号,姓名\r\n\"计算机,1班\",001,\"钱 \"\"七\"\"\"\r\n")
                << none << false << u"计算机,1班|001|钱 \"七\""_qs;
        QTest::newRow("txt in GBK, tabs, no headings, a repeated number")
                << u"list.txt"_qs
                << gbk::encode(u"一班\t101\t孙八\n\n一班\t102\t周九\n一班\t101\t重复\n") << none
                << false << u"一班|101|孙八;一班|102|周九"_qs;
        QTest::newRow("txt with blanks and full-width commas")
                << u"list.txt"_qs
                << QByteArray("部门　考号 姓名\n三班 301  吴十\n三班，302，郑一\n") << none << false
                << u"三班|301|吴十;三班|302|郑一"_qs;
        QTest::newRow("neither UTF-8 nor GBK")
                << u"list.txt"_qs << QByteArray("一班,1,\xff\xfe\n") << none << false << QString();
        QTest::newRow("one column only")
                << u"list.csv"_qs << QByteArray("张三\n李四\n") << none << false << QString();
        QTest::newRow("old binary workbook") << u"list.xls"_qs
                                             << (QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\n")
                                                 + gbk::encode(u"一班,1,张三\n"))
                                             << none << false << QString();
        QTest::newRow("cut-off workbook")
                << u"cut.xlsx"_qs << QByteArray("PK\x03\x04 not a workbook") << none << false
                << QString();
    }

    void readsSchoolLists()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, cells);
        QFETCH(bool, constantMemory);
        QFETCH(QString, entries);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (cells.isEmpty())
            QVERIFY(writeFile(path, bytes));
        else
            writeWorkbook(path, cells, constantMemory);

        const ClassRoster::Reading reading = ClassRoster::load(path);
        QCOMPARE(reading.roster.has_value(), !entries.isEmpty());
        QCOMPARE(reading.problem.isEmpty(), !entries.isEmpty());
        if (!reading.roster)
            return;
        QStringList read;
        for (const RosterEntry &entry : reading.roster->entries())
            read << entry.department + u'|' + entry.examNumber + u'|' + entry.name;
        QCOMPARE(read.join(u';'), entries);
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
