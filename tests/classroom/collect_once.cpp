// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// collect_once EXCHANGE_FOLDER APPLICATION_FOLDER DATABASE: one collection, as
// the console's Collect button runs it. Prints "started" once the database is
// open, then "rows N"; exits 1 when the collection fails, 2 when it cannot begin.
#include "collect/resultcollector.h"
#include "collect/resultstore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    ResultStore store(arguments.at(3));
    if (!store.isOpen())
        return 2;
    std::puts("started");
    std::fflush(stdout);
    ResultCollector collector(arguments.at(1), arguments.at(2), store);
    const CollectionReport report = collector.collect();
    std::printf("rows %d\n", report.rowCount);
    return report.ok() ? 0 : 1;
}
