// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files an exam lies in the exchange folder as while login is open
// (te.txt, pb.txt, se.dll), byte for byte as the console writes them from
// its record of the exam. Anyone can write into that folder: what differs
// from these bytes is not the exam the console judges, and is written back.
#include "publish/examaspublished.h"

#include <QCoreApplication>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class PublishedFiles
{
    Q_DECLARE_TR_FUNCTIONS(PublishedFiles)
public:
    struct File
    {
        QString name;
        QByteArray bytes;
    };

    // In the order they are published, se.dll last: its #TRUE# is what lets
    // clients in. te.txt only when the exam's bytes were kept.
    static std::vector<File> of(const ExamAsPublished &exam);

    PublishedFiles(QString exchangeFolder, std::vector<File> files);

    // Writes one file and reads it back: a disk that takes the bytes and
    // keeps fewer must not pass for a published exam. A folder at its name
    // is removed when empty. The problem or empty.
    static QString publish(const QString &path, const QByteArray &bytes);

    struct Restoring
    {
        QStringList restored;  // the names written back
        QString problem;  // the first file that could not be; empty when none
        // The publication id a pb.txt written by someone else named when it
        // was written back; empty when none did.
        QString forgedPublication;
    };
    // Writes back every file that is missing or changed, in publishing order.
    Restoring restore() const;

private:
    QString pathOf(const File &file) const;
    bool holds(const File &file) const;
    // The id the pb.txt in the folder names when it is not `file`'s; empty otherwise.
    QString forgedPublication(const File &file) const;

    QString m_exchangeFolder;
    std::vector<File> m_files;
};
