// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The signature of a record: the key as PBKDF2 gives it, and a record that
// verifies only whole, unchanged and with the key it was signed with. A
// retake leave: signed the same way, and naming its session only so.
#include "exchange/publication.h"
#include "exchange/recordsignature.h"
#include "exchange/retakeleave.h"
#include "testrecords.h"

#include <QtTest>

namespace {

const QString kPublicationId = u"0123456789abcdef0123456789abcdef"_qs;
const QString kPerson = u"一班|01|甲"_qs;

// A finished record of this publication, signed, as plain bytes.
QByteArray signedBytes(const QByteArray &key)
{
    ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs);
    record.progress = ResultProgress { 3, u"s1"_qs, ResultProgress::Phase::Finished, 880 };
    record.answerSheet = AnswerSheet { "d1", 10, 0, u"春眠不觉晓\r\n"_qs };
    record.sections.push_back(Publication { kPublicationId, true }.section());
    return recordsignature::signedRecord(record, key).toRecordLines();
}

}  // namespace

class TestRecordSignature : public QObject
{
    Q_OBJECT

private slots:
    void keyIsPbkdf2OfTheCode()
    {
        // Python: hashlib.pbkdf2_hmac('sha256', b'K7M2QX',
        //         '0123...cdef\n一班|01|甲'.encode(), 100000, 32)
        const QByteArray expected =
                "2f49f5531b842815e03f400f5b2a6435888c1bd1f7bd87c99381033435bc8d8e";
        QCOMPARE(recordsignature::keyFor(u"K7M2QX"_qs, kPublicationId, kPerson).toHex(), expected);
        // Typed in small letters, with a blank after it.
        QCOMPARE(recordsignature::keyFor(u"k7m2qx "_qs, kPublicationId, kPerson).toHex(), expected);
        QVERIFY(recordsignature::keyFor(u"K7M2QX"_qs, kPublicationId, u"一班|02|甲"_qs).toHex()
                != expected);
    }

    void onlyTheWholeSignedRecordVerifies_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("verifies");
        const QByteArray key = recordsignature::keyFor(u"K7M2QX"_qs, kPublicationId, kPerson);
        const QByteArray intact = signedBytes(key);
        QTest::newRow("intact") << intact << true;
        QByteArray faster = intact;
        faster[0] = faster.at(0) == '9' ? '8' : '9';  // the speed's first digit
        QTest::newRow("speed changed") << faster << false;
        QTest::newRow("signed with another code")
                << signedBytes(recordsignature::keyFor(u"K7M2QY"_qs, kPublicationId, kPerson))
                << false;
        const qsizetype signature = intact.indexOf("\"signature\"");
        QTest::newRow("without its signature") << intact.first(signature) << false;
        QTest::newRow("a section after the signature") << intact + "\"timeline\"\r\n1\r\nx\r\n"
                                                       << false;
        // The hex of the MAC one digit short, its count to match.
        QByteArray shortMac = intact.first(signature) + "\"signature\"\r\n63\r\n"
                + intact.sliced(signature + 17, 63) + "\r\n";
        QTest::newRow("MAC one digit short") << shortMac << false;
    }

    void onlyTheWholeSignedRecordVerifies()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, verifies);
        const QByteArray key = recordsignature::keyFor(u"K7M2QX"_qs, kPublicationId, kPerson);
        const ResultRecordReading reading = readResultRecord(bytes);
        QVERIFY2(reading.ok(), qPrintable(reading.problem));
        QCOMPARE(recordsignature::verifies(bytes, *reading.record, key), verifies);
    }

    void leaveNamesItsSessionOnlyAsSigned_data()
    {
        QTest::addColumn<QByteArray>("leave");
        QTest::addColumn<QString>("session");  // empty: no leave
        // Python: hmac.new(key, b'retake\ns1', 'sha256').hexdigest()
        const QByteArray intact = "\"s1\"\r\n\"f20bcb3625b8305cd85c097161d26ef2795dd4c6dbf05514"
                                  "ceceec6aae9681c8\"\r\n";
        QTest::newRow("signed, intact") << intact << u"s1"_qs;
        QTest::newRow("signed, its last hex digit wrong")
                << QByteArray(intact).replace("c8\"", "c9\"") << QString();
        QTest::newRow("unsigned") << QByteArray("\"s1\"\r\n") << QString();
    }

    void leaveNamesItsSessionOnlyAsSigned()
    {
        QFETCH(QByteArray, leave);
        QFETCH(QString, session);
        const QByteArray key = recordsignature::keyFor(u"K7M2QX"_qs, kPublicationId, kPerson);
        QCOMPARE(retakeleave::sessionOf(leave, key).value_or(QString()), session);
        if (!session.isEmpty())
            QCOMPARE(retakeleave::write(session, key), leave);
    }
};

QTEST_GUILESS_MAIN(TestRecordSignature)
#include "tst_recordsignature.moc"
