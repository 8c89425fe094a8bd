// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which records in the folder are the exam's, by the publication they name
// (publish/exampublications.h): any of the exam's own publications is the
// exam's; a publication the console found forged in pb.txt is the exam's
// too, but every such record is doubted, naming the file; any other is an
// earlier exam's, left out with a note. A record or an exam without a
// publication cannot tell, and counts.
#include "collect/collectedrows.h"
#include "publish/exampublications.h"
#include "exchange/resultrecord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class PublicationCheck
{
    Q_DECLARE_TR_FUNCTIONS(PublicationCheck)
public:
    // Of the exam the console published last, as kept in its folder.
    explicit PublicationCheck(const QString &applicationFolder);

    // The publications whose sessions are the exam's (SessionTable::load);
    // empty when the exam was published without one.
    QStringList sessionPublications() const { return m_publications.ids(); }
    // When the exam first went out; null when unknown.
    QDateTime firstPublishedAt() const;

    // Whether the record is the exam's; those that are not are counted for
    // leftOutNote().
    bool admits(const ResultRecord &record);
    // Results whose record names a forged publication get its doubt.
    void markForged(QVector<CollectedResult> &results) const;
    // The examiner's note on the records left out; empty when none was.
    QString leftOutNote() const;

private:
    ExamPublications m_publications;
    int m_leftOut = 0;
};

// The doubt of a record that names the publication of a forged pb.txt.
QString forgedPublicationDoubt(const ExamPublications::Seen &forged);
