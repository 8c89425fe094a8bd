// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A retake: the examiner lets an examinee who has finished sit the exam
// once more. The finished result is set aside in the session ledger (the
// export names it among the row's doubts), its files leave the exchange
// folder for the console's application folder, and a leave file lets the
// examinee's client in once. In an exam with login codes the leave is
// signed with the examinee's key, so no classmate can write one.
#include "collect/resultstore.h"
#include "collect/sessionledger.h"
#include "publish/logincodes.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class Retake
{
    Q_DECLARE_TR_FUNCTIONS(Retake)
public:
    // Where the result files set aside go, in the application folder.
    static QString keptFolderName() { return QStringLiteral("重考留存"); }

    struct Offer
    {
        std::optional<QString> question;  // naming the examinee
        QString problem;  // why there is nothing to retake
    };

    // `codes`: the published exam's login codes; none without codes.
    Retake(ResultStore &store, QString exchangeFolder, QString applicationFolder,
           LoginCodes codes = {});

    // Leaves in the exchange folder that name no session a retake set aside
    // in this ledger: the console did not write them. They are removed;
    // the names of those removed.
    static QStringList removeUngranted(const QString &exchangeFolder, const SessionLedger &ledger);

    Offer offer(const QString &department, const QString &examNumber, const QString &name);
    // The problem, or empty once the examinee may log in again.
    QString allow(const QString &department, const QString &examNumber, const QString &name);

private:
    QString grant(const QString &department, const QString &examNumber, const QString &name);
    // The leave's plain bytes, signed with the examinee's key when the exam
    // has codes; the problem when it cannot be.
    std::pair<QByteArray, QString> leave(const QString &department, const QString &examNumber,
                                         const QString &name, const QString &sessionId) const;

    ResultStore &m_store;
    QString m_exchangeFolder;
    QString m_applicationFolder;
    LoginCodes m_codes;
};
