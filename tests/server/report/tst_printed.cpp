// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbooks as a school prints them: the results export and the term
// report (6 and 20 exams) converted to PDF by LibreOffice, headless, and
// read back page by page with pdftotext. Without LibreOffice this fails.
#include "keptexams.h"

#include "export/resultexporter.h"
#include "report/termreport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The pages of `workbook` as LibreOffice prints them, as pdftotext -layout
// reads them; the problem instead when any step fails.
struct Printed
{
    QStringList pages;
    QString problem;
    QString pdf;
};

Printed printed(const QString &workbook, const QString &folder)
{
    const QString office = QStandardPaths::findExecutable(u"soffice"_qs);
    if (office.isEmpty())
        return { {}, u"soffice is not installed (Debian: libreoffice-calc-nogui)"_qs, {} };
    QProcess convert;
    // A profile of its own, so a running office or an earlier run cannot interfere.
    convert.start(office,
                  { u"-env:UserInstallation="_qs
                            + QUrl::fromLocalFile(folder + u"/profile"_qs).toString(),
                    u"--headless"_qs, u"--convert-to"_qs, u"pdf"_qs, u"--outdir"_qs,
                    folder + u"/pdf"_qs, workbook });
    if (!convert.waitForFinished(240000)) {
        convert.kill();
        convert.waitForFinished();
        return { {}, u"soffice took more than 4 minutes"_qs, {} };
    }
    const QString pdf = folder + u"/pdf/"_qs + QFileInfo(workbook).completeBaseName() + u".pdf"_qs;
    if (convert.exitCode() != 0 || !QFileInfo::exists(pdf))
        return { {}, u"soffice could not convert: "_qs + QString::fromUtf8(convert.readAll()), {} };
    QProcess text;
    text.start(u"pdftotext"_qs, { u"-layout"_qs, pdf, u"-"_qs });
    if (!text.waitForFinished(60000) || text.exitCode() != 0)
        return { {}, u"pdftotext failed"_qs, {} };
    return { QString::fromUtf8(text.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts),
             {},
             pdf };
}

// The scale LibreOffice printed the first page at: how far apart the tops
// of two words in consecutive rows of the default height (15 points) are.
double printedScale(const QString &pdf, const QString &upper, const QString &lower)
{
    QProcess boxes;
    boxes.start(u"pdftotext"_qs, { u"-bbox"_qs, u"-l"_qs, u"1"_qs, pdf, u"-"_qs });
    if (!boxes.waitForFinished(60000))
        return 0;
    const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
    const auto top = [&html](const QString &word) {
        const QRegularExpression box(u"yMin=\"([0-9.]+)\"[^>]*>%1<"_qs.arg(word));
        return box.match(html).captured(1).toDouble();
    };
    return (top(lower) - top(upper)) / 15.0;
}

QString withoutBlanks(QString text)
{
    text.removeIf([](QChar sign) { return sign.isSpace(); });
    return text;
}

// Every page: one of the headings and its number among all the pages.
void checkPages(const QStringList &pages, const QStringList &headings)
{
    QVERIFY(!pages.isEmpty());
    for (int p = 0; p < pages.size(); ++p) {
        const QString number =
                u"第\\s*%1\\s*页\\s*/\\s*共\\s*%2\\s*页"_qs.arg(p + 1).arg(pages.size());
        QVERIFY2(QRegularExpression(number).match(pages[p]).hasMatch(),
                 qPrintable(u"page %1 of %2 has no number"_qs.arg(p + 1).arg(pages.size())));
        bool headed = false;
        for (const QString &heading : headings)
            headed = headed || pages[p].contains(heading);
        QVERIFY2(headed, qPrintable(u"page %1 has no heading row"_qs.arg(p + 1)));
    }
}

}  // namespace

class TestPrinted : public QObject
{
    Q_OBJECT

private slots:
    void resultsExport()
    {
        QTemporaryDir dir;
        QVector<ExportedRow> rows;
        for (int examinee = 0; examinee < 120; ++examinee)
            rows.append({ keptRow(0, examinee), false, u"已交卷"_qs, examinee + 1, {}, {} });
        rows[3].result.name = QString(80, u'长');
        const QString path = dir.filePath(u"成绩.xlsx"_qs);
        const ResultExporter::Outcome outcome =
                ResultExporter::write(rows, path, GradingScale::standard());
        QCOMPARE(outcome.problem, QString());
        const Printed out = printed(path, dir.path());
        QVERIFY2(out.problem.isEmpty(), qPrintable(out.problem));
        QVERIFY2(out.pages.size() >= 2, "120 rows fit one page");
        QVERIFY(out.pages.first().contains(ResultExporter::title()));
        // The widest name scales the page down, as a wide column always did.
        QCOMPARE_LT(printedScale(out.pdf, u"2026000"_qs, u"2026001"_qs), 0.8);
        // One page wide: every page holds the rows' last column, 名次.
        checkPages(out.pages, { u"名次"_qs });
        for (const QString &page : out.pages)
            QVERIFY(page.contains(u"部门"_qs) && page.contains(u"姓名"_qs));
    }

