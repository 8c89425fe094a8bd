// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login of the examinee's client, without widgets: it remembers the
// server address in ip.txt, checks the four entries, fetches the settings
// file and then the exam text, has the examinee's earlier records of that
// exam searched (EarlierRecords) and, when there are any, asks for a retake
// permission (RetakePermission), and hands the examinee over once all is
// whole and usable: refused after a finish, or offered to continue an
// unfinished session. The login window shows what it reports and asks the
// question.
#include "transfer/earlierrecords.h"
#include "transfer/examinee.h"
#include "transfer/priorrecords.h"
#include "transfer/retakepermission.h"
#include "transfer/transferchannel.h"

#include <QObject>
#include <QString>

#include <optional>

class LoginSession : public QObject
{
    Q_OBJECT

public:
    enum class Entry { ServerIP, Department, ExamNumber, Name };
    enum class Phase {
        Idle,
        WaitingForSettings,
        WaitingForText,
        WaitingForPublication,  // pb.txt, which an older console does not publish
        LookingForRecords,  // the examinee's own files, name after name
        WaitingForPermission,  // an earlier record found: whether a retake is permitted
        WaitingForAnswer,  // whether to continue the unfinished session
        Done
    };

    enum class ClickOutcome {
        Started,  // the settings file is on its way
        EntryMissing,  // `missing` names the first empty entry
        Ignored,  // a transfer is still running; nothing happens
    };
    struct Click
    {
        ClickOutcome outcome = ClickOutcome::Started;
        Entry missing = Entry::ServerIP;
    };

    explicit LoginSession(const QString &workingFolder, QObject *parent = nullptr);

    // When the window opens: removes te.txt and se.dll left from an earlier
    // run and returns the remembered server address (empty when ip.txt is
    // missing or holds no value).
    QString open();

    // The Login click. The entries are taken exactly as typed;
    // examMinutes is ignored (it comes from the settings file).
    Click login(const Examinee &entries);

    // The examinee's answer to resumeOffered().
    void answerResume(bool yes);

    Phase phase() const { return m_phase; }
    // After the login: where the exam goes on, when the examinee chose to.
    const std::optional<ResumePoint> &resumePoint() const { return m_resume; }
    TransferChannel &channel() { return m_channel; }

    static QString missingEntryMessage(Entry entry);

signals:
    // Panel 1 of the status bar.
    void statusChanged(const QString &text);
    // A message box for the examinee.
    void messageRequested(const QString &text);
    // An unfinished session of this exam was found: the question to ask.
    void resumeOffered(const QString &question);
    // The exam requires a login code and none was typed: the window shows
    // the code's box; `message` says so.
    void codeRequired(const QString &message);
    // Settings and exam text have arrived and ip.txt is written.
    void loggedIn(const Examinee &examinee);

private:
    void onChannelFinished(TransferChannel::Outcome outcome);
    void settingsArrived();
    void textArrived();
    void publicationArrived();
    void recordsSearched();
    void permissionArrived();
    void judgePriorRecords(const QString &retakeSession, bool permissionAsked);
    void finishLogin();
    void refuse(const QString &message);
    QString pathOf(const QString &name) const;

    QString m_folder;
    TransferChannel m_channel;
    Examinee m_examinee;
    Phase m_phase = Phase::Idle;
    EarlierRecords m_earlier;
    RetakePermission m_permission;
    std::optional<ResumePoint> m_offered;
    std::optional<ResumePoint> m_resume;
    QByteArray m_examDigest;  // of te.txt as downloaded
};
