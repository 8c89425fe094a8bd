// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/controllog.h"

#include "exchange/identity.h"

#include <QHash>
#include <QSet>

// Debug messages stay off unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcControl, "kestrix.control", QtInfoMsg)

namespace console {

void logCommand(const QString &command, const QString &problem)
{
    if (problem.isEmpty())
        qCInfo(lcControl).noquote() << command << "done";
    else
        qCWarning(lcControl).noquote() << command << "failed:" << problem;
}

QString CollectionLog::summary(const CollectionReport &report)
{
    if (!report.ok())
        return QStringLiteral("failed: ") + report.problem;
    QString text = QStringLiteral("%1 rows in the table from %2 records, %3 kept from before, "
                                  "%4 files skipped")
                           .arg(report.rowCount)
                           .arg(report.results.size())
                           .arg(report.kept.size())
                           .arg(report.skipped.size());
    for (const SkippedFile &skipped : report.skipped)
        text += QStringLiteral("; %1: %2").arg(skipped.name, skipped.reason);
    for (const QString &note : report.notes)
        text += QStringLiteral("; ") + note;
    return text;
}

void CollectionLog::note(const CollectionReport &report, bool byHand)
{
    const QString text = summary(report);
    const bool changed = text != m_last;
    m_last = text;
    const char *asker = byHand ? "collection by hand:" : "collection by the clock:";
    if (!report.ok())
        qCWarning(lcControl).noquote() << asker << text;
    else if (byHand || changed)
        qCInfo(lcControl).noquote() << asker << text;
    else
        qCDebug(lcControl).noquote() << asker << text;
}

void logNewDoubts(const std::optional<QVector<MarkedRow>> &before, const QVector<MarkedRow> &now)
{
    QHash<QString, QSet<QString>> known;
    if (before) {
        for (const MarkedRow &marked : *before)
            known[identity::personKey(marked.row.department, marked.row.examNumber,
                                      marked.row.name)]
                    .unite(QSet<QString>(marked.marks.doubts.begin(), marked.marks.doubts.end()));
    }
    int raised = 0;
    for (const MarkedRow &marked : now) {
        const QSet<QString> &had = known[identity::personKey(
                marked.row.department, marked.row.examNumber, marked.row.name)];
        for (const QString &doubt : marked.marks.doubts) {
            if (had.contains(doubt) || ++raised > kListedDoubts)
                continue;
            qCInfo(lcControl).noquote()
                    << "doubt raised:" << marked.row.department << marked.row.examNumber
                    << marked.row.name << u'-' << doubt;
        }
    }
    if (raised > kListedDoubts)
        qCInfo(lcControl).noquote()
                << "and" << raised - kListedDoubts << "more doubts raised, not listed";
}

}  // namespace console
