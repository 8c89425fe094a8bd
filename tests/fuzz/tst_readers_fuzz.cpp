// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random input for every reader that takes bytes from outside:
// mutated good files and plain noise. Bounded in count and time; the
// sanitizers turn any read past the end into a failure.
#include "publish/consolesettings.h"
#include "publish/examarticle.h"
#include "exchange/examlimits.h"
#include "exchange/examsettings.h"
#include "exam/examtext.h"
#include "exchange/gbk.h"
#include "exchange/keytimeline.h"
#include "exchange/numbers.h"
#include "exchange/recordlines.h"
#include "exchange/resultrecord.h"
#include "testfiles.h"
#include "testrecords.h"
#include "testtimelines.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kRounds = 20000;
constexpr qint64 kBudgetMillis = 20000;

QByteArray goodSettings()
{
    return ExamSettings { true, 20 }.toRecordLines();
}

QByteArray goodResult()
{
    return sampleRecord(u"计算机系"_qs, u"007"_qs, u"张三"_qs, 56.25f, 98.5f, 300).toRecordLines();
}

// Bytes that matter to the readers: line ends, quotes, signs, digits, GBK
// lead bytes and the markers.
const QByteArray kInteresting("\r\n\"#-.0123456789eE \x81\xfe\xff\x00", 24);

QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
{
    const int edits = 1 + random.bounded(8);
    for (int i = 0; i < edits; ++i) {
        const int kind = random.bounded(5);
        const int at = bytes.isEmpty() ? 0 : random.bounded(bytes.size());
        const char interesting = kInteresting[random.bounded(kInteresting.size())];
        switch (kind) {
        case 0:
            if (!bytes.isEmpty())
                bytes[at] = char(random.bounded(256));
            break;
        case 1:
            bytes.insert(at, interesting);
            break;
        case 2:
            if (!bytes.isEmpty())
                bytes.remove(at, 1 + random.bounded(4));
            break;
        case 3:
            bytes.truncate(at);
            break;
        case 4:
            bytes.insert(at, QByteArray(random.bounded(300), interesting));
            break;
        }
    }
    return bytes;
}

QByteArray noise(QRandomGenerator &random)
{
    QByteArray bytes(random.bounded(200), '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

}  // namespace

class TestReadersFuzz : public QObject
{
    Q_OBJECT

private slots:
    void readersSurviveMutatedInput();
    void timelineReaderSurvivesMutatedInput();
};

void TestReadersFuzz::readersSurviveMutatedInput()
{
    QTemporaryDir folder;
    const ConsoleSettings console(folder.path());
    const QString timePath = console.filePath(ConsoleSettings::timeFileName());
    QRandomGenerator random(20261207);
    QElapsedTimer clock;
    clock.start();
    const QByteArray seeds[] = { goodSettings(), goodResult(), QByteArray("\"127.0.0.1:21\"\r\n"),
                                 QByteArray("12.5\r\n"), gbk::encode(u"中文ab\r\nc\rd\ne\r\n") };
    int rounds = 0;
    for (; rounds < kRounds && clock.elapsed() < kBudgetMillis; ++rounds) {
        const QByteArray input =
                random.bounded(4) == 0 ? noise(random) : mutate(seeds[random.bounded(5)], random);

        const ExamSettingsReading settings = readExamSettings(input);
        QVERIFY(settings.lineCount >= 0);
        QVERIFY(settings.lineCount <= input.size());

        const ResultRecordReading result = readResultRecord(input);
        QCOMPARE(result.ok(), result.problem.isEmpty());

        const RecordReader reader(input);
        for (int line = -1; line <= reader.lineCount(); ++line) {
            if (const auto text = reader.text(line))
                QCOMPARE(text->size(), reader.line(line)->size() - 2);
            reader.int16(line);
            reader.int32(line);
            reader.single(line);
            reader.boolean(line);
        }
        const QString decoded = gbk::decode(input);
        splitRecordLines(decoded);
        numbers::parseInt16(decoded);

        // te.txt: the target always ends with CR LF unless it is empty.
        const QString target = examTextFromBytes(input);
        QVERIFY(target.isEmpty() || target.endsWith(QLatin1String("\r\n")));

        // An article: saved text is GBK with CR LF after every line, read back the same.
        const examarticle::Reading article = examarticle::fromBytes(input);
        if (article.text) {
            QVERIFY(article.text->endsWith(QLatin1String("\r\n")));
            QCOMPARE(examarticle::fromBytes(article.examBytes, examarticle::Source::ExamFile).text,
                     article.text);
        }

        // time.txt: whatever it holds, the console starts with a time it can run.
        if (const auto minutes = examtime::minutesFromText(decoded))
            QVERIFY(*minutes >= examlimits::kShortestExamMinutes
                    && *minutes <= examlimits::kLongestExamMinutes);
        if (rounds % 50 == 0) {
            QVERIFY(writeFile(timePath, input));
            const qint16 stored = console.storedExamMinutes();
            QVERIFY(stored >= examlimits::kShortestExamMinutes
                    && stored <= examlimits::kLongestExamMinutes);
        }
    }
    qInfo("%d inputs in %lld ms", rounds, clock.elapsed());
    QVERIFY(rounds > 1000);
}

// Mutated before compression, so that the reader behind the decompression
// sees them; what it reads writes back to the same.
void TestReadersFuzz::timelineReaderSurvivesMutatedInput()
{
    const QByteArray seeds[] = {
        qUncompress(keytimeline::encode(typedByPinyin(chineseText(300, 1), 2))),
        qUncompress(keytimeline::encode(
                keytimeline::coarsened(typedByKeys(englishText(300, 3), 4), 1))),
    };
    QRandomGenerator random(20261209);
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    for (; rounds < kRounds && clock.elapsed() < kBudgetMillis / 4; ++rounds) {
        const QByteArray plain =
                random.bounded(8) == 0 ? noise(random) : mutate(seeds[random.bounded(2)], random);
        const keytimeline::Reading reading = keytimeline::decode(qCompress(plain));
        QCOMPARE(reading.timeline.has_value(), reading.problem.isEmpty());
        if (reading.timeline)
            QVERIFY(keytimeline::decode(keytimeline::encode(*reading.timeline)).timeline
                    == reading.timeline);
    }
    qInfo("%d timelines in %lld ms", rounds, clock.elapsed());
    QVERIFY(rounds > 1000);
}

QTEST_GUILESS_MAIN(TestReadersFuzz)
#include "tst_readers_fuzz.moc"
