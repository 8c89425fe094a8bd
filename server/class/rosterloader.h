// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a class list on a thread of its own: a large workbook takes a while
// to inflate and read, and the console's window must keep answering
// meanwhile. One list at a time; the reading is handed back on the thread
// that owns the loader.
#include "class/classroster.h"

#include <QObject>
#include <QThread>

#include <memory>

class RosterLoader : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    // A reading still under way is waited for, not handed back.
    ~RosterLoader() override;

    // Starts reading `path`; false, and nothing started, while a list is
    // still being read.
    bool start(const QString &path);
    bool busy() const { return m_thread != nullptr; }
    // Waits for the reading under way, if any, and hands it back before
    // returning.
    void wait();

signals:
    void loaded(const ClassRoster::Reading &reading);

private:
    void handBack();

    std::unique_ptr<QThread> m_thread;
    ClassRoster::Reading m_reading;  // written by the thread, read once it ended
    quint64 m_started = 0;
};
