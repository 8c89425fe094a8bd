#pragma once
// Collection of results: every result file of the exchange folder becomes
// one row of the results table, in one transaction.
#include "resultstore.h"

#include <QString>
#include <QVector>

struct SkippedFile
{
    QString name;
    QString reason;
};

struct CollectionReport
{
    int rowCount = 0;
    QVector<SkippedFile> skipped;
    QString problem;  // a failure of the whole collection; the table is unchanged

    bool ok() const { return problem.isEmpty(); }
};

class ResultCollector
{
public:
    static QString scratchFileName() { return QStringLiteral("cj.zip"); }

    ResultCollector(QString exchangeFolder, QString applicationFolder, ResultStore &store);

    // Rebuilds the table from the result files (*.zip, hidden and system
    // files left out) in name order, recno counting from 1. Each file is
    // unscrambled into cj.zip in the application folder and read from there.
    // Without the exchange folder the table is left as it was.
    CollectionReport collect();

private:
    QString m_exchangeFolder;
    QString m_applicationFolder;
    ResultStore &m_store;
};

// The examiner's summary of the files a collection left out; empty when none.
QString skippedFilesMessage(const QVector<SkippedFile> &skipped);
