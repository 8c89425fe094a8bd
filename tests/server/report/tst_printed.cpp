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
};

Printed printed(const QString &workbook, const QString &folder)
{
    const QString office = QStandardPaths::findExecutable(u"soffice"_qs);
    if (office.isEmpty())
        return { {}, u"soffice is not installed (Debian: libreoffice-calc-nogui)"_qs };
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
        return { {}, u"soffice took more than 4 minutes"_qs };
    }
    const QString pdf = folder + u"/pdf/"_qs + QFileInfo(workbook).completeBaseName() + u".pdf"_qs;
    if (convert.exitCode() != 0 || !QFileInfo::exists(pdf))
        return { {}, u"soffice could not convert: "_qs + QString::fromUtf8(convert.readAll()) };
    QProcess text;
    text.start(u"pdftotext"_qs, { u"-layout"_qs, pdf, u"-"_qs });
    if (!text.waitForFinished(60000) || text.exitCode() != 0)
        return { {}, u"pdftotext failed"_qs };
    return { QString::fromUtf8(text.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts), {} };
}

// The scale LibreOffice printed `pdf`'s first page at: how far apart the
// tops of two words are in consecutive rows of the default 15 points.
double printedScale(const QString &pdf, const QString &upper, const QString &lower)
{
    QProcess boxes;
    boxes.start(u"pdftotext"_qs, { u"-bbox"_qs, u"-l"_qs, u"1"_qs, pdf, u"-"_qs });
    boxes.waitForFinished(60000);
    const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
    const QRegularExpression top(u"yMin=\"([0-9.]+)\"[^>]*>(%1|%2)<"_qs.arg(upper, lower));
    QList<double> tops;
    for (auto match = top.globalMatch(html); match.hasNext();)
        tops << match.next().captured(1).toDouble();
    return tops.size() == 2 ? (tops[1] - tops[0]) / 15.0 : 0;
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
    void resultsExport_data()
    {
        QTest::addColumn<int>("nameLength");  // of the fourth examinee
        QTest::addColumn<QString>("doubt");  // of every third examinee
        QTest::addColumn<bool>("readable");  // printed at 80 % or more
        QTest::newRow("long reasons")
                << 4
                << u"考号不在名单中；同一考生另有写法不同的成绩（计算机1班）；"
                   u"按键记录与成绩不符：记录的字数比答卷多12字；成绩文件已被删除"_qs
                << true;
        QTest::newRow("a name of 80 signs") << 80 << QString() << false;
    }

    void resultsExport()
    {
        QFETCH(int, nameLength);
        QFETCH(QString, doubt);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        QVector<ExportedRow> rows;
        for (int examinee = 0; examinee < 120; ++examinee) {
            rows.append({ keptRow(0, examinee), false, u"已交卷"_qs, examinee + 1, {}, {} });
            rows.last().doubts = examinee % 3 ? QString() : doubt;
        }
        rows[3].result.name = QString(nameLength, u'长');
        const QString path = dir.filePath(u"成绩.xlsx"_qs);
        const ResultExporter::Outcome outcome =
                ResultExporter::write(rows, path, GradingScale::standard());
        QCOMPARE(outcome.problem, QString());
        const Printed out = printed(path, dir.path());
        QVERIFY2(out.problem.isEmpty(), qPrintable(out.problem));
        QVERIFY2(out.pages.size() >= 2, "120 rows fit one page");
        QVERIFY(out.pages.first().contains(ResultExporter::title()));
        // One page wide: every page holds the rows' last column, 名次.
        checkPages(out.pages, { u"名次"_qs });
        for (const QString &page : out.pages)
            QVERIFY(page.contains(u"部门"_qs) && page.contains(u"姓名"_qs));
        const double scale =
                printedScale(dir.filePath(u"pdf/成绩.pdf"_qs), u"2026001"_qs, u"2026002"_qs);
        QVERIFY2((scale >= 0.8) == readable, qPrintable(QString::number(scale)));
        // The last reason whole in the last note, however it wraps.
        QString text = out.pages.join(QString());
        text.remove(QRegularExpression(u"\\s"_qs));
        QVERIFY(doubt.isEmpty() || text.contains(u"注402026117考生117："_qs + doubt));
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
