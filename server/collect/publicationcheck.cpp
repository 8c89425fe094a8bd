// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/publicationcheck.h"

#include "exchange/publication.h"

#include <QCoreApplication>

PublicationCheck::PublicationCheck(const QString &applicationFolder)
    : m_publications(ExamPublications::ofPublishedExam(applicationFolder))
{
}

QDateTime PublicationCheck::firstPublishedAt() const
{
    QDateTime first;
    for (const ExamPublications::Seen &own : m_publications.own()) {
        if (!first.isValid() || own.at < first)
            first = own.at;
    }
    return first;
}

bool PublicationCheck::admits(const ResultRecord &record)
{
    const QString named = publicationOf(record.sections);
    if (m_publications.own().isEmpty() || named.isEmpty() || m_publications.isOwn(named)
        || m_publications.forgedOf(named))
        return true;
    ++m_leftOut;
    return false;
}

void PublicationCheck::markForged(QVector<CollectedResult> &results) const
{
    for (CollectedResult &result : results) {
        if (const ExamPublications::Seen *forged =
                    m_publications.forgedOf(publicationOf(result.record.sections)))
            result.doubts << forgedPublicationDoubt(*forged);
    }
}

QString PublicationCheck::leftOutNote() const
{
    if (!m_leftOut)
        return {};
    return tr("交换文件夹中有%1份以前发布的考试的成绩，不属于这次考试，"
              "没有计入。清空上次会删除它们。")
            .arg(m_leftOut);
}

QString forgedPublicationDoubt(const ExamPublications::Seen &forged)
{
    return QCoreApplication::translate("PublicationCheck",
                                       "考生登录时，交换文件夹中的%1是被人改写过的（已于%2改回），"
                                       "这份成绩不一定是这场考试的，请核实")
            .arg(Publication::fileName(),
                 forged.at.toLocalTime().toString(QStringLiteral("HH:mm:ss")));
}
