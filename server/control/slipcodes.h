// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login codes of an exam that requires them: those handed out while
// login is open, those the next 允许登录 will hand out, and the slips
// printed of either.
#include "control/classcontroller.h"
#include "control/examsettingscontroller.h"
#include "export/documentname.h"
#include "publish/logincodes.h"
#include "publish/logingate.h"
#include "publish/nextlogincodes.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

namespace console {

class SlipCodes
{
    Q_DECLARE_TR_FUNCTIONS(SlipCodes)
public:
    struct Parts
    {
        LoginGate &gate;
        NextLoginCodes &nextCodes;
        const ExamSettingsController &settings;
        const ClassController &live;
    };
    explicit SlipCodes(Parts parts) : m_parts(parts) { }

    // The login codes to hand out: the published exam's while login is open
    // on it; none when it requires none or once it is withdrawn.
    const LoginCodes &loginCodes() const;
    // Whether there are slips to print: login open on an exam with codes,
    // or login closed with codes required and a class list loaded.
    bool available() const;
    // The codes to print as slips: while login is open, the published
    // exam's; while it is closed, those the next 允许登录 hands out, kept
    // for it now. The problem when there are none or they cannot be kept.
    struct Slips
    {
        LoginCodes codes;
        documentname::ExamCaption exam;  // as far as it is known
        QString problem;
    };
    Slips forSlips();
    // The examinees who get a login code at the next 允许登录, with their
    // codes: the class list's, when codes are required; none for the
    // classic login.
    QVector<CodedExaminee> examineesToCode() const;

private:
    Parts m_parts;
};

}  // namespace console
