// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "testrecords.h"

#include "exchange/examdigest.h"
#include "exchange/examsettings.h"
#include "exchange/publication.h"
#include "exchange/resultfilename.h"
#include "testfiles.h"
#include "testtimelines.h"
#include "exchange/transcode.h"

ResultRecord sampleRecord(const QString &department, const QString &examNumber, const QString &name,
                          float speed, float accuracy, qint16 timePass)
{
    return { speed, accuracy, timePass, 900, 880, department, examNumber, name, {} };
}

void addClientParts(ResultRecord &record, const QString &exchangeFolder, const QString &typed)
{
    const QDir folder(exchangeFolder);
    if (!record.progress)
        record.progress = ResultProgress { 1, u"s"_qs + record.name,
                                           ResultProgress::Phase::Finished, record.typedLen };
    if (!record.answerSheet)
        record.answerSheet = AnswerSheet {
            examDigest(readFile(folder.filePath(u"te.txt"_qs))),
            readExamSettings(readScrambled(folder.filePath(u"se.dll"_qs))).examMinutes.value_or(0),
            0, typed
        };
    QString text = record.answerSheet->typedText;
    text.replace(u"\r\n"_qs, u"\n"_qs);
    record.sections.push_back(
            { keytimeline::kSectionName.toString(), keytimeline::encode(typedByPinyin(text, 1)) });
    if (const auto published =
                Publication::fromRecordLines(readFile(folder.filePath(Publication::fileName()))))
        record.sections.push_back(published->section());
}

bool writeScrambled(const QString &path, const QByteArray &plain)
{
    return writeFile(path, transcodeBytes(plain, kExchangeKey));
}

QString writeResultFile(const QString &folder, const ResultRecord &record, int sequence)
{
    const QString path = QDir(folder).filePath(
            resultname::forIdentity(record.department, record.examNumber, record.name, sequence));
    return writeScrambled(path, record.toRecordLines()) ? path : QString();
}

QByteArray readScrambled(const QString &path)
{
    return transcodeBytes(readFile(path), kExchangeKey);
}

ResultRecordReading readResultFile(const QString &path)
{
    return readResultRecord(readScrambled(path));
}
