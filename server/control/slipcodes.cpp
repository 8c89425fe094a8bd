// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/slipcodes.h"

#include <QDateTime>

namespace console {

const LoginCodes &SlipCodes::loginCodes() const
{
    // A withdrawn exam's codes still judge its records, but slips printed
    // from them would let nobody in.
    static const LoginCodes none;
    return m_parts.gate.isOpen() ? m_parts.gate.loginCodes() : none;
}

bool SlipCodes::available() const
{
    if (m_parts.gate.isOpen())
        return !m_parts.gate.loginCodes().isEmpty();
    const auto &roster = m_parts.live.live().roster();
    return roster && !roster->entries().isEmpty() && m_parts.settings.loginCodesRequired();
}

SlipCodes::Slips SlipCodes::forSlips()
{
    Slips slips;
    if (m_parts.gate.isOpen()) {
        slips.codes = m_parts.gate.loginCodes();
        if (slips.codes.isEmpty())
            slips.problem = tr("这场考试没有登录码。");
    } else if (const QVector<CodedExaminee> examinees = examineesToCode(); examinees.isEmpty()) {
        slips.problem = QCoreApplication::translate(
                "Console", "请先在考试设置中勾选“要求登录码”，并载入考生名单。");
    } else {
        // Slips of codes the next publication would not hand out let nobody in.
        slips.codes = LoginCodes::issue({}, examinees);
        if (const QString problem = m_parts.nextCodes.keep(slips.codes); !problem.isEmpty()) {
            slips.codes = {};
            slips.problem =
                    QCoreApplication::translate("Console", "无法保存登录码，没有生成登录码纸条：")
                    + problem;
        }
    }
    // The day they are printed; the hour is the publication's to tell.
    slips.exam.heldAt = QDateTime::currentDateTime();
    slips.exam.timeKnown = false;
    slips.exam.articleName = m_parts.settings.articleName();
    const auto &published = m_parts.gate.examAsPublished();
    slips.exam.examMinutes = m_parts.gate.isOpen() && published ? published->examMinutes
                                                                : m_parts.settings.examMinutes();
    for (const CodedExaminee &examinee : slips.codes.examinees())
        slips.exam.departments << examinee.department;
    return slips;
}

QVector<CodedExaminee> SlipCodes::examineesToCode() const
{
    QVector<CodedExaminee> examinees;
    const auto &roster = m_parts.live.live().roster();
    if (!roster || !m_parts.settings.loginCodesRequired())
        return examinees;
    for (const RosterEntry &entry : roster->entries())
        examinees.append({ entry.department, entry.examNumber, entry.name, {} });
    return m_parts.nextCodes.codesFor(m_parts.settings.examMinutes(), std::move(examinees))
            .examinees();
}

}  // namespace console
