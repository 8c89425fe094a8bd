// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive of every exam the console ran: one SQLite file beside cj.mdb,
// written through Qt SQL. An archive that is damaged, locked, of a newer
// schema or no archive at all is refused and left exactly as it was; the
// console then runs without archiving.
#include "archive/archivedexam.h"
#include "collect/resultstore.h"

#include <QSqlDatabase>

class ExamArchive
{
public:
    static QString defaultFileName() { return QStringLiteral("cjda.db"); }
    static constexpr int kBusyMillis = ResultStore::kBusyMillis;

    // Opens the archive, creating it when absent and bringing an older one
    // up to the current schema.
    explicit ExamArchive(const QString &path);
    ~ExamArchive();
    ExamArchive(const ExamArchive &) = delete;
    ExamArchive &operator=(const ExamArchive &) = delete;

    const QString &path() const { return m_path; }
    bool isOpen() const { return m_open; }
    // Why the archive was refused, naming the file; empty when it is open.
    const QString &startProblem() const { return m_startProblem; }

    // The exam under way, until it is kept: login opened with this article
    // and time (the first opening is the exam's start), login closed. The
    // problem or empty.
    QString noteLoginOpened(const ExamSitting &published);
    QString noteLoginClosed(const QDateTime &when);
    // What was noted of the exam under way.
    ExamSitting sittingUnderWay();

    // The key of an exam: the published text's digest and the table's rows.
    static QString keyOf(const QByteArray &publishedDigest, const QVector<ResultRow> &rows);

    struct Kept
    {
        QString problem;  // empty when the exam is in the archive
        qint64 id = 0;
        bool alreadyKept = false;  // an exam with this key was there before
    };
    // Keeps the exam in one transaction, which also ends the exam under way;
    // an exam whose key is kept already is left as it is.
    Kept keep(const ExamSitting &sitting, const QVector<ArchivedRow> &rows);

    // The kept exams, newest first.
    ArchiveRead<QVector<ExamSummary>> exams();
    ArchiveRead<ArchivedExam> exam(qint64 id);
    // Every kept exam of the examinee with this exam number and name, oldest first.
    ArchiveRead<QVector<HistoryPoint>> history(const QString &examNumber, const QString &name);
    // Grades a kept exam with another scale from now on; the problem or empty.
    QString regrade(qint64 id, const GradingScale &scale);
    // Deletes an exam and its rows in one transaction; the problem or empty.
    QString remove(qint64 id);
    // A consistent copy of the whole archive at `target`, written beside it
    // and renamed into place; an existing file there is replaced only then.
    QString backUpTo(const QString &target);

    void close();

private:
    QSqlDatabase database() const;
    QString refuse(const QString &reason, const QString &detail = {});
    QString sqliteFileProblem();
    QString migrate();
    std::optional<int> schemaVersion(QString &problem);
    QString failed(const QString &what, const QString &detail) const;
    QString writeSitting(const ExamSitting &sitting);
    QVector<ArchivedRow> readRows(qint64 id, QString &problem);

    QString m_connection;
    QString m_path;
    QString m_startProblem;
    bool m_open = false;
};
