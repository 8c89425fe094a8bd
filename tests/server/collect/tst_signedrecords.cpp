// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Records of an exam with login codes, collected from a folder every
// examinee can write into: only what the examinee's own code signed stands
// as their result; anything else is marked and replaces, finishes and
// locks nothing. Real files, real SQLite.
#include "class/plausibility.h"
#include "collect/recordkeys.h"
#include "collect/resultcollector.h"
#include "collect/resultstore.h"
#include "exchange/identity.h"
#include "exchange/publication.h"
#include "exchange/recordsignature.h"
#include "testrecords.h"

#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

const QString kForged = u"签名不符：可能是伪造的成绩"_qs;

LoginCodes classCodes(const QString &publicationId)
{
    LoginCodes codes = LoginCodes::issue(
            publicationId,
            { { u"一班"_qs, u"a03"_qs, u"丙"_qs, {} }, { u"一班"_qs, u"a04"_qs, u"丁"_qs, {} } });
    return codes;
}

ResultRecord sessionRecord(const QString &number, const QString &name, float speed, int sequence,
                           ResultProgress::Phase phase, const QString &publicationId)
{
    ResultRecord record = sampleRecord(u"一班"_qs, number, name, speed);
    record.progress = ResultProgress { sequence, u"s1"_qs, phase, 880 };
    // Sections follow the answer sheet.
    record.answerSheet = AnswerSheet { "d1", 10, 0, u"春眠不觉晓\r\n"_qs };
    record.sections.push_back(Publication { publicationId, true }.section());
    return record;
}

ResultRecord signedWith(const ResultRecord &record, const QString &code,
                        const QString &publicationId)
{
    return recordsignature::signedRecord(
            record,
            recordsignature::keyFor(
                    code, publicationId,
                    identity::personKey(record.department, record.examNumber, record.name)));
}

}  // namespace

