// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A retake: the examiner lets an examinee who has finished sit the exam
// once more. The finished result is set aside in the session ledger (the
// export names it among the row's doubts), its files leave the exchange
// folder for the console's application folder, and a leave file lets the
// examinee's client in once.
#include "collect/resultstore.h"

#include <QString>

#include <optional>

class Retake
{
public:
    // Where the result files set aside go, in the application folder.
    static QString keptFolderName() { return QStringLiteral("重考留存"); }

    struct Offer
    {
        std::optional<QString> question;  // naming the examinee
        QString problem;  // why there is nothing to retake
    };

    Retake(ResultStore &store, QString exchangeFolder, QString applicationFolder);

    Offer offer(const QString &department, const QString &examNumber, const QString &name);
    // The problem, or empty once the examinee may log in again.
    QString allow(const QString &department, const QString &examNumber, const QString &name);

private:
    ResultStore &m_store;
    QString m_exchangeFolder;
    QString m_applicationFolder;
};
