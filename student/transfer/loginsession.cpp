// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/loginsession.h"

#include "exchange/examdigest.h"
#include "exchange/examlimits.h"
#include "exchange/examsettings.h"
#include "exchange/identity.h"
#include "exchange/logincode.h"
#include "exchange/paths.h"
#include "exchange/recordsignature.h"
#include "exchange/transcode.h"
#include "transfer/loginwords.h"
#include "transfer/serveraddress.h"
#include "transfer/transferlog.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const QString kExamText = paths::examTextFileName();
const QString kSettings = paths::examSettingsFileName();
const QString kPublication = Publication::fileName();
// Two short record lines.
constexpr qint64 kMaxPublicationBytes = 4096;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A text holding nothing but blanks and line ends gives nothing to type.
bool hasSomethingToType(const QByteArray &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; });
}

}  // namespace

LoginSession::LoginSession(const QString &workingFolder, QObject *parent)
    : QObject(parent),
      m_folder(workingFolder),
      m_earlier(m_channel, workingFolder),
      m_permission(m_channel, workingFolder)
{
    m_channel.setWorkingFolder(workingFolder);
    connect(&m_channel, &TransferChannel::finished, this, &LoginSession::onChannelFinished);
    connect(&m_earlier, &EarlierRecords::ended, this, &LoginSession::recordsSearched);
}

QString LoginSession::pathOf(const QString &name) const
{
    return QDir(m_folder).filePath(name);
}

QString LoginSession::open()
{
    // An exam text from an earlier run must never open as this exam's.
    QFile::remove(pathOf(kExamText));
    QFile::remove(pathOf(kSettings));
    QFile::remove(pathOf(kPublication));

    return keptServerAddress(m_folder);
}

QString LoginSession::missingEntryMessage(Entry entry)
{
    switch (entry) {
    case Entry::ServerIP:
        return tr("请输入服务器IP");
    case Entry::Department:
        return tr("请输入部门");
    case Entry::ExamNumber:
        return tr("请输入考号");
    case Entry::Name:
        return tr("请输入姓名");
    }
    return {};
}

LoginSession::Click LoginSession::login(const Examinee &entries)
{
    if (m_channel.isBusy())
        return { ClickOutcome::Ignored };
    const std::pair<const QString &, Entry> inOrder[] = {
        { entries.serverIP, Entry::ServerIP },
        { entries.department, Entry::Department },
        { entries.examNumber, Entry::ExamNumber },
        { entries.name, Entry::Name },
    };
    for (const auto &[text, entry] : inOrder) {
        if (text.isEmpty())
            return { ClickOutcome::EntryMissing, entry };
    }

    m_examinee = entries;
    m_examinee.examMinutes = 0;
    m_phase = Phase::WaitingForSettings;
    qCInfo(lcTransfer).noquote() << "login:" << entries.department << entries.examNumber
                                 << entries.name << "at" << entries.serverIP;
    m_channel.setRemoteHost(entries.serverIP);
    m_channel.get(kSettings, kSettings, examlimits::kMaxSettingsBytes);
    emit statusChanged(loginwords::loggingIn());
    return { ClickOutcome::Started };
}

void LoginSession::onChannelFinished(TransferChannel::Outcome outcome)
{
    if (outcome == TransferChannel::Outcome::Completed) {
        if (m_phase == Phase::WaitingForSettings)
            settingsArrived();
        else if (m_phase == Phase::WaitingForText)
            textArrived();
        else if (m_phase == Phase::WaitingForPublication)
            publicationArrived();
        else if (m_phase == Phase::LookingForRecords)
            m_earlier.takeFetched(outcome);
        else if (m_phase == Phase::WaitingForPermission)
            permissionArrived();
        return;
    }
    // An own file larger than any record is passed over, and so is a
    // permission.
    if (outcome == TransferChannel::Outcome::TooLarge && m_phase == Phase::LookingForRecords) {
        m_earlier.takeFetched(outcome);
        return;
    }
    if (outcome == TransferChannel::Outcome::TooLarge && m_phase == Phase::WaitingForPermission) {
        judgePriorRecords(QString(), true);
        return;
    }
    // A file larger than any real one is the examiner's to fix.
    if (outcome == TransferChannel::Outcome::TooLarge) {
        refuse(loginwords::badSettings());
        return;
    }
    m_phase = Phase::Idle;
    qCWarning(lcTransfer).noquote() << "login failed:" << loginwords::failed(outcome);
    emit statusChanged(loginwords::failed(outcome));
}

void LoginSession::settingsArrived()
{
    // A settings file that did not arrive counts as empty: login is closed.
    // It is unscrambled in memory; the channel has bounded its size.
    const QByteArray plain = transcodeBytes(readAll(pathOf(kSettings)), kExchangeKey);
    const ExamSettingsReading settings = readExamSettings(plain);
    if (settings.isEmpty() || settings.loginAllowed == false) {
        refuse(loginwords::notOpenYet());
        return;
    }
    // A file cut short (a full disk at the examiner's) loses its last line end.
    if (!plain.endsWith("\r\n")) {
        refuse(loginwords::badSettings());
        return;
    }
    // An exam that the clock cannot run is refused rather than opened.
    if (!settings.isComplete() || *settings.examMinutes < examlimits::kShortestExamMinutes
        || *settings.examMinutes > examlimits::kLongestExamMinutes) {
        refuse(loginwords::badSettings());
        return;
    }
    m_examinee.examMinutes = *settings.examMinutes;
    m_phase = Phase::WaitingForText;
    m_channel.get(kExamText, kExamText, examlimits::kMaxExamTextBytes);
}

