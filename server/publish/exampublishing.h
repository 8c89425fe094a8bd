// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Publishing one exam, as steps in the order that keeps a kill harmless:
// an se.dll still lying there is withdrawn, the console's own record of the
// exam (fb.txt, with the publication) is kept and the login codes beside
// it (fbdlm.txt, when it has any), then te.txt and pb.txt go
// into the exchange folder and se.dll LAST, since its #TRUE# is what lets
// clients in. Stopped after any step, the folder holds either no exam at
// all or the whole new one, and fb.txt names the exam a client can get.
#include "publish/examaspublished.h"
#include "publish/logincodes.h"
#include "exchange/publication.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

class ExamPublishing
{
    Q_DECLARE_TR_FUNCTIONS(ExamPublishing)
public:
    // applicationFolder holds test.txt and fb.txt.
    // The codes are those of a publication that requires them.
    ExamPublishing(QString applicationFolder, QString exchangeFolder, qint16 examMinutes,
                   Publication publication, LoginCodes codes = {});

    // Each step returns its problem or empty; the steps run in this order.
    std::vector<std::function<QString()>> steps();
    // Runs every step until one fails; the problem or empty.
    QString run();

    // The exam as published; set once its record is kept.
    const std::optional<ExamAsPublished> &exam() const { return m_exam; }

private:
    QString withdrawSettings() const;
    QString keepRecord();
    QString keepCodes() const;
    QString publishText() const;
    QString publishPublication() const;
    QString publishSettings() const;
    QString publishFile(const QString &name) const;
    QString publishedPath(const QString &name) const;

    QString m_applicationFolder;
    QString m_exchangeFolder;
    qint16 m_examMinutes = 0;
    Publication m_publication;
    LoginCodes m_codes;
    std::optional<ExamAsPublished> m_exam;
};
