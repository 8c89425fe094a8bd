// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/timelinechecks.h"

#include "exchange/keytimeline.h"

QVector<TimelineFindings> TimelineChecks::check(const QVector<CollectedResult> &results,
                                                const ExamFacts &facts)
{
    // Findings under other thresholds do not stand.
    const QByteArray thresholds = facts.judging.texts().join(u' ').toUtf8();
    QHash<QByteArray, TimelineFindings> now;
    QVector<TimelineFindings> findings;
    findings.reserve(results.size());
    for (const CollectedResult &result : results) {
        const ResultRecord &record = result.record;
        const RecordSection *section = findSection(record.sections, keytimeline::kSectionName);
        if (!section) {
            findings << TimelineFindings {};
            continue;
        }
        const QByteArray key = thresholds + facts.publishedDigest + ' '
                + QByteArray::number(qHash(section->bytes)) + ' '
                + QByteArray::number(section->bytes.size()) + ' '
                + QByteArray::number(record.answerSheet ? qHash(record.answerSheet->typedText) : 0)
                + ' ' + QByteArray::number(record.timePass);
        const auto known = m_last.constFind(key);
        const TimelineFindings found = known != m_last.cend()
                ? *known
                : examineTimeline(record, facts.publishedText, facts.judging.typing);
        now.insert(key, found);
        findings << found;
    }
    m_last = std::move(now);
    return findings;
}
