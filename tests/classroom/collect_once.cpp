// Runs one collection, as the console's Collect button does, and exits:
//   collect_once EXCHANGE_FOLDER APPLICATION_FOLDER DATABASE
// Prints "started" once the database is open and the collection begins, then
// "rows N" when it is done. Exit code 0 on success, 1 on a failed collection,
// 2 on wrong arguments or an unopenable database.
#include "resultcollector.h"
#include "resultstore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: collect_once EXCHANGE_FOLDER APPLICATION_FOLDER DATABASE\n", stderr);
        return 2;
    }
    ResultStore store(arguments.at(3));
    if (!store.isOpen()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(store.lastError()));
        return 2;
    }
    std::puts("started");
    std::fflush(stdout);
    const CollectionReport report = ResultCollector(arguments.at(1), arguments.at(2), store).collect();
    if (!report.ok()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(report.problem));
        return 1;
    }
    std::printf("rows %d\n", report.rowCount);
    return 0;
}
