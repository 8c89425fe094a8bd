// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A whole exam in the real typing window against Debian's pure-ftpd set up
// write-once: every record of the session arrives under a name of its own,
// progress records thin out to one in 120 seconds once the service refuses
// a replace; the console collects the session's files into one row.
#include "fakes.h"
#include "collect/resultcollector.h"
#include "collect/resultstore.h"
#include "systemftpservice.h"
#include "testrecords.h"

#include <QDir>

namespace {

constexpr int kWaitMillis = 20000;

}  // namespace

class TestWriteOnceExam : public QObject
{
    Q_OBJECT
private slots:
    void everyRecordArrivesUnderANewName()
    {
        SystemFtpService service(SystemFtpService::Kind::PureFtpd);
        if (const QString problem = service.start(); !problem.isEmpty())
            QSKIP(qPrintable(problem));
        const QDir exchange(service.exchangeFolder());

        TypingExam exam(QString(300, u'a') + u"\r\n"_qs, 5, service.address());
        const auto delivered = [&] {
            return QTest::qWaitFor(
                    [&] { return exam.frm->upload().state() == ResultUpload::State::Delivered; },
                    kWaitMillis);
        };
        const auto tickTo = [&](int second) {
            while (exam.frm->clock().timePass() < second)
                exam.frm->onClockTick();
        };
        QVERIFY(delivered());
        QTest::keyClick(exam.frm.get(), Qt::Key_Return);
        QTest::keyClicks(exam.txtWrite(), QString(100, u'a'));
        // 30 s: refused as a replace, stored as ~2; from then on every 120 s.
        for (const int second : { 30, 120, 240, 300 }) {
            tickTo(second);
            QVERIFY2(delivered(), qPrintable(QString::number(second)));
        }
        QVERIFY(!exam.txtWrite()->isEnabled());

        const QString base = u"计算机系-2026001-张三"_qs;
        QStringList expected { base + u".zip"_qs };
        for (int n = 2; n <= 5; ++n)
            expected << base + u'~' + QString::number(n) + u".zip"_qs;
        QCOMPARE(exchange.entryList({ base + u"*.zip"_qs }, QDir::Files, QDir::Name), expected);
        for (int i = 0; i < expected.size(); ++i) {
            const ResultRecordReading reading = readResultFile(exchange.filePath(expected[i]));
            QVERIFY2(reading.ok() && reading.record->progress, qPrintable(expected[i]));
            QCOMPARE(reading.record->progress->sequence, i + 1);
            QCOMPARE(reading.record->progress->sessionId, exam.frm->records().sessionId());
        }
        const ResultRecord final = *readResultFile(exchange.filePath(expected.last())).record;
        QCOMPARE(final.progress->phase, ResultProgress::Phase::Finished);
        QCOMPARE(final.typedLen, 100);
        QCOMPARE(final.speed, 20.0f);
        QCOMPARE(int(final.timePass), 300);

        // The console ranks the session once, with its final figures.
        QTemporaryDir console;
        ResultStore store(console.filePath(ResultStore::defaultFileName()));
        const CollectionReport report =
                ResultCollector(exchange.path(), console.path(), store).collect();
        QVERIFY2(report.ok() && report.skipped.isEmpty(), qPrintable(report.problem));
        const auto rows = store.rowsInRankOrder();
        QVERIFY(rows && rows->size() == 1);
        QCOMPARE(rows->first().name, u"张三"_qs);
        QCOMPARE(rows->first().speed, 20.0);
        QCOMPARE(int(rows->first().timePass), 300);
    }
};

QTEST_MAIN(TestWriteOnceExam)
#include "tst_writeonceexam.moc"
