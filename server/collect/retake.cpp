// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/retake.h"

#include "collect/collectlog.h"
#include "collect/publicationcheck.h"
#include "collect/resultfiles.h"
#include "collect/sessiontable.h"
#include "exchange/identity.h"
#include "exchange/recordsignature.h"
#include "exchange/resultfilename.h"
#include "exchange/retakeleave.h"
#include "exchange/transcode.h"
#include "exchange/wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

Retake::Retake(ResultStore &store, QString exchangeFolder, QString applicationFolder,
               LoginCodes codes)
    : m_store(store),
      m_exchangeFolder(std::move(exchangeFolder)),
      m_applicationFolder(std::move(applicationFolder)),
      m_codes(std::move(codes))
{
}

namespace {

QString who(const QString &department, const QString &examNumber, const QString &name)
{
    return QStringLiteral("%1 %2 %3").arg(department, examNumber, name);
}

// The leave's name for the spelling of the file's record when it is this
// person's ("A01" for "a01"): the retake sets aside every session of the
// person, and the client asks for its leave under the spelling typed.
std::optional<QString> leaveNameOf(const ResultFileFolder &folder,
                                   const ResultFileFolder::Entry &entry, const QString &person)
{
    const ResultFileFolder::Reading bytes = folder.read(entry);
    if (!bytes.bytes)
        return std::nullopt;
    const ResultRecordReading reading =
            readResultRecord(transcodeBytes(*bytes.bytes, kExchangeKey));
    if (!reading.ok()
        || identity::personKey(reading.record->department, reading.record->examNumber,
                               reading.record->name)
                != person)
        return std::nullopt;
    return resultname::retakeFor(reading.record->department, reading.record->examNumber,
                                 reading.record->name);
}

}  // namespace

std::pair<QByteArray, QString> Retake::leave(const QString &department, const QString &examNumber,
                                             const QString &name, const QString &sessionId) const
{
    if (m_codes.isEmpty())
        return { retakeleave::write(sessionId), {} };
    const QString code = m_codes.codeOf(department, examNumber, name);
    if (code.isEmpty())
        return { {}, tr("%1没有登录码，无法允许重考。").arg(who(department, examNumber, name)) };
    // The key the client draws from the code for the identity it was given.
    const QByteArray key = recordsignature::keyFor(
            code, m_codes.publicationId(), identity::personKey(department, examNumber, name));
    return { retakeleave::write(sessionId, key), {} };
}

QStringList Retake::removeUngranted(const QString &exchangeFolder, const SessionLedger &ledger)
{
    QSet<QString> granted;
    for (const SessionEntry &entry : ledger.entries()) {
        if (entry.setAside)
            granted.insert(entry.sessionId);
    }
    const QDir folder(exchangeFolder);
    QStringList removed;
    const QStringList leaves = folder.entryList({ QLatin1String("*") + retakeleave::fileSuffix() },
                                                QDir::Files | QDir::Hidden);
    for (const QString &name : leaves) {
        const auto bytes = wholefile::read(folder.filePath(name), retakeleave::kMaxBytes).bytes;
        const auto session =
                bytes ? retakeleave::sessionOf(transcodeBytes(*bytes, kExchangeKey)) : std::nullopt;
        if ((!session || !granted.contains(*session)) && QFile::remove(folder.filePath(name)))
            removed << name;
    }
    return removed;
}

Retake::Offer Retake::offer(const QString &department, const QString &examNumber,
                            const QString &name)
{
    SessionTable table(m_store.database());
    // The examinee's sessions of this exam, not of one published before.
    const auto entries = table.load(PublicationCheck(m_applicationFolder).sessionPublications());
    if (!entries)
        return { std::nullopt, table.problem() };
    const SessionLedger ledger(*entries);
    if (!ledger.standingResult(identity::personKey(department, examNumber, name)))
        return { std::nullopt,
                 tr("%1还没有交卷，不需要重考。").arg(who(department, examNumber, name)) };
    return { tr("允许%1重考吗？\n交卷时的成绩将被搁置（导出时写在“存疑”一栏），"
                "该考生可以再登录考试一次。")
                     .arg(who(department, examNumber, name)),
             {} };
}

QString Retake::allow(const QString &department, const QString &examNumber, const QString &name)
{
    const QString problem = grant(department, examNumber, name);
    if (problem.isEmpty())
        qCInfo(lcCollect).noquote() << "retake allowed:" << who(department, examNumber, name);
    else
        qCWarning(lcCollect).noquote()
                << "retake of" << who(department, examNumber, name) << "failed:" << problem;
    return problem;
}

QString Retake::grant(const QString &department, const QString &examNumber, const QString &name)
{
    const QString person = identity::personKey(department, examNumber, name);
    SessionTable table(m_store.database());
    // The examinee's sessions of this exam, not of one published before.
    const auto entries = table.load(PublicationCheck(m_applicationFolder).sessionPublications());
    if (!entries)
        return table.problem();
    SessionLedger ledger(*entries);
    const SessionEntry *standing = ledger.standingResult(person);
    if (!standing)
        return tr("%1还没有交卷，不需要重考。").arg(who(department, examNumber, name));
    const QString sessionId = standing->sessionId;

    QString listProblem;
    ResultFileFolder folder(m_exchangeFolder);
    QStringList files;
    QSet<QString> leaveNames { resultname::retakeFor(department, examNumber, name) };
    for (const ResultFileFolder::Entry &entry : folder.list(listProblem)) {
        const std::optional<QString> leaveName = leaveNameOf(folder, entry, person);
        if (leaveName)
            leaveNames.insert(*leaveName);
        if (leaveName || resultname::matchesIdentity(entry.name, department, examNumber, name))
            files << entry.name;
    }

    // The leaves first: without one the client refuses, so nothing is lost.
    // Every spelling is one person, with one key and so one leave.
    const auto [leaveBytes, leaveProblem] = leave(department, examNumber, name, sessionId);
    if (!leaveProblem.isEmpty())
        return leaveProblem;
    for (const QString &leaveName : std::as_const(leaveNames)) {
        if (QString problem = wholefile::write(QDir(m_exchangeFolder).filePath(leaveName),
                                               transcodeBytes(leaveBytes, kExchangeKey));
            !problem.isEmpty())
            return problem;
    }

    // The finished session's files would show as a second row; they are
    // kept in the application folder instead.
    const QString kept = QDir(m_applicationFolder).filePath(keptFolderName());
    QDir().mkpath(kept);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-"));
    QStringList unmoved;
    for (const QString &file : std::as_const(files)) {
        if (!QFile::rename(QDir(m_exchangeFolder).filePath(file),
                           QDir(kept).filePath(stamp + file)))
            unmoved << file;
    }
    ledger.setAside(person);
    if (!table.save(ledger.entries()))
        return table.problem();
    if (!unmoved.isEmpty())
        return tr("已允许重考，但这些成绩文件无法移出交换文件夹：%1").arg(unmoved.join(tr("、")));
    return {};
}
