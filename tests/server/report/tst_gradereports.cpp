// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reports of a grade-wide exam read back: its PDF through pdftotext.
#include "keptexams.h"

#include "report/gradereport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString pdfText(const QString &pdf, const QString &mode)
{
    QProcess process;
    process.start(u"pdftotext"_qs, { mode, pdf, u"-"_qs });
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TestGradeReports : public QObject
{
    Q_OBJECT

private slots:
    void gradeAsPdf()
    {
        QTemporaryDir dir;
        const GradeWideExam exam(gradeOfLabs(4, 30, QDateTime(QDate(2026, 3, 2), QTime(8, 0))));
        const QString pdf = dir.filePath(u"年级.pdf"_qs);
        QCOMPARE(gradereport::writePdf(exam, pdf), QString());
        QCOMPARE(gradereport::defaultFileName(exam), u"年级考试报告-20260302-春晓.pdf"_qs);

        const QStringList pages = pdfText(pdf, u"-raw"_qs).split(u'\f', Qt::SkipEmptyParts);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        for (int p = 0; p < pages.size(); ++p) {
            const QString number = u"第 %1 页 / 共 %2 页"_qs.arg(p + 1).arg(pages.size());
            QVERIFY2(pages[p].contains(number), qPrintable(number));
            QVERIFY2(pages[p].contains(u"年级打字考试成绩报告"_qs), qPrintable(number));
        }
        // The ranking runs over the last pages, its heading on each.
        for (const QString &page : pages.mid(pages.size() - 2))
            QVERIFY2(page.contains(u"名次 机房 部门"_qs), qPrintable(page.left(200)));

        QString joined = pdfText(pdf, u"-layout"_qs);
        joined.remove(QRegularExpression(u"\\s"_qs));
        // The grade's line, a class and a lab with their figures: 30 listed
        // in each, all sat; 120 across the grade.
        for (const QString &expected :
             { u"2026-03-02上午考试时间10分钟4个机房4个班应考120人，实考120人，未开始0人，缺考0人"_qs,
               u"全年级速度120"_qs, u"高一(3)班：应考30人"_qs, u"机房4：应考30人"_qs })
            QVERIFY2(joined.contains(expected), qPrintable(expected));
        // Places across the grade: two at 84 share the first, two at 83 the third.
        for (const QString &ranked :
             { u"1机房1高一(1)班2026017考生17"_qs, u"1机房3高一(3)班2026087考生87"_qs,
               u"3机房2高一(2)班2026034考生34"_qs, u"3机房4高一(4)班2026104考生104"_qs })
            QVERIFY2(joined.contains(ranked), qPrintable(ranked));

        // A folder that is not there: the reason, and no file.
        QVERIFY(!gradereport::writePdf(exam, dir.filePath(u"无/年级.pdf"_qs)).isEmpty());
    }
};

QTEST_MAIN(TestGradeReports)
#include "tst_gradereports.moc"
