// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login gate: login is open exactly while the settings file se.dll lies
// in the exchange folder. Opening publishes the exam text (te.txt) and the
// scrambled settings file, each time as a new publication (pb.txt);
// closing withdraws them.
#include "publish/consolesettings.h"
#include "publish/examaspublished.h"
#include "publish/exchangefolder.h"
#include "publish/logincodes.h"
#include "publish/publishedfiles.h"
#include "exchange/paths.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class LoginGate
{
    Q_DECLARE_TR_FUNCTIONS(LoginGate)
public:
    enum class Readiness { Ready, NoExamText, NoExamTime, NoExchangeFolder };

    static QString publishedTextName() { return paths::examTextFileName(); }
    static QString publishedSettingsName() { return paths::examSettingsFileName(); }

    // What an earlier run left published: the start of its text and its time.
    struct PublishedExam
    {
        QString textStart;  // the first signs, line breaks shown as spaces
        std::optional<qint16> examMinutes;  // empty when se.dll does not read
    };

    LoginGate(QString applicationFolder, QString exchangeFolder,
              ConsoleIdentity self = ConsoleIdentity::current());

    bool isOpen() const { return m_open; }

    // All three conditions are evaluated; the first missing one in the order
    // exam text, exam time, exchange folder is the one reported.
    Readiness readiness() const;
    QString readinessMessage(Readiness readiness) const;

    // Publishes the exam with the given exam time. Returns an empty text on
    // success; otherwise what failed, and nothing new stays published. The
    // gate is open after a failure only when an earlier se.dll could not be
    // taken back. With examinees, each gets a login code and the exam
    // requires them.
    QString open(qint16 examMinutes, QVector<CodedExaminee> examinees = {});
    // Withdraws the exam. Returns an empty text when both files are gone;
    // the gate stays open while se.dll could not be deleted.
    QString close();

    // The exam as last published, from this run or kept from an earlier one.
    const std::optional<ExamAsPublished> &examAsPublished() const { return m_asPublished; }
    // The login codes of the exam as last published; none without codes.
    const LoginCodes &loginCodes() const { return m_codes; }
    // 清空上次: the exam last published is over. Its codes are never handed
    // out again (they are no longer needed to judge its records), and a
    // publication of it after this is a new exam, whose records are not
    // those of its earlier publications.
    void retireExam();
    // The files written back, and the problem when they could not be.
    using Republishing = PublishedFiles::Restoring;
    // While login is open, holds the exchange folder to the exam last
    // published: te.txt, pb.txt and se.dll that are missing or not as
    // published are written back, the same bytes and publication. The id a
    // forged pb.txt named joins the exam's publications (ExamPublications).
    // On failure the gate is closed and the problem says that nobody can
    // log in.
    Republishing republish();

    // The exam published in the exchange folder while the gate is open.
    PublishedExam publishedExam() const;
    // The question put when the console starts with an exam still published.
    static QString publishedExamQuestion(const PublishedExam &exam);

    // Another console that has login open on this folder; see ConsoleMarker.
    std::optional<ConsoleMarker::Note> otherConsole(const QDateTime &nowUtc) const
    {
        return m_marker.otherConsole(nowUtc);
    }

private:
    QString publishedPath(const QString &name) const;
    QString scratchPath(const QString &name) const;
    QString publishAs(qint16 examMinutes, const Publication &publication, const LoginCodes &codes);
    void loadKept();
    QByteArray keptTextBytes() const;
    void removeScratchFiles();
    void noteForgedPublication(const QString &id);

    ConsoleSettings m_settings;
    QString m_exchangeFolder;
    ConsoleMarker m_marker;
    bool m_open = false;
    std::optional<ExamAsPublished> m_asPublished;
    LoginCodes m_codes;
};
