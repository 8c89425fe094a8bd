// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/liveclass.h"

#include "exchange/answercomparison.h"
#include "class/recordtexts.h"
#include "class/spellingmarks.h"
#include "exchange/identity.h"

#include <QSet>

#include <algorithm>

ExamineeState stateOf(const ResultRecord &record)
{
    if (!record.progress)
        return record.timePass == 0 ? ExamineeState::Waiting : ExamineeState::Finished;
    switch (record.progress->phase) {
    case ResultProgress::Phase::Waiting:
        return ExamineeState::Waiting;
    case ResultProgress::Phase::Typing:
        return ExamineeState::Typing;
    case ResultProgress::Phase::Finished:
        return ExamineeState::Finished;
    }
    return ExamineeState::Waiting;
}

namespace {

void rankBySpeed(QVector<ClassViewRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ClassViewRow &a, const ClassViewRow &b) {
        return a.speed > b.speed;
    });
}

// A row of the results table alone: the state from its time, no progress.
ClassViewRow storedRow(const ResultRow &stored)
{
    ClassViewRow row;
    static_cast<ResultCore &>(row) = stored;
    row.hasRecord = true;
    row.state = stored.timePass == 0 ? ExamineeState::Waiting : ExamineeState::Finished;
    return row;
}

bool sameFigures(const ResultCore &a, const ResultCore &b)
{
    ResultCore renumbered = b;
    renumbered.recNo = a.recNo;
    return a == renumbered;
}

QString personOf(const ResultCore &row)
{
    return identity::personKey(row.department, row.examNumber, row.name);
}

}  // namespace

void LiveClass::update(const QVector<CollectedResult> &results, const ExamFacts &facts,
                       const QVector<KeptRow> &kept, const QVector<SessionEntry> &sessions,
                       const QDateTime &now)
{
    const SessionLedger ledger(sessions);
    const QVector<QStringList> doubts = m_check.check(results, facts, ledger);
    // The collection examines every record's texts on its own thread; one
    // handed over without its findings is examined here the same way.
    std::optional<TextExaminer> examiner;
    m_results = results;
    // Rows that were nobody's: kept without their file, they stay so.
    QVector<ClassViewRow> notCounted;
    for (const ClassViewRow &before : std::exchange(m_recorded, {})) {
        if (!before.counted)
            notCounted << before;
    }
    m_recorded.reserve(results.size());
    for (int i = 0; i < results.size(); ++i) {
        const ResultRecord &record = results.at(i).record;
        ClassViewRow row;
        // As the table stores it, so both rank alike.
        static_cast<ResultCore &>(row) = results.at(i).row(i + 1);
        row.hasRecord = true;
        const bool signedByExaminee = results.at(i).signature == RecordKeys::Verdict::Signed;
        // What its examinee did not sign never counts as their finish.
        row.state = signedByExaminee ? stateOf(record) : ExamineeState::Waiting;
        row.counted = signedByExaminee;
        const qint32 typed = record.progress && row.state != ExamineeState::Finished
                ? record.progress->typedSoFar
                : record.typedLen;
        if (record.targetLen > 0) {
            // The published text tells whether it ends in a line break that
            // need not be typed; without it the record's length is all there is.
            const qint32 complete = record.targetLen == facts.publishedText.size()
                    ? completeLength(facts.publishedText)
                    : record.targetLen;
            row.progress = complete > 0 ? std::clamp(double(typed) / complete, 0.0, 1.0) : 1.0;
        }
        row.doubts = doubts.at(i);
        const QString person =
                identity::personKey(record.department, record.examNumber, record.name);
        for (const SessionEntry *entry :
             signedByExaminee ? ledger.setAsideOf(person) : QVector<const SessionEntry *>())
            row.setAside << setAsideDoubt(*entry);
        if (const SessionEntry *session = record.progress && signedByExaminee
                    ? ledger.find(person, record.progress->sessionId)
                    : nullptr) {
            row.loginOrdinal = ledger.loginOrdinal(person, session->sessionId);
            if (SessionLedger::interrupted(*session, facts.examSeconds, now))
                row.state = ExamineeState::Interrupted;
            if (session->resumeCount > 0 && session->resumedAt.isValid())
                row.stateNote = tr("续考于%1")
                                        .arg(session->resumedAt.toLocalTime().toString(
                                                QStringLiteral("HH:mm:ss")));
        }
        if (!results.at(i).findings && !examiner)
            examiner = textExaminer(facts);
        const TextFindings texts =
                results.at(i).findings ? *results.at(i).findings : examiner->examine(record);
        row.doubts << texts.doubts;
        // The session and the record may both miss the timeline.
        row.doubts.removeDuplicates();
        row.wrongCount = texts.wrongCount;
        row.lastMinuteSpeed = texts.lastMinuteSpeed;
        m_recorded << row;
    }
    for (const KeptRow &keptRow : kept) {
        ClassViewRow row = storedRow(keptRow.row);
        for (const ClassViewRow &before : notCounted) {
            if (sameFigures(row, before)) {
                row.state = before.state;
                row.counted = false;
            }
        }
        // A retake moved the files away on purpose.
        const auto aside = ledger.setAsideOf(personOf(row));
        for (const SessionEntry *entry : aside)
            row.doubts << setAsideDoubt(*entry);
        if (keptRow.fileGone && aside.isEmpty())
            row.doubts << tr("成绩文件已被删除");
        m_recorded << row;
    }
    rankBySpeed(m_recorded);
    markAgainstRoster();
}

