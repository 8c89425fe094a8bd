// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reports read back: the PDF's text through pdftotext and its fonts
// through pdffonts, the term workbook through openpyxl (its summary
// against its exam sheets, its charts), a cancelled report, and where the
// speed histogram's grade lines stand among its bars.
#include "keptexams.h"
#include "testbroker.h"
#include "workbook.h"

#include "report/examcharts.h"
#include "report/examreport.h"
#include "report/loginslips.h"
#include "report/termreport.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void loginSlipsTenToAPage_data()
    {
        QTest::addColumn<int>("examinees");
        QTest::addColumn<int>("pages");
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("a page full") << 10 << 1;
        QTest::newRow("one over") << 11 << 2;
    }

    void loginSlipsTenToAPage()
    {
        QFETCH(int, examinees);
        QFETCH(int, pages);
        QTemporaryDir dir;
        QVector<CodedExaminee> listed;
        for (int i = 1; i <= examinees; ++i)
            listed.append({ u"计算机1班"_qs,
                            u"26%1"_qs.arg(i, 2, 10, QChar(u'0')),
                            u"王生%1"_qs.arg(i),
                            {} });
        const LoginCodes codes = LoginCodes::issue(u"0123456789abcdef0123456789abcdef"_qs, listed);
        const QString pdf = dir.filePath(u"登录码.pdf"_qs);
        const QString exam = u"2026-12-10　《春晓》　20分钟　计算机1班"_qs;
        QCOMPARE(loginslips::writePdf(codes, exam, pdf), QString());
        if (testbroker::inUse())
            QSKIP("pdftotext cannot read a file written under Wine");
        const QString info = run(u"pdfinfo"_qs, { pdf });
        QVERIFY(info.contains(QRegularExpression(u"Pages:\\s+%1\\n"_qs.arg(pages))));
        QVERIFY2(info.contains(u"Title:           打字考试登录码　"_qs + exam + u'\n'),
                 qPrintable(info));
        const QString text = run(u"pdftotext"_qs, { u"-raw"_qs, pdf, u"-"_qs });
        // Each slip whole, naming its exam, 生 as itself; the code drawn
        // spaced may read with blanks.
        for (const CodedExaminee &examinee : codes.examinees()) {
            const QString slip =
                    u"打字考试登录码\n%1\n姓名：%2\n部门：%3\n考号：%4\n登录码：%5"_qs.arg(
                            QString(exam).remove(u' ').remove(u'　'), examinee.name,
                            examinee.department, examinee.examNumber, examinee.code);
            QString joined = text;
            joined.remove(u' ');
            QVERIFY2(joined.contains(slip), qPrintable(slip + u"\n---\n"_qs + text));
        }
        QVERIFY(!loginslips::writePdf(codes, exam, dir.filePath(u"无/登录码.pdf"_qs)).isEmpty());
    }

    void examAsPdf()
    {
        QTemporaryDir dir;
        ExamArchive archive(dir.filePath(u"a.db"_qs));
        QVector<ArchivedExam> exams = keptExams(archive, 1, 60);
        QCOMPARE(exams.size(), 1);
        ArchivedExam &exam = exams.first();
        // A class whose grade line runs past the page's width, a name the
        // font's radicals share glyphs with, a name that would reorder the
        // line, names beyond a cell, and an article beyond a line that
        // starts with the radicals' ideographs in their order.
        exam.sitting.articleName = u"第1课 一丨丶丿乙亅二亠人儿入八冂"_qs + QString(60, u'春');
        for (ArchivedRow &row : exam.rows) {
            if (row.department == u"计算机1班"_qs)
                row.department = u"2026级计算机1班"_qs;
        }
        exam.rows[0].name = u"黄子涵"_qs;
        exam.rows[1].name = u"\u202E李四\u202C"_qs;
        exam.rows[2].name = QString(300, u'长');
        exam.rows[3].department = QString(300, u'系');
        const QString pdf = dir.filePath(u"报告.pdf"_qs);
        QCOMPARE(examreport::writePdf(exam, examreport::drawCharts(exam), pdf), QString());
        QCOMPARE(examreport::defaultFileName(exam),
                 u"考试报告-20260302-第1课 一丨丶丿乙亅二亠人儿入八冂"_qs + QString(23, u'春')
                         + u".pdf"_qs);
        // Poppler's tools, Linux programs, do not reach the file from inside
        // Wine; the Linux run reads the report back.
        if (testbroker::inUse())
            QSKIP("pdftotext cannot read a file written under Wine");
        const QString text = run(u"pdftotext"_qs, { u"-layout"_qs, pdf, u"-"_qs });
        // Cells wrap: the text is compared without its blanks and breaks.
        QString joined = text;
        joined.remove(QRegularExpression(u"\\s"_qs));
        for (const QString &expected :
             { u"打字考试成绩报告"_qs, u"第1课"_qs, u"2026级计算机1班速度"_qs, u"考生59"_qs,
               u"不及格"_qs, u"标准差"_qs, u"部门"_qs, u"黄子涵"_qs, u"生"_qs, u"门"_qs,
               u"一丨丶丿乙亅二亠人儿入八冂"_qs, u"\uFFFD李四\uFFFD"_qs })
            QVERIFY2(joined.contains(expected), qPrintable(expected));
        // Every character as itself: no radical stands for its ideograph.
        for (const QChar ch : text)
            QVERIFY2(ch.unicode() < 0x2E80 || ch.unicode() > 0x2FDF,
                     qPrintable(QString::number(ch.unicode(), 16)));
        // Each page: the exam's title, the ranking's heading row, its number
        // (poppler's layout drops the blanks between CJK signs and digits).
        const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
        const QStringList raw =
                run(u"pdftotext"_qs, { u"-raw"_qs, pdf, u"-"_qs }).split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(raw.size(), pages.size());
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        for (int p = 0; p < pages.size(); ++p) {
            const QString &page = pages[p];
            const QString number = u"第 %1 页 / 共 %2 页"_qs.arg(p + 1).arg(pages.size());
            QVERIFY2(raw[p].contains(number), qPrintable(number));
            QVERIFY2(page.contains(u"打字考试成绩报告"_qs), qPrintable(number));
            // The first page opens with the figures' table, the others continue the ranking.
            const QString heading = p == 0 ? u"统计"_qs : u"名次"_qs;
            QVERIFY2(page.contains(heading) && page.contains(u"正确率"_qs), qPrintable(number));
        }
        // Each class's grade line whole, however it wraps.
        for (const QString &part : { u"2026级计算机1班"_qs, u"计算机2班"_qs })
            QVERIFY2(QRegularExpression(part + u"：.*优秀\\d+人（[\\d.]+%）.*；及格率[\\d.]+%"_qs)
                             .match(joined)
                             .hasMatch(),
                     qPrintable(part));
        QVERIFY(run(u"pdfinfo"_qs, { pdf }).contains(u"A4"_qs));
        // Every font embedded, so any reader shows the Chinese text.
        const QStringList fonts =
                run(u"pdffonts"_qs, { pdf }).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QVERIFY2(font.contains(u" yes "_qs), qPrintable(font));
        // A folder that is not there: the reason, and no file.
        QVERIFY(!examreport::writePdf(exam, examreport::Charts(), dir.filePath(u"无/报告.pdf"_qs))
                         .isEmpty());
    }

    void termWorkbook()
    {
        QTemporaryDir dir;
        ExamArchive archive(dir.filePath(u"a.db"_qs));
        const QVector<ArchivedExam> exams = keptExams(archive, 3, 6);
        // A folder that is not there: what happened and what to do, the
        // library's words as the detail; then the folder that is.
        const QString nowhere = dir.filePath(u"无/学期报告.xlsx"_qs);
        QCOMPARE(termreport::write(exams, nowhere, {}).problem,
                 u"无法写出学期报告 "_qs + QDir::toNativeSeparators(nowhere)
                         + u"：无法建立文件。请确认这个文件夹可以写入、同名文件没有在 Excel 或 "
                           u"WPS 中打开、磁盘还有空间，然后再试一次。（详细信息：Error creating "
                           u"output xlsx file. Usually a permissions error.）"_qs);
        const QString path = dir.filePath(u"学期报告.xlsx"_qs);
        int told = 0;
        const termreport::Outcome outcome =
                termreport::write(exams, path, [&](int done, int total) {
                    told = done * 10 + total;
                    return true;
                });
        QCOMPARE(outcome.problem, QString());
        QCOMPARE(told, 33);
        // Each summary cell against the row of its exam's sheet; the charts.
        const QStringList checked = workbookScript(
                u"import zipfile\n"
                "wb = openpyxl.load_workbook(sys.argv[1])\n"
                "s = wb['汇总']\n"
                "head = [c.value for c in s[1]]\n"
                "sheets = wb.sheetnames[2:]\n"
                "bad = 0\n"
                "for row in s.iter_rows(min_row=2, values_only=True):\n"
                "  for e, name in enumerate(sheets):\n"
                "    exam = {r[2]: r for r in wb[name].iter_rows(min_row=2, values_only=True)}\n"
                "    r = exam[row[0]]\n"
                "    bad += (row[3 + 2 * e], row[4 + 2 * e]) != (r[4], r[7])\n"
                "  speeds = [row[3 + 2 * e] for e in range(len(sheets))]\n"
                "  bad += row[-3] != max(speeds) or abs(row[-2] - sum(speeds) / 3) > 1e-9\n"
                "  bad += abs(row[-1] - 0.5) > 1e-9\n"
                "print(len(sheets), s.max_row - 1, bad, head[-1])\n"
                "print(sum(n.startswith('xl/charts/chart') for n in zipfile.ZipFile(sys.argv[1]).namelist()))\n"_qs,
                path);
        QCOMPARE(checked, (QStringList { u"3 6 0 趋势（字/分钟每次）"_qs, u"2"_qs }));

        // Cancelled after the first exam: nothing left behind, an older file kept.
        QVERIFY(QFile::remove(path));
        const termreport::Outcome cancelled =
                termreport::write(exams, path, [](int, int) { return false; });
        QVERIFY(cancelled.cancelled);
        QVERIFY(!QFile::exists(path) && !QFile::exists(path + u".part"_qs));
    }

    // A class list of six, one absent, one logged in and never started: the
    // counts, rows without a place or figures, 缺考 and 未开始 in the PDF and
    // in every sheet of the term report.
    void absentExamineesInTheReports()
    {
        QTemporaryDir dir;
        ArchivedExam exam = classOfFive();
        exam.rows << exam.rows.last();
        std::tie(exam.rows.last().examNumber, exam.rows.last().name, exam.rows.last().state) =
                std::tuple(u"06"_qs, u"己"_qs, ExamineeState::Waiting);
        exam.sitting.roster += u"一班\t06\t己\n"_qs;
        const QString pdf = dir.filePath(u"报告.pdf"_qs);
        QCOMPARE(examreport::writePdf(exam, examreport::drawCharts(exam), pdf), QString());
        const QString path = dir.filePath(u"学期报告.xlsx"_qs);
        QCOMPARE(termreport::write({ exam }, path, {}).problem, QString());
        if (testbroker::inUse())
            QSKIP("pdftotext cannot read a file written under Wine");
        const QStringList lines = run(u"pdftotext"_qs, { u"-layout"_qs, pdf, u"-"_qs })
                                          .normalized(QString::NormalizationForm_KC)
                                          .split(u'\n');
        const auto lineWith = [&lines](const QString &part) {
            for (const QString &line : lines) {
                if (line.contains(part))
                    return line.simplified();
            }
            return QString();
        };
        QVERIFY(lineWith(u"考试时间"_qs).endsWith(u"应考 6人,实考 4人,未开始 1人,缺考 1人"_qs));
        QVERIFY(lineWith(u"全体:"_qs)
                        .startsWith(
                                u"全体:应考 6人,实考 4人,未开始 1人,缺考 1人;优秀 1人(25.0%)"_qs));
        QCOMPARE(lineWith(u"丙"_qs), u"2 一班 03 丙 50.00 90.00 良好 85 已交卷"_qs);
        QCOMPARE(lineWith(u"丁"_qs), u"一班 04 丁 20.00 80.00 不及格 50 答题中"_qs);
        QCOMPARE(lineWith(u"戊"_qs), u"一班 05 戊 缺考"_qs);
        QCOMPARE(lineWith(u"己"_qs), u"一班 06 己 未开始"_qs);

        const QStringList sheets =
                workbookScript(u"wb = openpyxl.load_workbook(sys.argv[1])\n"
                               "for name in wb.sheetnames:\n"
                               "  for row in wb[name].iter_rows(values_only=True):\n"
                               "    if name == '班级统计' or '戊' in row or '己' in row:\n"
                               "      print(name, [v for v in row if v is not None])\n"_qs,
                               path);
        QCOMPARE(
                sheets,
                (QStringList {
                        u"汇总 ['05', '戊', '一班', '缺考']"_qs,
                        u"汇总 ['06', '己', '一班', '未开始']"_qs,
                        u"班级统计 ['考试', '文章', '平均速度', '及格率（%）', '优秀', '良好', '及格', '不及格', '应考', '实考', '未开始', '缺考']"_qs,
                        u"班级统计 ['01 03-02', '春晓', 45, 75, 1, 2, 0, 1, 6, 4, 1, 1]"_qs,
                        u"01 03-02 春晓 ['一班', '05', '戊', '缺考']"_qs,
                        u"01 03-02 春晓 ['一班', '06', '己', '未开始']"_qs }));

        // Each exam's printed pages say which exam they are.
        ArchivedExam held = exam;
        held.sitting.lab = u"机房A"_qs;
        held.sitting.teacher = u"王老师"_qs;
        QCOMPARE(termreport::write({ held }, path, {}).problem, QString());
        const QString when = held.sitting.heldAt().toLocalTime().toString(u"yyyy-MM-dd HH:mm"_qs);
        QCOMPARE(workbookScript(u"wb = openpyxl.load_workbook(sys.argv[1])\n"
                                "print(wb['01 03-02 春晓'].oddHeader.center.text)\n"_qs,
                                path),
                 QStringList { when + u"　《春晓》　10分钟　一班　机房A　王老师"_qs });
    }

    void gradeLineStandsInItsBin_data()
    {
        QTest::addColumn<double>("fastest");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<int>("bin");  // the bar the line stands in or on the left edge of
        QTest::addColumn<bool>("onEdge");
        QTest::addColumn<int>("bars");
        QTest::newRow("inside a bin") << 72.5 << 45.0 << 4 << false << 8;
        QTest::newRow("on a bin edge") << 72.5 << 50.0 << 5 << true << 8;
        QTest::newRow("above the fastest") << 31.0 << 95.0 << 9 << false << 10;
        // Eleven bins and more: every other edge labelled, filled to an even count.
        QTest::newRow("many bins") << 155.0 << 45.0 << 4 << false << 16;
        QTest::newRow("eleven bins") << 105.0 << 100.0 << 10 << true << 12;
    }

    void gradeLineStandsInItsBin()
    {
        QFETCH(double, fastest);
        QFETCH(double, threshold);
        QFETCH(int, bin);
        QFETCH(bool, onEdge);
        QFETCH(int, bars);
        const auto scale =
                GradingScale::fromText(u"过关\t%1\t0\t100\n未过\t0\t0\t0"_qs.arg(threshold));
        QVERIFY2(scale.scale, qPrintable(scale.problem));
        ArchivedRow slow;
        slow.speed = 12;
        slow.accuracyLine = u"99"_qs;
        slow.timePass = 600;
        slow.state = ExamineeState::Finished;
        ArchivedRow fast = slow;
        fast.speed = fastest;
        std::unique_ptr<QChart> chart(examcharts::speedHistogram({ slow, fast }, *scale.scale));
        const auto *barSeries = qobject_cast<QBarSeries *>(chart->series().first());
        QVERIFY(barSeries);
        QCOMPARE(barSeries->barSets().first()->count(), bars);
        // The one speed axis shown: a tick, major or minor, at each edge of the bars, which
        // fill its width evenly, so a line's share of the width is its bar's.
        QValueAxis *speeds = nullptr;
        for (QAbstractAxis *axis : chart->axes(Qt::Horizontal)) {
            if (axis->isVisible())
                speeds = qobject_cast<QValueAxis *>(axis);
        }
        QVERIFY(speeds);
        QCOMPARE(speeds->min(), 0.0);
        QCOMPARE(speeds->max(), bars * 10.0);
        QCOMPARE((speeds->tickCount() - 1) * (speeds->minorTickCount() + 1), bars);
        QVERIFY(speeds->tickCount() <= 11);
        const double place = threshold / speeds->max() * bars;
        QCOMPARE(int(place), bin);
        QCOMPARE(place == std::floor(place), onEdge);
    }

    // A name beyond what a cell holds, or one with a control or a reordering
    // mark, goes in by the export's rule, and the report says so.
    void longNameIsShortenedAndSaid()
    {
        QTemporaryDir dir;
        ExamArchive archive(dir.filePath(u"a.db"_qs));
        QVector<ArchivedExam> exams = keptExams(archive, 1, 2);
        QCOMPARE(exams.size(), 1);
        exams[0].rows[0].name = QString(40000, u'名');
        exams[0].rows[1].name = u"\u202E李四\x01"_qs;
        const QString path = dir.filePath(u"学期报告.xlsx"_qs);
        const termreport::Outcome outcome = termreport::write(exams, path, {});
        QCOMPARE(outcome.problem, QString());
        // Once on the exam's sheet, once in the summary; then the other name.
        QCOMPARE(outcome.changed,
                 (QStringList { u"01 03-02 第1课 第2行：40000个字符截短为32767个"_qs,
                                u"01 03-02 第1课 第3行：控制字符已替换为“\uFFFD”"_qs,
                                u"汇总 第2行：40000个字符截短为32767个"_qs,
                                u"汇总 第3行：控制字符已替换为“\uFFFD”"_qs }));
        QCOMPARE(workbookScript(u"ws = openpyxl.load_workbook(sys.argv[1])['汇总']\n"
                                "print(len(ws['B2'].value), ws['B3'].value)\n"_qs,
                                path),
                 QStringList { u"32767 \uFFFD李四\uFFFD"_qs });
    }

    void examSheetNames_data()
    {
        QTest::addColumn<QStringList>("articles");  // one exam each, a day apart
        QTest::addColumn<QStringList>("sheets");  // the exams' sheets as read back
        QTest::newRow("apostrophe at the end")
                << QStringList { u"Students'"_qs, u"文章'"_qs }
                << QStringList { u"01 03-02 Students"_qs, u"02 03-03 文章"_qs };
        QTest::newRow("apostrophe at the start of the article")
                << QStringList { u"'引号"_qs } << QStringList { u"01 03-02 '引号"_qs };
        // 9 characters of number and date, then 22 of the name reach 31.
        QTest::newRow("cut ending on an apostrophe")
                << QStringList { u"abcdefghijklmnopqrstu'vwxyzabcdefghijklm"_qs }
                << QStringList { u"01 03-02 abcdefghijklmnopqrstu"_qs };
        QTest::newRow("31 characters whole, 32 cut")
                << QStringList { u"abcdefghijklmnopqrstuv"_qs, u"abcdefghijklmnopqrstuvw"_qs }
                << QStringList { u"01 03-02 abcdefghijklmnopqrstuv"_qs,
                                 u"02 03-03 abcdefghijklmnopqrstuv"_qs };
        QTest::newRow("equal but for case")
                << QStringList { u"Typing"_qs, u"TYPING"_qs }
                << QStringList { u"01 03-02 Typing"_qs, u"02 03-03 TYPING"_qs };
        QTest::newRow("refused signs") << QStringList { u"a[b]c:d*e?f/g\\h"_qs }
                                       << QStringList { u"01 03-02 a_b_c_d_e_f_g_h"_qs };
    }

    void examSheetNames()
    {
        QFETCH(QStringList, articles);
        QFETCH(QStringList, sheets);
        QTemporaryDir dir;
        ExamArchive archive(dir.filePath(u"a.db"_qs));
        QVector<ArchivedExam> exams = keptExams(archive, int(articles.size()), 2);
        QCOMPARE(exams.size(), articles.size());
        for (int e = 0; e < exams.size(); ++e)
            exams[e].sitting.articleName = articles[e];
        const QString path = dir.filePath(u"学期报告.xlsx"_qs);
        QCOMPARE(termreport::write(exams, path, {}).problem, QString());
        const QStringList read = workbookScript(
                u"print('|'.join(openpyxl.load_workbook(sys.argv[1]).sheetnames))\n"_qs, path);
        QCOMPARE(read,
                 QStringList { (QStringList { termreport::summarySheetName(),
                                              termreport::chartSheetName() }
                                + sheets)
                                       .join(u'|') });
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
