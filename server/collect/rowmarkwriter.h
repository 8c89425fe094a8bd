// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the rows' marks in the results database on a thread of its own, so
// that a collection which marks a whole flooded folder never holds the
// console's window while thousands of rows are written. Marks handed over
// are written in their order, each set whole, through a connection of the
// writer's own.
#include "collect/rowmarks.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVector>

class RowMarkWriter : public QObject
{
    Q_OBJECT

public:
    explicit RowMarkWriter(const QString &databasePath, QObject *parent = nullptr);
    // Every set handed over is written before the writer goes.
    ~RowMarkWriter() override;

    // Replaces the kept marks with `rows` on the writer's thread.
    void keep(QVector<MarkedRow> rows);
    // Returns once every set handed over so far is written.
    void waitForKept();

signals:
    // On this object's thread: a set of marks could not be written.
    void failed(const QString &problem);

private:
    QString m_path;
    // One thread: the sets are written in their order.
    QThreadPool m_worker;
};
