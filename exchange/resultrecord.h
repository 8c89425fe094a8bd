// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ten-line result record that an examinee uploads and the console
// collects.
#include "exchange/recordsections.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a client that knows it writes after line 10 of a result record.
// Consoles that read ten lines ignore it; a record without it reads as
// before. Line by line:
//   11  sequence number of this upload within the exam session, from 1
//   12  id of the exam session, quoted (one login of one examinee)
//   13  phase, quoted: "waiting", "typing" or "finished"
//   14  typed length when the record was written
struct ResultProgress
{
    enum class Phase { Waiting, Typing, Finished };

    qint32 sequence = 0;
    QString sessionId;
    Phase phase = Phase::Waiting;
    qint32 typedSoFar = 0;

    friend bool operator==(const ResultProgress &a, const ResultProgress &b)
    {
        return a.sequence == b.sequence && a.sessionId == b.sessionId && a.phase == b.phase
                && a.typedSoFar == b.typedSoFar;
    }
};

// The answer sheet: what a client writes after line 14, so that a record
// and the text it was scored from can never disagree. Line by line:
//   15  digest of the exam, quoted (examDigest of te.txt as published)
//   16  exam minutes as published in se.dll
//   17  how often this session was resumed, 0 for one never resumed
//   18  length of the typed text in GBK bytes
// then exactly that many bytes, the typed text in GBK with its line breaks
// as CR LF, and a closing CR LF. The byte count makes the line breaks inside
// the text unambiguous; a reader of the first 14 lines sees more lines only.
struct AnswerSheet
{
    QByteArray examDigest;
    qint16 examMinutes = 0;
    qint32 resumeCount = 0;
    QString typedText;

    friend bool operator==(const AnswerSheet &a, const AnswerSheet &b)
    {
        return a.examDigest == b.examDigest && a.examMinutes == b.examMinutes
                && a.resumeCount == b.resumeCount && a.typedText == b.typedText;
    }
};

QString phaseWord(ResultProgress::Phase phase);
std::optional<ResultProgress::Phase> phaseFromWord(QStringView word);

struct ResultRecord
{
    static constexpr qint16 kFirstMarker = 40;
    static constexpr qint16 kSecondMarker = 98;

    float speed = 0;  // right characters per minute, two decimals
    float accuracy = 0;  // percent, two decimals
    qint16 timePass = 0;  // whole seconds
    qint32 targetLen = 0;
    qint32 typedLen = 0;
    QString department;  // department, as typed at login
    QString examNumber;  // exam number, as typed at login
    QString name;  // name, as typed at login
    std::optional<ResultProgress> progress;  // lines 11 to 14, when written
    // Lines 15 on; written only after lines 11 to 14, so only with progress.
    std::optional<AnswerSheet> answerSheet = std::nullopt;
    // After the sheet, only with it; a sheet followed by bytes that are not
    // whole sections counts as damaged.
    std::vector<RecordSection> sections = {};

    QByteArray toRecordLines() const;
};

// A result file as read by the collector. `record` is set only when every
// line the collector needs is there and converts; `problem` then is empty,
// otherwise it says in Chinese what is wrong, for the examiner.
struct ResultRecordReading
{
    std::optional<ResultRecord> record;
    QString accuracyLine;  // line 4 exactly as written, kept as text
    QString problem;

    bool ok() const { return record.has_value(); }
};

ResultRecordReading readResultRecord(QByteArrayView plainBytes);