void LoginSession::textArrived()
{
    // The examiner closed login between the two downloads.
    if (!QFile::exists(pathOf(kExamText))) {
        refuse(loginwords::notOpenYet());
        return;
    }
    const QByteArray text = readAll(pathOf(kExamText));
    if (!hasSomethingToType(text)) {
        QFile::remove(pathOf(kExamText));
        refuse(loginwords::badSettings());
        return;
    }
    m_examDigest = examDigest(text);
    m_phase = Phase::WaitingForPublication;
    QFile::remove(pathOf(kPublication));
    m_channel.get(kPublication, kPublication, kMaxPublicationBytes);
}

void LoginSession::publicationArrived()
{
    // An older console publishes none: the exam has no id.
    m_examinee.publication = {};
    if (QFile::exists(pathOf(kPublication))) {
        const auto publication = Publication::fromRecordLines(readAll(pathOf(kPublication)));
        if (!publication) {
            refuse(loginwords::badSettings());
            return;
        }
        m_examinee.publication = *publication;
    }
    m_examinee.recordKey.clear();
    if (m_examinee.publication.codesRequired) {
        if (m_examinee.loginCode.trimmed().isEmpty()) {
            m_phase = Phase::Idle;
            emit statusChanged(QString());
            emit codeRequired(loginwords::codeMissing());
            return;
        }
        // A mistyped code would sign every record wrongly: refused before any is signed.
        if (const QString problem = logincode::problemOf(m_examinee.loginCode);
            !problem.isEmpty()) {
            m_phase = Phase::Idle;
            qCWarning(lcTransfer).noquote() << "login code refused:" << problem;
            emit statusChanged(QString());
            emit codeRequired(problem);
            return;
        }
        // Once per login: drawing the key is slow on purpose.
        m_examinee.recordKey = recordsignature::keyFor(
                m_examinee.loginCode, m_examinee.publication.id,
                identity::personKey(m_examinee.department, m_examinee.examNumber, m_examinee.name));
    }
    m_offered.reset();
    m_resume.reset();
    // Earlier records count only for this very exam: the text as
    // downloaded, the exam time and the publication.
    m_phase = Phase::LookingForRecords;
    m_earlier.search(m_examinee, m_examDigest, m_examinee.examMinutes);
}

void LoginSession::recordsSearched()
{
    judgePriorRecords(QString(), false);
}

void LoginSession::permissionArrived()
{
    judgePriorRecords(m_permission.takeSetAsideSession(m_examinee.recordKey), true);
}

void LoginSession::judgePriorRecords(const QString &retakeSession, bool permissionAsked)
{
    const PriorRecords &found = m_earlier.found();
    const PriorRecords::Outcome outcome = found.outcome(retakeSession);
    // A retake sets aside every earlier session: before refusing or
    // offering one, the examiner's permission is asked for.
    if (outcome.verdict != PriorRecords::Verdict::Fresh && !permissionAsked) {
        m_phase = Phase::WaitingForPermission;
        m_permission.request(m_examinee);
        return;
    }
    const QString note = found.noteLine();
    if (outcome.verdict == PriorRecords::Verdict::Finished) {
        QFile::remove(pathOf(kExamText));
        refuse(PriorRecords::finishedMessage());
        if (!note.isEmpty())
            emit statusChanged(note);
        return;
    }
    if (!note.isEmpty())
        emit statusChanged(note);
    if (outcome.verdict == PriorRecords::Verdict::Resume) {
        m_phase = Phase::WaitingForAnswer;
        m_offered = ResumePoint { *outcome.resumeFrom, std::max(1, m_earlier.newestName()) };
        emit resumeOffered(PriorRecords::resumeQuestion(m_offered->record));
        return;
    }
    finishLogin();
}

void LoginSession::answerResume(bool yes)
{
    if (m_phase != Phase::WaitingForAnswer)
        return;
    // No: a new session, as if nothing had been found.
    if (yes)
        m_resume = m_offered;
    finishLogin();
}

void LoginSession::finishLogin()
{
    // Remembering the address is a convenience: a failure does not stop the exam.
    keepServerAddress(m_folder, m_examinee.serverIP);
    m_phase = Phase::Done;
    qCInfo(lcTransfer) << "logged in";
    emit loggedIn(m_examinee);
}

void LoginSession::refuse(const QString &message)
{
    m_phase = Phase::Idle;
    qCWarning(lcTransfer).noquote() << "login refused:" << message;
    emit messageRequested(message);
    emit statusChanged(QString());
}
