// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file se.dll (plain form): login allowed, exam minutes.
#include <QByteArray>

#include <optional>

struct ExamSettings
{
    bool loginAllowed = true;
    qint16 examMinutes = 0;

    QByteArray toRecordLines() const;
};

// What a settings file held. A line that is missing or does not convert
// leaves its value unset, so the reader of a download can tell a file that
// was never published (no lines) from one that is damaged.
struct ExamSettingsReading
{
    int lineCount = 0;
    std::optional<bool> loginAllowed;
    std::optional<qint16> examMinutes;

    bool isEmpty() const { return lineCount == 0; }
    bool isComplete() const { return loginAllowed.has_value() && examMinutes.has_value(); }
};

ExamSettingsReading readExamSettings(QByteArrayView plainBytes);
