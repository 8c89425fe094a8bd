// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/nextlogincodes.h"

#include "publish/examarticle.h"
#include "exchange/wholefile.h"

#include <QFile>

NextLoginCodes::NextLoginCodes(const LoginGate &gate, QString applicationFolder)
    : m_gate(gate), m_settings(std::move(applicationFolder))
{
}

QString NextLoginCodes::keptPath() const
{
    return m_settings.filePath(fileName());
}

LoginCodes NextLoginCodes::codesOfSameExam(qint16 examMinutes) const
{
    const auto &published = m_gate.examAsPublished();
    if (!published || m_gate.loginCodes().isEmpty())
        return {};
    const wholefile::Reading text = wholefile::read(
            m_settings.filePath(ConsoleSettings::textFileName()), examarticle::kMaxFileBytes);
    if (!text.bytes)
        return {};
    const auto next = ExamAsPublished::of(examMinutes, *text.bytes);
    return next && *next == *published ? m_gate.loginCodes() : LoginCodes();
}

LoginCodes NextLoginCodes::codesFor(qint16 examMinutes, QVector<CodedExaminee> examinees) const
{
    const LoginCodes printed = LoginCodes::loadUnpublished(keptPath());
    const LoginCodes handedOut = printed.isEmpty() ? codesOfSameExam(examMinutes) : printed;
    return LoginCodes::issue({}, handedOut.handedTo(std::move(examinees)));
}

QString NextLoginCodes::keep(const LoginCodes &codes) const
{
    return codes.save(keptPath());
}

void NextLoginCodes::taken() const
{
    // Left behind, they would go out again with a later exam.
    QFile::remove(keptPath());
}
