// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/rowmarkwriter.h"

#include "collect/resultstore.h"

#include <QMetaObject>

#include <utility>

RowMarkWriter::RowMarkWriter(const QString &databasePath, QObject *parent)
    : QObject(parent), m_path(databasePath)
{
    m_worker.setMaxThreadCount(1);
}

RowMarkWriter::~RowMarkWriter()
{
    m_worker.waitForDone();
}

void RowMarkWriter::keep(QVector<MarkedRow> rows)
{
    m_worker.start([this, rows = std::move(rows)] {
        // A connection of this thread's own, with the store's settings.
        const ResultStore store(m_path);
        QString problem = store.lastError();
        if (store.isOpen()) {
            RowMarkTable table(store.database());
            if (!table.replaceAll(rows))
                problem = table.problem();
        }
        if (!problem.isEmpty())
            QMetaObject::invokeMethod(this, [this, problem] { emit failed(problem); });
    });
}

void RowMarkWriter::waitForKept()
{
    m_worker.waitForDone();
}
