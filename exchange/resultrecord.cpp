// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/resultrecord.h"

#include "exchange/gbk.h"
#include "exchange/recordlines.h"

#include <vector>
#include <QCoreApplication>

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
    if (!progress || !answerSheet)
        return writer.bytes();
    const QByteArray typed = gbk::encode(answerSheet->typedText);
    writer.text(QString::fromLatin1(answerSheet->examDigest))
            .integer(answerSheet->examMinutes)
            .integer(answerSheet->resumeCount)
            .integer(typed.size());
    QByteArray bytes = writer.bytes() + typed + "\r\n";
    for (const RecordSection &section : sections)
        bytes += sectionBytes(section);
    return bytes;
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

constexpr int kHeadLines = 18;

// Where each of the first 18 lines ends in the bytes, just past its CR or CR
// LF; fewer when the file has fewer. GBK never uses CR as a second byte, so
// the bytes can be split before they are decoded.
std::vector<qsizetype> headLineEnds(QByteArrayView bytes)
{
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < bytes.size() && int(ends.size()) < kHeadLines; ++i) {
        if (bytes[i] != '\r')
            continue;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        ends.push_back(i + 1);
    }
    return ends;
}

// Lines 15 to 18 and the text count only when all of them convert, the
// text is valid GBK ending in its CR LF where the byte count says, and
// whole sections fill the rest of the file.
void readAnswerSheet(const RecordReader &reader, QByteArrayView bytes, qsizetype textStart,
                     ResultRecord &record)
{
    const auto digest = reader.text(14);
    const auto minutes = reader.int16(15);
    const auto resumeCount = reader.int32(16);
    const auto byteCount = reader.int32(17);
    if (!digest || !minutes || !resumeCount || !byteCount || *byteCount < 0
        || bytes.size() - textStart < qsizetype(*byteCount) + 2 || bytes[textStart - 1] != '\n'
        || bytes.sliced(textStart + *byteCount, 2) != QByteArrayView("\r\n"))
        return;
    const qsizetype sectionsStart = textStart + *byteCount + 2;
    auto sections = readRecordSections(bytes.sliced(sectionsStart), sectionsStart);
    if (!sections)
        return;
    const auto typed = gbk::decodeStrict(bytes.sliced(textStart, *byteCount));
    if (!typed)
        return;
    record.answerSheet = AnswerSheet { digest->toLatin1(), *minutes, *resumeCount, *typed };
    record.sections = std::move(*sections);
}

}  // namespace

ResultRecordReading readResultRecord(QByteArrayView plainBytes)
{
    static constexpr int kLines = 10;
    // Only the head lines are decoded: the typed text after them can be
    // long and is decoded once, by its byte count.
    const std::vector<qsizetype> ends = headLineEnds(plainBytes);
    const bool hasHead = int(ends.size()) == kHeadLines;
    const RecordReader reader(hasHead ? plainBytes.first(ends.back()) : plainBytes);
    ResultRecordReading reading;
    if (reader.lineCount() < kLines) {
        reading.problem = QCoreApplication::translate("ResultRecord", "只有%1行，应为%2行")
                                  .arg(reader.lineCount())
                                  .arg(kLines);
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
        reading.problem = QCoreApplication::translate("ResultRecord", "数字行无法识别");
        return reading;
    }
    if (!department || !examNumber || !name) {
        reading.problem = QCoreApplication::translate("ResultRecord", "部门、考号或姓名行不完整");
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
    if (record.progress && hasHead)
        readAnswerSheet(reader, plainBytes, ends.back(), record);
    reading.record = record;
    return reading;
}