class TestSignedRecords : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_root->path()).mkpath(u"exchange"_qs));
        m_store = std::make_unique<ResultStore>(m_root->filePath(u"cj.mdb"_qs));
        m_publication = Publication::newId();
        m_codes = classCodes(m_publication);
        // Published before with the same codes, then again as m_publication.
        m_earlier = Publication::newId();
        m_keys = std::make_shared<RecordKeys>(m_publication, m_codes,
                                              QStringList { m_earlier, m_publication });
    }

    void cleanup()
    {
        m_keys.reset();
        m_store.reset();
        m_root.reset();
    }

    // The client signs with the department as typed: a few other spellings
    // of a listed examinee are derived, the next is not, the list's always is.
    void otherSpellingsAreBounded_data()
    {
        QTest::addColumn<QStringList>("departments");  // in the order met, each signed right
        QTest::addColumn<QList<bool>>("signedOnes");
        QTest::newRow("three others, then a fourth")
                << QStringList { u"1班"_qs,  u"二班"_qs, u"三班"_qs,
                                 u"四班"_qs, u"一班"_qs, u"1班"_qs }
                << QList<bool> { true, true, true, false, true, true };
        QTest::newRow("the list's spelling changes no count")
                << QStringList { u"一班"_qs, u" 一班"_qs, u"1班"_qs, u"二班"_qs, u"三班"_qs }
                << QList<bool> { true, true, true, true, true };
    }
    void otherSpellingsAreBounded()
    {
        QFETCH(QStringList, departments);
        QFETCH(QList<bool>, signedOnes);
        const QString code = m_codes.codeOf(u"一班"_qs, u"a03"_qs, u"丙"_qs);
        QList<bool> verdicts;
        for (const QString &department : departments) {
            ResultRecord record = sessionRecord(u"a03"_qs, u"丙"_qs, 50, 3,
                                                ResultProgress::Phase::Finished, m_publication);
            record.department = department;
            const QByteArray bytes = signedWith(record, code, m_publication).toRecordLines();
            const ResultRecordReading reading = readResultRecord(bytes);
            QVERIFY2(reading.ok(), qPrintable(reading.problem));
            verdicts.append(m_keys->check(bytes, *reading.record, true)
                            == RecordKeys::Verdict::Signed);
        }
        QCOMPARE(verdicts, signedOnes);
    }

    void onlyTheExamineesCodeSigns_data()
    {
        QTest::addColumn<bool>("codesRequired");
        QTest::addColumn<QString>("signedBy");  // "own", "other", "none"
        QTest::addColumn<QString>("publication");  // "this", "earlier", "other"
        QTest::addColumn<bool>("changedAfterSigning");
        QTest::addColumn<bool>("stands");
        const QString here = u"this"_qs;
        QTest::newRow("own code") << true << u"own"_qs << here << false << true;
        QTest::newRow("a code one sign off") << true << u"other"_qs << here << false << false;
        QTest::newRow("own code, an earlier publication of the exam")
                << true << u"own"_qs << u"earlier"_qs << false << true;
        QTest::newRow("own code, another publication")
                << true << u"own"_qs << u"other"_qs << false << false;
        QTest::newRow("time changed after signing") << true << u"own"_qs << here << true << false;
        QTest::newRow("no signature, codes required")
                << true << u"none"_qs << here << false << false;
        QTest::newRow("no signature, no codes") << false << u"none"_qs << here << false << true;
        QTest::newRow("signed, no codes") << false << u"own"_qs << here << false << true;
    }

    void onlyTheExamineesCodeSigns()
    {
        QFETCH(bool, codesRequired);
        QFETCH(QString, signedBy);
        QFETCH(QString, publication);
        QFETCH(bool, changedAfterSigning);
        QFETCH(bool, stands);
        const QString own = m_codes.codeOf(u"一班"_qs, u"a03"_qs, u"丙"_qs);
        QString other = own;
        other[5] = other[5] == u'A' ? u'C' : u'A';
        const QString named = publication == u"this"_qs ? m_publication
                : publication == u"earlier"_qs          ? m_earlier
                                                        : Publication::newId();
        ResultRecord record =
                sessionRecord(u"a03"_qs, u"丙"_qs, 50, 3, ResultProgress::Phase::Finished, named);
        if (signedBy != u"none"_qs)
            record = signedWith(record, signedBy == u"own"_qs ? own : other, named);
        QByteArray plain = record.toRecordLines();
        if (changedAfterSigning) {
            // 600 s used becomes 300 s: twice the speed it earned.
            QVERIFY(plain.contains("\r\n600\r\n"));
            plain.replace("\r\n600\r\n", "\r\n300\r\n");
        }
        QVERIFY(writeScrambled(exchange(u"一班-a03-丙.zip"_qs), plain));

        ResultCollector collector(exchange(), m_root->path(), *m_store);
        collector.checkSignatures(codesRequired ? m_keys : nullptr, true);
        const CollectionReport report = collector.collect();
        QVERIFY2(report.ok(), qPrintable(report.problem));
        QCOMPARE(report.results.size(), 1);
        QCOMPARE(report.results.at(0).signature == RecordKeys::Verdict::Signed, stands);
        // It counts as the examinee's session only when it stands.
        QCOMPARE(report.sessions.size(), stands ? 1 : 0);
        PlausibilityCheck check;
        const QStringList doubts =
                check.check(report.results, {}, SessionLedger(report.sessions)).at(0);
        QCOMPARE(doubts.contains(kForged), !stands);
    }

    void forgeryNeitherReplacesNorLocks()
    {
        const QString code = m_codes.codeOf(u"一班"_qs, u"a03"_qs, u"丙"_qs);
        const ResultRecord honest =
                signedWith(sessionRecord(u"a03"_qs, u"丙"_qs, 40, 5,
                                         ResultProgress::Phase::Finished, m_publication),
                           code, m_publication);
        QVERIFY(!writeResultFile(exchange(), honest).isEmpty());
        QCOMPARE(collect().rowCount, 1);

        // A classmate overwrites 丙's file with a faster finish of the same
        // session, and leaves an unfinished record under 丁, who has not
        // logged in yet; on a service that keeps every upload, a copy of
        // 丙's session signed with a wrong code too.
        QVERIFY(!writeResultFile(exchange(),
                                 sessionRecord(u"a03"_qs, u"丙"_qs, 240, 9,
                                               ResultProgress::Phase::Finished, m_publication))
                         .isEmpty());
        QVERIFY(!writeResultFile(exchange(),
                                 sessionRecord(u"a04"_qs, u"丁"_qs, 5, 2,
                                               ResultProgress::Phase::Typing, m_publication))
                         .isEmpty());
        QVERIFY(!writeResultFile(
                         exchange(),
                         signedWith(sessionRecord(u"a03"_qs, u"丙"_qs, 240, 10,
                                                  ResultProgress::Phase::Finished, m_publication),
                                    u"CCCCCC"_qs, m_publication),
                         2)
                         .isEmpty());
        const CollectionReport report = collect();
        QVERIFY2(report.ok(), qPrintable(report.problem));
        // 丙's honest result stays with its figures although its file is gone.
        QCOMPARE(report.kept.size(), 1);
        QCOMPARE(report.kept.at(0).row.name, u"丙"_qs);
        QCOMPARE(report.kept.at(0).row.speed, 40.0);
        QCOMPARE(report.results.size(), 2);
        for (const CollectedResult &forged : report.results)
            QCOMPARE(forged.signature, RecordKeys::Verdict::Unsigned);
        // Neither forgery is a session: 丙 stays finished with the honest
        // figures, 丁 has not logged in.
        QCOMPARE(report.sessions.size(), 1);
        QCOMPARE(report.sessions.at(0).finishedFigures, finishedFigures(honest));
        QVERIFY(!report.sessions.at(0).changedAfterFinish);
    }

    // Files nobody signed make one row each, however often the folder is
    // collected; the honest row they lie over stays beside them.
    void unsignedRowsDoNotGrow_data()
    {
        QTest::addColumn<bool>("honestFirst");  // 丙's signed finish collected before
        QTest::addColumn<float>("forgedSpeed");  // of the unsigned file over 丙's
        QTest::addColumn<QList<double>>("speeds");  // the table's, in row order
        QTest::newRow("not logged in") << false << 240.f << QList<double> { 240, 5 };
        QTest::newRow("over an honest finish") << true << 240.f << QList<double> { 240, 5, 40 };
        QTest::newRow("over an honest finish, its figures copied")
                << true << 40.f << QList<double> { 40, 5, 40 };
    }

    void unsignedRowsDoNotGrow()
    {
        QFETCH(bool, honestFirst);
        QFETCH(float, forgedSpeed);
        QFETCH(QList<double>, speeds);
        if (honestFirst) {
            const ResultRecord honest =
                    signedWith(sessionRecord(u"a03"_qs, u"丙"_qs, 40, 5,
                                             ResultProgress::Phase::Finished, m_publication),
                               m_codes.codeOf(u"一班"_qs, u"a03"_qs, u"丙"_qs), m_publication);
            QVERIFY(!writeResultFile(exchange(), honest).isEmpty());
            QCOMPARE(collect().rowCount, 1);
        }
        QVERIFY(!writeResultFile(exchange(),
                                 sessionRecord(u"a03"_qs, u"丙"_qs, forgedSpeed, 9,
                                               ResultProgress::Phase::Finished, m_publication))
                         .isEmpty());
        QVERIFY(!writeResultFile(exchange(),
                                 sessionRecord(u"a04"_qs, u"丁"_qs, 5, 2,
                                               ResultProgress::Phase::Typing, m_publication))
                         .isEmpty());
        for (int round = 1; round <= 4; ++round) {
            const CollectionReport report = collect();
            QVERIFY2(report.ok(), qPrintable(report.problem));
            QList<double> table;
            // Held here: a range over a temporary's value() would outlive it.
            const auto rows = m_store->rowsInRankOrder();
            for (const ResultRow &row : rows.value())
                table << row.speed;
            std::sort(table.begin(), table.end(), std::greater<>());
            QList<double> expected = speeds;
            std::sort(expected.begin(), expected.end(), std::greater<>());
            QCOMPARE(table, expected);
            QCOMPARE(report.kept.size(), honestFirst ? 1 : 0);
        }
        // With the files gone, one row of each is left, never more.
        QVERIFY(QFile::remove(exchange(u"一班-a03-丙.zip"_qs)));
        QVERIFY(QFile::remove(exchange(u"一班-a04-丁.zip"_qs)));
        collect();
        QCOMPARE(collect().rowCount, int(QSet<double>(speeds.cbegin(), speeds.cend()).size()));
    }

    void keyNotYetDrawnIsJudgedLater()
    {
        ResultRecord record = sessionRecord(u"a03"_qs, u"丙"_qs, 50, 1,
                                            ResultProgress::Phase::Waiting, m_publication);
        // Not the list's department: its key is drawn when first met.
        record.department = u"1班"_qs;
        record = signedWith(record, m_codes.codeOf(u"一班"_qs, u"a03"_qs, u"丙"_qs), m_publication);
        QVERIFY(!writeResultFile(exchange(), record).isEmpty());
        KnownResultFiles known;
        ResultCollector onWindowThread(exchange(), m_root->path(), *m_store, &known);
        onWindowThread.checkSignatures(m_keys, false);
        QCOMPARE(onWindowThread.collect().results.at(0).signature, RecordKeys::Verdict::Pending);
        // The file unchanged, its verdict is not taken from the last collection.
        ResultCollector onItsOwnThread(exchange(), m_root->path(), *m_store, &known);
        onItsOwnThread.checkSignatures(m_keys, true);
        QCOMPARE(onItsOwnThread.collect().results.at(0).signature, RecordKeys::Verdict::Signed);
    }

private:
    QString exchange(const QString &name = {}) const
    {
        return m_root->filePath(u"exchange/"_qs + name);
    }

    CollectionReport collect()
    {
        ResultCollector collector(exchange(), m_root->path(), *m_store);
        collector.checkSignatures(m_keys, true);
        return collector.collect();
    }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ResultStore> m_store;
    QString m_publication;
    QString m_earlier;
    LoginCodes m_codes;
    std::shared_ptr<RecordKeys> m_keys;
};

QTEST_GUILESS_MAIN(TestSignedRecords)
#include "tst_signedrecords.moc"
