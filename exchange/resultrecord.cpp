#include "resultrecord.h"

#include "recordlines.h"

QString phaseWord(ResultProgress::Phase phase)
{
    switch (phase) {
    case ResultProgress::Phase::Waiting:
        return QStringLiteral("waiting");
    case ResultProgress::Phase::Typing:
        return QStringLiteral("typing");
    case ResultProgress::Phase::Finished:
        return QStringLiteral("finished");
    }
    return {};
}

std::optional<ResultProgress::Phase> phaseFromWord(QStringView word)
{
    for (auto phase : { ResultProgress::Phase::Waiting, ResultProgress::Phase::Typing,
                        ResultProgress::Phase::Finished }) {
        if (word == phaseWord(phase))
            return phase;
    }
    return std::nullopt;
}

QByteArray ResultRecord::toRecordLines() const
{
    RecordWriter writer;
    writer.integer(kFirstMarker)
            .integer(kSecondMarker)
            .single(speed)
            .single(accuracy)
            .integer(timePass)
            .integer(targetLen)
            .integer(typedLen)
            .text(department)
            .text(examNumber)
            .text(name);
    if (progress) {
        writer.integer(progress->sequence)
                .text(progress->sessionId)
                .text(phaseWord(progress->phase))
                .integer(progress->typedSoFar);
    }
    return writer.bytes();
}

namespace {

// Lines 11 to 14 count only when all of them are there and convert.
std::optional<ResultProgress> readProgress(const RecordReader &reader)
{
    const auto sequence = reader.int32(10);
    const auto sessionId = reader.text(11);
    const auto phase = reader.text(12);
    const auto typedSoFar = reader.int32(13);
    if (!sequence || !sessionId || !phase || !typedSoFar)
        return std::nullopt;
    const auto knownPhase = phaseFromWord(*phase);
    if (!knownPhase)
        return std::nullopt;
    return ResultProgress { *sequence, *sessionId, *knownPhase, *typedSoFar };
}

}  // namespace

ResultRecordReading readResultRecord(QByteArrayView plainBytes)
{
    static constexpr int kLines = 10;
    const RecordReader reader(plainBytes);
    ResultRecordReading reading;
    if (reader.lineCount() < kLines) {
        reading.problem = QStringLiteral("只有%1行，应为%2行").arg(reader.lineCount()).arg(kLines);
        return reading;
    }
    const auto speed = reader.single(2);
    const auto accuracy = reader.single(3);
    const auto timePass = reader.int16(4);
    const auto targetLen = reader.int32(5);
    const auto typedLen = reader.int32(6);
    const auto department = reader.text(7);
    const auto examNumber = reader.text(8);
    const auto name = reader.text(9);
    if (!speed || !timePass || !targetLen || !typedLen) {
        reading.problem = QStringLiteral("数字行无法识别");
        return reading;
    }
    if (!department || !examNumber || !name) {
        reading.problem = QStringLiteral("部门、考号或姓名行不完整");
        return reading;
    }
    reading.accuracyLine = *reader.line(3);
    ResultRecord record;
    record.speed = *speed;
    record.accuracy = accuracy.value_or(0);
    record.timePass = *timePass;
    record.targetLen = *targetLen;
    record.typedLen = *typedLen;
    record.department = *department;
    record.examNumber = *examNumber;
    record.name = *name;
    record.progress = readProgress(reader);
    reading.record = record;
    return reading;
}
