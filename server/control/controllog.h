// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the console's log says of the running exam: the examiner's commands,
// the collections and the doubts they raise.
#include "collect/resultcollector.h"
#include "collect/rowmarks.h"

#include <QLoggingCategory>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcControl)

namespace console {

// A command of the examiner's (允许登录, 禁止登录, 清空上次): done, or what
// stopped it.
void logCommand(const QString &command, const QString &problem);

// The collections as they are shown. One the clock asked for is logged
// only when its counts differ from the last one logged: every few seconds
// mostly nothing changes.
class CollectionLog
{
public:
    // The line for a collection: its counts, the files skipped and why,
    // or the problem that stopped it.
    static QString summary(const CollectionReport &report);
    void note(const CollectionReport &report, bool byHand);

private:
    QString m_last;
};

// Logs each doubt on a row that the row did not have in `before`: the first
// `kListedDoubts` in full, the rest as one count. A flood of forged files
// raises thousands at once, and this runs on the window's thread.
constexpr int kListedDoubts = 20;
void logNewDoubts(const std::optional<QVector<MarkedRow>> &before, const QVector<MarkedRow> &now);

}  // namespace console
