// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class as the console watches it: the rows each collection brings,
// judged against the exam, and the class list, read on a thread of its
// own and kept in the application folder until another is loaded. The
// rows' marks (states, doubts) are kept beside the results, so a restarted
// console shows the rows as they were. Readers read the live class; the
// controller says when it changed.
#include "class/keptroster.h"
#include "class/liveclass.h"
#include "class/rosterloader.h"
#include "collect/resultcollector.h"
#include "collect/rowmarks.h"

#include <QObject>
#include <QSqlDatabase>

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
    // leaves the rows as they were. The problem keeping the marks, if any.
    QString show(const CollectionReport &report, const ExamFacts &facts);
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

private:
    void changed();
    void takeRoster(const ClassRoster::Reading &reading);

    LiveClass m_live;
    RosterLoader m_rosters;
    KeptRoster m_kept;
    QString m_rosterPath;  // of the list being read
    QSqlDatabase m_results;
    QVector<MarkedRow> m_keptMarks;  // as tabMarks holds them
};

}  // namespace console
