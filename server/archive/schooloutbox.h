// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exams the file keeps, on their way to the school's database. The file
// is always written first; sending copies each waiting exam under its
// school key and only then marks it sent, so a send repeated after a
// failure, a kill or by a second console finds the exam there and keeps
// one copy. The school database is reached anew at each send: a server that
// was away is used as soon as it is back.
#include "archive/archiveplace.h"
#include "archive/connectionwatch.h"
#include "archive/examarchive.h"

#include <QCoreApplication>
#include <atomic>

class SchoolOutbox
{
    Q_DECLARE_TR_FUNCTIONS(SchoolOutbox)
public:
    // `local` outlives the outbox. Exams kept without a lab or teacher
    // (before the console named them) are sent with these.
    SchoolOutbox(ExamArchive &local, ArchivePlace school, QString lab, QString teacher);

    // The key an exam has in the school archive: its publication, or for an
    // exam published without one its lab, the digest of its text and when
    // login opened.
    static QString schoolKeyOf(const ExamSitting &sitting);
    // What the console shows while exams wait; empty when none does.
    static QString waitingText(int count);

    struct Report
    {
        int sent = 0;
        int waiting = 0;  // still in the file only
        QString problem;  // why the rest could not be sent; empty when all went
    };
    // Sends every waiting exam, oldest first, each in a transaction of its
    // own; once `stop` is set, no further exam is begun. Each keep in the
    // school is under `watch`, which may cut it from another thread.
    Report send(const std::atomic<bool> *stop = nullptr, ConnectionWatch *watch = nullptr);
    // The exams kept before there was a school archive join the waiting
    // ones, as this lab's.
    Report sendKeptBefore(const std::atomic<bool> *stop = nullptr,
                          ConnectionWatch *watch = nullptr);
    ArchiveRead<int> waitingCount();

    const ArchivePlace &school() const { return m_school; }

private:
    ExamArchive &m_local;
    ArchivePlace m_school;
    QString m_lab;
    QString m_teacher;
};
