// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Result records as clients upload them, for the tests of both programs.
#include "exchange/resultrecord.h"

#include <QString>

// A finished record of one examinee with plausible figures (900 signs,
// 880 typed).
ResultRecord sampleRecord(const QString &department, const QString &examNumber, const QString &name,
                          float speed = 50, float accuracy = 98.5f, qint16 timePass = 600);

// Gives a fabricated record what the current client writes in an exam
// published in `exchangeFolder` and lacks: progress lines of its finish, an
// answer sheet of `typed` against the published te.txt and se.dll, the
// timeline of its sheet typed with pinyin, and pb.txt's publication.
void addClientParts(ResultRecord &record, const QString &exchangeFolder,
                    const QString &typed = QString());

// Writes `plain` scrambled as a client uploads it; false when it cannot.
bool writeScrambled(const QString &path, const QByteArray &plain);
// A scrambled file's plain bytes; empty when it cannot be read.
QByteArray readScrambled(const QString &path);

// Writes the record scrambled under the name its identity gives (with
// "~N" for a sequence above 1); the file's path, empty when it cannot.
QString writeResultFile(const QString &folder, const ResultRecord &record, int sequence = 1);

// A scrambled result file read back as the console reads it.
ResultRecordReading readResultFile(const QString &path);
