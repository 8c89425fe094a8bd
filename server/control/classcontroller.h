// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class as the console watches it: the rows each collection brings,
// judged against the exam, and the class list, read on a thread of its
// own and kept in the application folder until another is loaded. The
// rows' marks (states, doubts) are kept beside the results, written on a
// thread of their own, so a restarted console shows the rows as they were.
// Readers read the live class; the controller says when it changed.
#include "class/keptroster.h"
#include "class/liveclass.h"
#include "class/rosterloader.h"
#include "collect/resultcollector.h"
#include "collect/rowmarks.h"
#include "collect/rowmarkwriter.h"

#include <QObject>
#include <QSqlDatabase>

#include <optional>

namespace console {

class ClassController : public QObject
{
    Q_OBJECT

public:
    // The class list is kept in `applicationFolder`, the rows' marks in
    // the results database `results`.
    ClassController(const QString &applicationFolder, QSqlDatabase results,
                    QObject *parent = nullptr);

    const LiveClass &live() const { return m_live; }

    // The stored rows as the console starts, before any collection, with
    // the marks they were last shown with.
    void showStored(const QVector<ResultRow> &rows);
    // A collection's results judged against `facts`; a failed collection
    // leaves the rows as they were. Marks that changed are kept on the
    // writer's thread; marksUnkept tells when they could not be.
    void show(const CollectionReport &report, const ExamFacts &facts);
    // Returns once the marks shown so far are kept.
    void waitForMarksKept() { m_marksWriter.waitForKept(); }
    // The kept marks go with the rows they belong to; the problem, if any.
    QString forgetMarks();
    // A new exam: the rows of the last one go.
    void clear();

    // The class list kept by an earlier run, as the console starts; the
    // problem when it cannot be read.
    QString restoreKeptRoster();
    // Where the examiner's last class list lies; empty when none was loaded.
    QString lastRosterFolder() const { return m_kept.lastFolder(); }
    // Starts reading the class list at `path` on a thread of its own;
    // rosterLoaded tells the outcome. The problem when it cannot start.
    QString loadRoster(const QString &path);
    bool rosterLoading() const { return m_rosters.busy(); }
    // Until the list being read has been taken in.
    void waitForRoster() { m_rosters.wait(); }
    // A list still being read is let go: nobody is left to be told.
    void abandonRoster();

signals:
    void rowsChanged();
    void countsChanged();
    // A class list was read: the problem, or what the examiner should know
    // about the list now in use (empty when nothing).
    void rosterLoaded(const QString &told);
    // The marks of a collection could not be kept: the problem.
    void marksUnkept(const QString &problem);

private:
    void changed();
    void takeRoster(const ClassRoster::Reading &reading);
    void onMarksUnkept(const QString &problem);

    LiveClass m_live;
    RosterLoader m_rosters;
    KeptRoster m_kept;
    QString m_rosterPath;  // of the list being read
    QSqlDatabase m_results;
    // As tabMarks holds them once the writer is done; empty when unknown,
    // after a failed write, so the next collection writes them again.
    std::optional<QVector<MarkedRow>> m_keptMarks;
    RowMarkWriter m_marksWriter;
};

}  // namespace console
