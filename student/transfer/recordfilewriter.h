// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files of an exam session's records, written on a thread of their own
// so that the typing never waits for the disk: one record after another, in
// the order handed over, its record file for the upload (sc1.zip) when it is
// sent, then the checkpoint. Each file is written whole, so that the upload,
// a resume or the close of the client never finds half a file.
#include "exchange/resultrecord.h"
#include "transfer/examcheckpoint.h"
#include "exchange/wholefile.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

class RecordFileWriter : public QObject
{
    Q_OBJECT

public:
    explicit RecordFileWriter(const QString &workingFolder, QObject *parent = nullptr);
    // Every record handed over is written before the writer goes.
    ~RecordFileWriter() override;

    // Writes the record's files on the worker; written() follows.
    void write(ResultRecord record, bool sent);
    // Returns once every record handed over so far is written (true), or
    // after msecs (-1: no limit) with a record still being written (false).
    // Only this object's thread hands records over: while it reads the
    // files after a true, none of them is being replaced.
    bool waitForWritten(int msecs = -1);

signals:
    // On this object's thread, in the order the records were handed over.
    // recordFile: for a sent record, the bytes of its record file as written
    // and read back, or why it was not written (empty when not sent). A
    // checkpoint that cannot be written costs only the resume after a crash.
    void written(bool sent, const wholefile::Reading &recordFile);

private:
    QString m_folder;
    ExamCheckpoint m_checkpoint;
    // One thread: the records are written in their order.
    QThreadPool m_worker;
};
