#pragma once
// The login of the examinee's client, without widgets: it remembers the
// server address in ip.txt, checks the four entries, fetches the settings
// file and then the exam text, and hands the examinee over once both have
// arrived whole and usable. The login window shows what it reports.
#include "transfer/examinee.h"
#include "transfer/transferchannel.h"

#include <QObject>
#include <QString>

#include <optional>

class LoginSession : public QObject
{
    Q_OBJECT

public:
    enum class Entry { ServerIP, Department, ExamNumber, Name };
    enum class Phase { Idle, WaitingForSettings, WaitingForText, Done };

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

    Phase phase() const { return m_phase; }
    TransferChannel &channel() { return m_channel; }

    static QString missingEntryMessage(Entry entry);

signals:
    // Panel 1 of the status bar.
    void statusChanged(const QString &text);
    // A message box for the examinee.
    void messageRequested(const QString &text);
    // Settings and exam text have arrived and ip.txt is written.
    void loggedIn(const Examinee &examinee);

private:
    void onChannelFinished(TransferChannel::Outcome outcome);
    void settingsArrived();
    void textArrived();
    void refuse(const QString &message);
    QString pathOf(const QString &name) const;

    QString m_folder;
    TransferChannel m_channel;
    Examinee m_examinee;
    Phase m_phase = Phase::Idle;
};
