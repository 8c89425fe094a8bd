// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam the class's records are judged against: the exam as this
// console published it, when it kept a record of that; else the exam time
// in force and te.txt as it lies in the exchange folder.
#include "class/plausibility.h"
#include "control/examsettingscontroller.h"
#include "publish/logingate.h"

#include <optional>

namespace console {

class JudgedExam
{
public:
    // The gate and the settings are the console's and outlive the exam.
    JudgedExam(const LoginGate &gate, const ExamSettingsController &settings,
               QString exchangeFolder);

    ExamFacts facts() const;
    // Counts te.txt again when it changed since it was last counted.
    void countPublishedText();
    // A new exam: the count of the last one's text goes.
    void forgetPublishedText();

private:
    const LoginGate &m_gate;
    const ExamSettingsController &m_settings;
    QString m_exchangeFolder;
    std::optional<qint32> m_publishedLength;
    QString m_publishedStamp;  // size and time of the te.txt last counted
};

}  // namespace console
