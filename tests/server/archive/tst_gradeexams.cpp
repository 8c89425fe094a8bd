// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kept exams one grade sat together, found on a real SQLite file and
// a real PostgreSQL server: same article, same minutes, same half-day.
#include "postgrescluster.h"

#include "archive/examarchive.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate kDay(2026, 3, 2);

struct Kept
{
    const char16_t *lab;
    QDateTime openedAt;  // invalid: known only by when it was kept
    QDateTime archivedAt;
    qint16 minutes;
    const char16_t *article;
};

// Around the morning of 2026-03-02 and its afternoon, local time.
QVector<Kept> keptExams()
{
    const auto at = [](int days, int hour, int minute, int second = 0) {
        return QDateTime(kDay.addDays(days), QTime(hour, minute, second));
    };
    return {
        { u"机房1", at(0, 8, 0), at(0, 9, 0), 10, u"春眠不觉晓" },
        { u"机房2", at(0, 0, 0), at(0, 1, 0), 10, u"春眠不觉晓" },
        { u"机房3", at(0, 11, 59, 59), at(0, 12, 30), 10, u"春眠不觉晓" },
        { u"机房4", {}, at(0, 10, 0), 10, u"春眠不觉晓" },  // no opening noted
        { u"机房5", at(0, 12, 0), at(0, 13, 0), 10, u"春眠不觉晓" },  // noon: the afternoon
        { u"机房6", at(0, 23, 59, 59), at(1, 0, 10), 10, u"春眠不觉晓" },
        { u"机房7", at(-1, 8, 0), at(-1, 9, 0), 10, u"春眠不觉晓" },  // the day before
        { u"机房8", at(0, 8, 0), at(0, 9, 0), 15, u"春眠不觉晓" },  // other minutes
        { u"机房9", at(0, 8, 0), at(0, 9, 0), 10, u"春眠不觉晓。" },  // other article
        { u"机房10", at(1, 0, 0), at(1, 1, 0), 10, u"春眠不觉晓" },  // the next day
    };
}

}  // namespace

class TestGradeExams : public QObject
{
    Q_OBJECT

    std::unique_ptr<PostgresCluster> m_cluster;
    QTemporaryDir m_files;

private slots:
    void initTestCase()
    {
        m_cluster = std::make_unique<PostgresCluster>();
        QVERIFY2(m_cluster->problem().isEmpty(), qPrintable(m_cluster->problem()));
    }

    void cleanupTestCase() { m_cluster.reset(); }

    void sameArticleMinutesAndHalfDay_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("labs");
        for (const QString &backend : { u"file"_qs, u"school"_qs }) {
            const QByteArray name = backend.toLatin1();
            QTest::addRow("%s morning", name.constData())
                    << backend << u"机房1"_qs
                    << QStringList { u"机房1"_qs, u"机房2"_qs, u"机房3"_qs, u"机房4"_qs };
            QTest::addRow("%s afternoon", name.constData())
                    << backend << u"机房5"_qs << QStringList { u"机房5"_qs, u"机房6"_qs };
            QTest::addRow("%s other minutes", name.constData())
                    << backend << u"机房8"_qs << QStringList { u"机房8"_qs };
            QTest::addRow("%s other article", name.constData())
                    << backend << u"机房9"_qs << QStringList { u"机房9"_qs };
        }
    }

    void sameArticleMinutesAndHalfDay()
    {
        QFETCH(QString, backend);
        QFETCH(QString, chosen);
        QFETCH(QStringList, labs);
        const ArchivePlace place = backend == u"school"
                ? ArchivePlace::fromText(m_cluster->newDatabase())
                : ArchivePlace::file(m_files.filePath(
                        QUuid::createUuid().toString(QUuid::WithoutBraces) + u".db"_qs));
        ExamArchive archive(place);
        QVERIFY2(archive.isOpen(), qPrintable(archive.startProblem()));
        qint64 chosenId = 0;
        for (const Kept &kept : keptExams()) {
            ExamSitting sitting;
            sitting.lab = QString::fromUtf16(kept.lab);
            sitting.key = sitting.lab;
            sitting.openedAt = kept.openedAt;
            sitting.archivedAt = kept.archivedAt;
            sitting.examMinutes = kept.minutes;
            sitting.articleName = u"春晓"_qs;
            sitting.articleText = QString::fromUtf16(kept.article);
            ArchivedRow row;
            row.examNumber = sitting.lab;
            row.state = ExamineeState::Finished;
            const ExamArchive::Kept done = archive.keep(sitting, { row });
            QCOMPARE(done.problem, QString());
            if (sitting.lab == chosen)
                chosenId = done.id;
        }
        const ArchiveRead<QVector<ArchivedExam>> grade = archive.gradeExamOf(chosenId);
        QVERIFY2(grade.value, qPrintable(grade.problem));
        QStringList found;
        for (const ArchivedExam &exam : *grade.value) {
            found << exam.sitting.lab;
            QCOMPARE(exam.rows.size(), 1);
            QCOMPARE(exam.rows.first().examNumber, exam.sitting.lab);
        }
        found.sort();
        labs.sort();
        QCOMPARE(found, labs);

        // An exam no longer kept is said to be missing.
        QCOMPARE(archive.remove(chosenId), QString());
        const ArchiveRead<QVector<ArchivedExam>> gone = archive.gradeExamOf(chosenId);
        QVERIFY(!gone.value);
        QVERIFY(!gone.problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGradeExams)
#include "tst_gradeexams.moc"