    // Sixty rows, every third in doubt for a long reason: the table prints at
    // least at 80 % and each reason whole under it.
    void doubtsUnderTheTable()
    {
        QTemporaryDir dir;
        QVector<ExportedRow> rows;
        QStringList notes;
        for (int examinee = 0; examinee < 60; ++examinee) {
            rows.append({ keptRow(0, examinee), false, u"已交卷"_qs, examinee + 1, {}, {} });
            if (examinee % 3 == 0) {
                rows.last().doubts = u"考号2026%1不在名单中；同一考生另有写法不同的成绩：考生%2"
                                     u"（计算机1班）；按键记录与成绩不符：记录的字数比答卷多12字；"
                                     u"成绩文件已被删除"_qs.arg(examinee, 3, 10, QLatin1Char('0'))
                                             .arg(examinee);
                notes << u"注%1　2026%2 考生%3：%4"_qs.arg(notes.size() + 1)
                                 .arg(examinee, 3, 10, QLatin1Char('0'))
                                 .arg(examinee)
                                 .arg(rows.last().doubts);
            }
        }
        const QString path = dir.filePath(u"成绩.xlsx"_qs);
        QCOMPARE(ResultExporter::write(rows, path, GradingScale::standard()).problem, QString());
        const Printed out = printed(path, dir.path());
        QVERIFY2(out.problem.isEmpty(), qPrintable(out.problem));
        const double scale = printedScale(out.pdf, u"2026001"_qs, u"2026002"_qs);
        QVERIFY2(scale >= 0.8, qPrintable(QString::number(scale)));
        checkPages(out.pages, { u"名次"_qs });
        const QString printedText = withoutBlanks(out.pages.join(QString()));
        QVERIFY(printedText.contains(u"存疑说明"_qs));
        for (const QString &note : notes)
            QVERIFY2(printedText.contains(withoutBlanks(note)), qPrintable(note));
    }

    void termReport_data()
    {
        QTest::addColumn<int>("exams");
        QTest::newRow("6 exams") << 6;
        QTest::newRow("20 exams") << 20;
    }

    void termReport()
    {
        QFETCH(int, exams);
        QTemporaryDir dir;
        ExamArchive archive(dir.filePath(u"a.db"_qs));
        const QVector<ArchivedExam> kept = keptExams(archive, exams, 40);
        QCOMPARE(kept.size(), exams);
        const QString path = dir.filePath(u"学期报告.xlsx"_qs);
        QCOMPARE(termreport::write(kept, path, {}).problem, QString());
        const Printed out = printed(path, dir.path());
        QVERIFY2(out.problem.isEmpty(), qPrintable(out.problem));
        // The summary's, the class sheet's and the exams' heading rows.
        checkPages(out.pages, { u"考号"_qs, u"平均速度"_qs, u"名次"_qs });
        // The first exam's headings whole on the summary's pages; a summary
        // too wide for one page goes on across pages headed by 考号 and 姓名,
        // six exams to a page.
        QVERIFY(out.pages.first().contains(u"01 03-02 第1课"_qs));
        const QString seventh = u"07 03-08 第7课"_qs;
        if (exams > 6) {
            QVERIFY(!out.pages.first().contains(seventh));
            const auto across =
                    std::find_if(out.pages.begin(), out.pages.end(),
                                 [&](const QString &page) { return page.contains(seventh); });
            QVERIFY(across != out.pages.end() && across->contains(u"姓名"_qs));
        }
        // Chart labels on one line each: the last exam's short label whole.
        const QString last = u"%1 03-%2"_qs.arg(exams, 2, 10, QLatin1Char('0'))
                                     .arg(1 + exams, 2, 10, QLatin1Char('0'));
        QVERIFY2(out.pages.join(QString()).contains(last), qPrintable(last));
    }
};

QTEST_MAIN(TestPrinted)
#include "tst_printed.moc"
