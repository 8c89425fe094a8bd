// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's part in the school archive, without a window: its place,
// lab and teacher as set and stored, the connection tested, the password
// written into libpq's file, and the exams the file keeps sent to the
// school (at the start, after each keep and on demand, on a thread of
// their own) with how many wait.
#include "archive/schooloutbox.h"
#include "control/connectiontester.h"
#include "control/schoolsender.h"
#include "control/schoolsettings.h"

#include <QObject>

#include <memory>

namespace console {

class SchoolController : public QObject
{
    Q_OBJECT

public:
    // `local` is the console's archive file and outlives the controller.
    SchoolController(ExamArchive &local, const QString &applicationFolder,
                     QObject *parent = nullptr);

    const SchoolSetting &setting() const { return m_setting; }
    // What the examiner is told once at the start about the stored setting;
    // empty when nothing.
    const QString &startNotice() const { return m_startNotice; }
    bool sendsToSchool() const { return m_outbox != nullptr; }
    // Stores the setting, in force from now on; the problem or empty.
    QString save(const SchoolSetting &setting);
    // Opens the school archive at `place` as a send would: what is wrong,
    // or that it answers.
    static QString testConnection(const QString &place);
    // The same on a thread of its own; connectionTested() answers. Ignored
    // while a test runs.
    void startConnectionTest(const QString &place);
    bool isTestingConnection() const { return m_tester.busy(); }
    // The password of the place's user into libpq's password file; the problem or empty.
    static QString writePassword(const QString &place, const QString &password);

    // Starts sending what waits (at the start, after a keep); sendEnded()
    // reports it. Nothing happens without a school archive.
    void send();
    // The same on the examiner's demand, and sending the exams kept before
    // there was a school archive, once; without a school archive
    // sendEnded() says so at once.
    void sendNow();
    void sendKeptBefore();
    bool isSending() const { return m_sender.busy(); }
    // What the console shows about the outbox: how many exams wait, and
    // why the last send failed; empty when nothing waits.
    const QString &status() const { return m_status; }
    // The whole of why the last send failed, of which status() has the first line.
    const QString &statusDetail() const { return m_statusDetail; }

signals:
    void statusChanged(const QString &status);
    // A send ended; the report's problem says why some could not go.
    void sendEnded(const SchoolOutbox::Report &report);
    void connectionTested(const QString &answer);

private:
    void setUp();
    void sendOnDemand(bool keptBefore);
    void startSend(bool keptBefore);
    void showSent(const SchoolOutbox::Report &report);
    void showStatus(int waiting, const QString &problem);

    ExamArchive &m_local;
    SchoolSettings m_settings;
    SchoolSetting m_setting;
    std::unique_ptr<SchoolOutbox> m_outbox;
    QString m_status;
    QString m_statusDetail;
    QString m_startNotice;
    // Last: their threads end before the parts above go.
    SchoolSender m_sender;
    ConnectionTester m_tester;
};

}  // namespace console
