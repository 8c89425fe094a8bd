// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login codes the next publication that requires them hands out, known
// before 允许登录 so that slips printed before class let the class in. Each
// examinee of the class list keeps the code handed out for it: the one
// printed beforehand (kept in fbdlmyb.txt until a publication takes it),
// else, while the exam about to go out is the one last published and
// 清空上次 has not retired its codes, that publication's, since the class
// holds those slips. Only an examinee with neither gets a new code, so an
// exam with changed settings never reuses a withdrawn publication's codes.
#include "publish/logincodes.h"
#include "publish/logingate.h"

#include <QString>
#include <QVector>

class NextLoginCodes
{
public:
    static QString fileName() { return QStringLiteral("fbdlmyb.txt"); }

    NextLoginCodes(const LoginGate &gate, QString applicationFolder);

    // The examinees with the codes the next publication, of the exam text
    // saved now and this exam time, gives them; new ones drawn where none
    // is kept. Nothing is written.
    LoginCodes codesFor(qint16 examMinutes, QVector<CodedExaminee> examinees) const;
    // Keeps the codes for the next publication, as slips are printed from
    // them; the problem or empty.
    QString keep(const LoginCodes &codes) const;
    // A publication took the kept codes: from now on they are its own.
    void taken() const;

private:
    // The codes of the exam last published, when publishing now would send
    // out that exam again; none otherwise.
    LoginCodes codesOfSameExam(qint16 examMinutes) const;
    QString keptPath() const;

    const LoginGate &m_gate;
    ConsoleSettings m_settings;
};
