// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The grade's term workbook read back through openpyxl: the 年级汇总 sheet
// against figures worked out by hand, a sheet per class with its own
// examinees, the native charts pointing at the summary's cells, sheet
// names Excel accepts, and the refusals that leave no file.
#include "keptexams.h"
#include "workbook.h"

#include "report/termworkbook.h"

#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

namespace {

const SchoolTerm kTerm = SchoolTerm::of(QDate(2026, 3, 2));

// 一班 twice (classOfFive, a week apart, in two labs); 二班 once, without a class list.
QVector<ClassTerm> twoClasses()
{
    ArchivedExam first = classOfFive();
    first.sitting.lab = u"机房1"_qs;
    ArchivedExam second = classOfFive();
    second.sitting.lab = u"机房2"_qs;
    second.sitting.teacher = u"王老师"_qs;
    second.sitting.openedAt = first.sitting.openedAt.addDays(7);
    ArchivedExam other;
    other.sitting.articleName = u"静夜思"_qs;
    other.sitting.openedAt = first.sitting.openedAt.addDays(1);
    for (const auto &[number, speed, accuracy] :
         { std::tuple { u"11"_qs, 45.0, u"92"_qs }, std::tuple { u"12"_qs, 31.0, u"85"_qs } }) {
        ArchivedRow row;
        row.department = u"二班"_qs;
        row.examNumber = number;
        row.name = u"考生"_qs + number;
        row.speed = speed;
        row.accuracyLine = accuracy;
        row.timePass = 600;
        row.state = ExamineeState::Finished;
        other.rows.append(row);
    }
    return { { u"一班"_qs, { first, second } }, { u"二班"_qs, { other } } };
}

// Each sheet's name, then its rows with the trailing empty cells left off.
const QString kEverySheet =
        u"wb = openpyxl.load_workbook(sys.argv[1])\n"
        "for ws in wb:\n"
        "  print('#' + ws.title)\n"
        "  for row in ws.iter_rows(values_only=True):\n"
        "    cells = ['' if v is None else type(v).__name__ + ':' + str(v) for v in row]\n"
        "    while cells and not cells[-1]: cells.pop()\n"
        "    print('|'.join(cells).replace('\\n', ' '))\n"_qs;

}  // namespace

class TestTermWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void summaryAndClassSheets()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"年级学期报告.xlsx"_qs);
        // Refused first, nothing left behind: classes without exams, a
        // folder that is not there, a cancel after the first class.
        QCOMPARE(termworkbook::write(kTerm, { { u"三班"_qs, {} } }, path, {}).problem,
                 u"选中的班级在2025-2026学年第二学期没有考试，没有生成年级学期报告。"_qs);
        QVERIFY(!termworkbook::write(kTerm, twoClasses(), dir.filePath(u"无/报告.xlsx"_qs), {})
                         .problem.isEmpty());
        const termreport::Outcome cancelled =
                termworkbook::write(kTerm, twoClasses(), path, [](int, int) { return false; });
        QVERIFY(cancelled.cancelled && cancelled.problem.isEmpty());
        QVERIFY(!QFile::exists(path) && !QFile::exists(path + u".part"_qs));

        QStringList told;
        const termreport::Outcome outcome =
                termworkbook::write(kTerm, twoClasses(), path, [&](int done, int total) {
                    told << u"%1/%2"_qs.arg(done).arg(total);
                    return true;
                });
        QCOMPARE(outcome.problem, QString());
        QCOMPARE(told, (QStringList { u"1/2"_qs, u"2/2"_qs }));
        const QStringList read = workbookScript(kEverySheet, path);
        const QStringList expected {
            u"#年级汇总"_qs,
            u"str:2025-2026学年第二学期 年级汇总（2个班）"_qs,
            u"str:班级|str:考试场数|str:应考（人次）|str:实考（人次）|str:未开始（人次）|str:"
            u"缺考（人次）|"
            "str:平均速度|str:最高速度|str:最低速度|str:平均正确率（%）|str:及格率（%）|"
            "str:优秀|str:良好|str:及格|str:不及格"_qs,
            // 8 results: 60, 50, 50, 20 twice; 甲, 乙, 丙 pass; 戊 absent twice.
            u"str:一班|int:2|int:10|int:8|int:0|int:2|int:45|int:60|int:20|float:90.75|int:75|"
            "int:2|int:4|int:0|int:2"_qs,
            // No class list: only those who sat are known.
            u"str:二班|int:1||int:2|||int:38|int:45|int:31|float:88.5|int:100|int:0|int:1|int:1|"
            "int:0"_qs,
            u"#一班"_qs,
            // Each exam's columns say which lab and teacher held it.
            u"str:考号|str:姓名|str:部门|str:01 03-02 春晓 机房1 速度|str:01 03-02 春晓 机房1 等级|"
            "str:02 03-09 春晓 机房2 王老师 速度|str:02 03-09 春晓 机房2 王老师 等级|"
            "str:最好速度|str:平均速度|"
            "str:趋势（字/分钟每次）"_qs,
            u"str:01|str:甲|str:一班|int:60|str:优秀|int:60|str:优秀|int:60|int:60|int:0"_qs,
            u"str:02|str:乙|str:一班|int:50|str:良好|int:50|str:良好|int:50|int:50|int:0"_qs,
            u"str:03|str:丙|str:一班|int:50|str:良好|int:50|str:良好|int:50|int:50|int:0"_qs,
            u"str:04|str:丁|str:一班|int:20|str:不及格|int:20|str:不及格|int:20|int:20|int:0"_qs,
            u"str:05|str:戊|str:一班||str:缺考||str:缺考"_qs,
            u"#二班"_qs,
            u"str:考号|str:姓名|str:部门|str:01 03-03 静夜思 速度|str:01 03-03 静夜思 等级|"
            "str:最好速度|str:平均速度|str:趋势（字/分钟每次）"_qs,
            u"str:11|str:考生11|str:二班|int:45|str:良好|int:45|int:45"_qs,
            u"str:12|str:考生12|str:二班|int:31|str:及格|int:31|int:31"_qs,
        };
        QCOMPARE(read, expected);

        // Native charts over the summary's cells: the mean speed (G), then
        // a series per grade (L to O), the classes in A3:A4.
        const QStringList charts = workbookScript(
                u"import zipfile, re\n"
                "z = zipfile.ZipFile(sys.argv[1])\n"
                "for n in ('xl/charts/chart1.xml', 'xl/charts/chart2.xml'):\n"
                "  print(' '.join(re.findall(r'<c:f>(.*?)</c:f>', z.read(n).decode())))\n"_qs,
                path);
        const auto cell = [](const QString &range) -> QString { return u"'年级汇总'!"_qs + range; };
        QStringList shares;
        for (const QChar column : { u'L', u'M', u'N', u'O' })
            shares << cell(u"$%1$2"_qs.arg(column)) << cell(u"$A$3:$A$4"_qs)
                   << cell(u"$%1$3:$%1$4"_qs.arg(column));
        QCOMPARE(charts,
                 (QStringList { QStringList { cell(u"$G$2"_qs), cell(u"$A$3:$A$4"_qs),
                                              cell(u"$G$3:$G$4"_qs) }
                                        .join(u' '),
                                shares.join(u' ') }));
    }

    void sheetNames_data()
    {
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<QStringList>("sheets");  // after 年级汇总
        const QString long31 = u"abcdefghijklmnopqrstuvwxyz01234"_qs;
        QTest::newRow("refused signs, then equal")
                << QStringList { u"高一/1班"_qs, u"高一_1班"_qs, u"[高二]:2*?\\班"_qs }
                << QStringList { u"高一_1班"_qs, u"高一_1班_2"_qs, u"_高二__2___班"_qs };
        QTest::newRow("31 characters whole, 32 cut")
                << QStringList { long31, long31 + u"5"_qs }
                << QStringList { long31, long31.left(29) + u"_2"_qs };
        QTest::newRow("equal but for case") << QStringList { u"Class A"_qs, u"CLASS A"_qs }
                                            << QStringList { u"Class A"_qs, u"CLASS A_2"_qs };
        QTest::newRow("named as the summary or History")
                << QStringList { u"年级汇总"_qs, u"history"_qs }
                << QStringList { u"年级汇总_2"_qs, u"history_2"_qs };
    }

    void sheetNames()
    {
        QFETCH(QStringList, classes);
        QFETCH(QStringList, sheets);
        QVector<ClassTerm> terms;
        for (const QString &name : classes)
            terms.append({ name, { classOfFive() } });
        QTemporaryDir dir;
        const QString path = dir.filePath(u"年级学期报告.xlsx"_qs);
        QCOMPARE(termworkbook::write(kTerm, terms, path, {}).problem, QString());
        const QStringList read = workbookScript(
                u"print('|'.join(openpyxl.load_workbook(sys.argv[1]).sheetnames))\n"_qs, path);
        QCOMPARE(read,
                 QStringList {
                         (QStringList { termworkbook::summarySheetName() } + sheets).join(u'|') });
    }
};

QTEST_MAIN(TestTermWorkbook)
#include "tst_termworkbook.moc"