void LiveClass::showStored(const QVector<ResultRow> &rows, const QVector<MarkedRow> &marked)
{
    m_results.clear();
    m_recorded.clear();
    QHash<qint32, const MarkedRow *> byRecNo;
    for (const MarkedRow &kept : marked)
        byRecNo.insert(kept.row.recNo, &kept);
    for (const ResultRow &stored : rows) {
        ClassViewRow row = storedRow(stored);
        // Marks of other figures (the table rewritten since) do not apply.
        if (const MarkedRow *kept = byRecNo.value(stored.recNo); kept && kept->row == stored)
            static_cast<RowMarks &>(row) = kept->marks;
        m_recorded << row;
    }
    markAgainstRoster();
}

QVector<MarkedRow> LiveClass::markedRows() const
{
    QVector<MarkedRow> marked;
    marked.reserve(m_recorded.size());
    for (const ClassViewRow &row : m_recorded)
        marked.append({ row, row });
    return marked;
}

void LiveClass::clear()
{
    m_check.forget();
    m_results.clear();
    m_recorded.clear();
    markAgainstRoster();
}

void LiveClass::setRoster(std::optional<ClassRoster> roster)
{
    m_roster = std::move(roster);
    markAgainstRoster();
}

void LiveClass::showAsListed(ClassViewRow &row, const RosterEntry &entry) const
{
    // One examinee is one spelling wherever the row goes: "初二（3）班" typed
    // is the list's "初二(3)班" in the grid, the statistics and the archive.
    if (identity::matchKey(entry.department) == identity::matchKey(row.department))
        row.department = entry.department;
    row.examNumber = entry.examNumber;
    row.name = entry.name;
}

void LiveClass::markAgainstRoster()
{
    m_rows = m_recorded;
    // A row of someone else's spelling keeps it: it is not the listed examinee.
    const QSet<int> otherSpelling = spellingmarks::mark(m_rows, m_roster ? &*m_roster : nullptr);
    if (!m_roster)
        return;
    QSet<const RosterEntry *> present;
    for (int i = 0; i < m_rows.size(); ++i) {
        ClassViewRow &row = m_rows[i];
        const QString number = row.examNumber.trimmed();
        const RosterEntry *entry = m_roster->find(row.department, number);
        if (!entry)
            row.doubts << tr("考号%1不在名单中").arg(number);
        else if (identity::matchKey(entry->name) != identity::matchKey(row.name))
            row.doubts << tr("考号%1在名单中是%2").arg(number, entry->name);
        else if (!otherSpelling.contains(i)) {
            showAsListed(row, *entry);
            if (row.counted)
                present.insert(entry);
        }
    }
    for (const RosterEntry &entry : m_roster->entries()) {
        if (present.contains(&entry))
            continue;
        ClassViewRow row;
        row.department = entry.department;
        row.examNumber = entry.examNumber;
        row.name = entry.name;
        m_rows << row;
    }
}

ClassCounts LiveClass::counts() const
{
    QSet<QString> loggedIn, typing, finished;
    std::optional<QSet<QString>> listed;
    if (m_roster) {
        listed.emplace();
        for (const RosterEntry &entry : m_roster->entries())
            listed->insert(identity::personKey(entry.department, entry.examNumber, entry.name));
    }
    AttendanceTally people(listed);
    for (const ClassViewRow &row : m_rows) {
        const QString person = personOf(row);
        if (!row.hasRecord) {
            people.add(person, Presence::Absent);
            continue;
        }
        if (!row.counted)
            continue;
        people.add(person, presenceOf(row.state));
        loggedIn.insert(person);
        if (row.state == ExamineeState::Typing)
            typing.insert(person);
        if (row.state == ExamineeState::Finished)
            finished.insert(person);
    }
    return { int(loggedIn.size()), int(typing.size()), int(finished.size()), people.counts() };
}

QHash<qint32, qint32> LiveClass::wrongCountsByRecNo() const
{
    QHash<qint32, qint32> counts;
    for (const ClassViewRow &row : m_rows) {
        if (row.hasRecord && row.wrongCount)
            counts.insert(row.recNo, *row.wrongCount);
    }
    return counts;
}

const CollectedResult *LiveClass::resultOf(qint32 recNo) const
{
    return recNo >= 1 && recNo <= m_results.size() ? &m_results.at(recNo - 1) : nullptr;
}

const ClassViewRow *LiveClass::rowOf(qint32 recNo) const
{
    for (const ClassViewRow &row : m_rows) {
        if (row.hasRecord && row.recNo == recNo)
            return &row;
    }
    return nullptr;
}
