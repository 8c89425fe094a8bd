// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The school's archive as 历次考试 reads and changes it, on a thread of its
// own: a server that is away, stopped or waiting for a lock takes seconds
// to give up on, longer than a window may stand still. The connection is
// opened on that thread at the first use and again after it was lost; a
// statement the server leaves unanswered is cut after stallMillis. A read
// that finds its connection ended by the server (a restart) is asked once
// more on a new one, and fails only when that fails; a change is not asked
// twice. The answers come back on the thread that owns this object, in the
// order asked.
#include "archive/connectionwatch.h"
#include "archive/examarchive.h"
#include "control/workerthread.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace console {

namespace readanswer {
// What a read or a change answers when the archive could not be opened.
template <typename T>
ArchiveRead<T> refused(const QString &problem, const ArchiveRead<T> *)
{
    return { std::nullopt, problem };
}
inline QString refused(const QString &problem, const QString *)
{
    return problem;
}
// Whether an answer is a read that failed, which may be asked again; a
// change is not, nor a read stopped on purpose (neither value nor problem).
template <typename T>
bool failedRead(const ArchiveRead<T> &read)
{
    return !read.value && !read.problem.isEmpty();
}
inline bool failedRead(const QString &)
{
    return false;
}
}  // namespace readanswer

class SchoolReader : public QObject
{
    Q_OBJECT

public:
    // Past the server's own statement timeout: a server that answers at all says why.
    static constexpr int kStallMillis = ArchivePlace::kStatementMillis + 5000;

    explicit SchoolReader(QObject *parent = nullptr);
    // Cuts the statement under way, begins no more, and closes the
    // connection on its thread.
    ~SchoolReader() override;

    // The school archive's URI, read from now on.
    void setPlace(const QString &place);
    void setStallMillis(int millis) { m_stallMillis = millis; }
    // Whether an answer is still to come.
    bool busy() const { return m_pending > 0; }

    // Runs `work` on the school's archive, opened first when it is not;
    // when it cannot be opened, `done` gets why instead. `done` runs on
    // this object's thread, and not at all when `context` has gone.
    template <typename Result>
    void run(std::function<Result(ExamArchive &)> work, QObject *context,
             std::function<void(const Result &)> done)
    {
        ++m_pending;
        m_watchClock.start();
        m_worker.run([this, work = std::move(work), context = QPointer<QObject>(context),
                      done = std::move(done)] {
            if (m_stopping)
                return;
            Result result = openAndRun(work);
            if (readanswer::failedRead(result) && m_lostAnswering && !m_stopping)
                result = openAndRun(work);
            QMetaObject::invokeMethod(
                    this,
                    [this, context, done, result] {
                        handedBack();
                        if (context)
                            done(result);
                    },
                    Qt::QueuedConnection);
        });
    }

private:
    // On the worker: the archive, opened when it is not; none when it cannot be (m_problem says
    // why).
    ExamArchive *open();
    template <typename Result>
    Result openAndRun(const std::function<Result(ExamArchive &)> &work)
    {
        m_lostAnswering = false;
        ExamArchive *school = open();
        if (!school)
            return readanswer::refused(m_problem, static_cast<Result *>(nullptr));
        m_watch.begin(*school);
        Result result = work(*school);
        m_watch.end();
        closeIfLost();
        return result;
    }
    void closeIfLost();
    void handedBack();
    void watch();

    ConnectionWatch m_watch;
    QTimer m_watchClock;
    int m_stallMillis = kStallMillis;
    int m_pending = 0;
    std::atomic<bool> m_stopping { false };
    // The worker's own: the place, the archive and why it could not be opened.
    QString m_place;
    std::unique_ptr<ExamArchive> m_school;
    QString m_problem;
    // The last work's connection was lost while the server still answered:
    // not cut here for stalling.
    bool m_lostAnswering = false;
    WorkerThread m_worker { QStringLiteral("school-reader") };  // last: goes first
};

}  // namespace console
