// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Two labs of one school: two consoles, each with its application and
// exchange folder served by an FTP service of its own, their examinees
// uploading through the real channel; both exams are cleared at the same
// moment and kept into one PostgreSQL database, each whole and once, under
// its lab; 历次考试 over the school archive lists both.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "ftpservice.h"
#include "exchange/gbk.h"
#include "historyanswers.h"
#include "postgrescluster.h"
#include "testrecords.h"
#include "transfer/recordstamp.h"
#include "transfer/resultupload.h"

#include "control/schoolsettings.h"

#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMillis = 30000;

struct Lab
{
    QString name;
    QString place;  // the school archive, as this lab's role
    ConsoleRoom room;
    FtpService service { room.exchangeFolder };
    std::unique_ptr<console::ConsoleController> console;
    QTemporaryDir client;
    ResultUpload upload { client.path() };
    RecordStamp stamp;
};

}  // namespace

class TestTwoLabs : public QObject
{
    Q_OBJECT

private slots:
    void twoConsolesKeepIntoOneSchool()
    {
        PostgresCluster cluster;
        QVERIFY2(cluster.problem().isEmpty(), qPrintable(cluster.problem()));
        const QString place = cluster.newDatabase();
        Lab labs[2];
        labs[0].name = u"一号机房"_qs;
        labs[1].name = u"二号机房"_qs;
        // Each lab logs in as its own role.
        QUrl asLabB(place);
        asLabB.setUserName(PostgresCluster::labB());
        labs[0].place = place;
        labs[1].place = asLabB.toString();
        for (Lab &lab : labs) {
            QVERIFY(writeFile(lab.room.app(u"test.txt"_qs), gbk::encode(u"春眠不觉晓\r\n")));
            QVERIFY(writeFile(lab.room.app(u"time.txt"_qs), "10\r\n"));
            QCOMPARE(console::SchoolSettings(lab.room.appFolder())
                             .save({ lab.place, lab.name, lab.name + u"的老师"_qs }),
                     QString());
            QVERIFY(lab.service.start());
            lab.console = std::make_unique<console::ConsoleController>(lab.room.folders());
            QCOMPARE(lab.console->openLogin(), QString());
            // A finished record: its examinee sat.
            ResultRecord record = sampleRecord(u"一班"_qs, u"101"_qs, lab.name + u"的考生"_qs);
            record.progress = ResultProgress { 0, {}, ResultProgress::Phase::Finished, 880 };
            lab.upload.save(lab.stamp.next(record),
                            { lab.service.address(), record.department, record.examNumber,
                              record.name, 10 });
        }
        for (Lab &lab : labs) {
            QTRY_COMPARE_WITH_TIMEOUT(lab.upload.state(), ResultUpload::State::Delivered,
                                      kWaitMillis);
            QCOMPARE(collectByHand(*lab.console), QString());
        }
        // Cleared one right after the other: both sends run at once.
        for (Lab &lab : labs)
            QCOMPARE(lab.console->clearing().clear(), QStringList());
        for (Lab &lab : labs) {
            QTRY_VERIFY_WITH_TIMEOUT(!lab.console->school().isSending()
                                             && lab.console->school().status().isEmpty(),
                                     kWaitMillis);
        }

        // Each exam once, whole, under its lab and teacher.
        ExamArchive school(ArchivePlace::fromText(place));
        const auto kept = school.exams();
        QVERIFY2(kept.value, qPrintable(kept.problem));
        QStringList found;
        for (const ArchivedExam &exam : *kept.value) {
            QCOMPARE(exam.rows.size(), 1);
            found << exam.sitting.lab + u'/' + exam.sitting.teacher + u'/' + exam.rows[0].name
                            + u'/' + QString::number(exam.rows[0].speed);
        }
        found.sort();
        QCOMPARE(found,
                 (QStringList { u"一号机房/一号机房的老师/一号机房的考生/50"_qs,
                                u"二号机房/二号机房的老师/二号机房的考生/50"_qs }));

        // 历次考试 of the second lab over the school archive: both, each with its lab.
        console::HistoryController &history = labs[1].console->history();
        QCOMPARE(shownArchive(history), QString());
        QVERIFY(history.showsSchool());
        const auto listed = listedExams(history);
        QVERIFY2(listed.value, qPrintable(listed.problem));
        QStringList listedLabs;
        for (const ExamSummary &exam : listed.value->exams)
            listedLabs << exam.lab + u'/' + QString::number(exam.examinees);
        listedLabs.sort();
        QCOMPARE(listedLabs, (QStringList { u"一号机房/1"_qs, u"二号机房/1"_qs }));
    }
};

QTEST_MAIN(TestTwoLabs)
#include "tst_twolabs.moc"
