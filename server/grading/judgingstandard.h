// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard records are judged by (判定标准): the thresholds of the
// marks for machine typing and the speed no person reaches. The examiner
// may change them; they are kept with the console's preferences.
#include "timeline/typingthresholds.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// No person types faster than this many characters a minute for the length
// of an exam; competition typists stay below it.
constexpr int kDefaultSpeedCeiling = 300;

struct JudgingStandard
{
    Q_DECLARE_TR_FUNCTIONS(JudgingStandard)

public:
    TypingThresholds typing;
    qint32 speedCeiling = kDefaultSpeedCeiling;  // characters a minute

    // One setting as the examiner edits it, under the mark it belongs to.
    struct Setting
    {
        QString name;  // where it is kept
        QString mark;
        QString label;
        bool whole;  // an integer, else a number with decimals
        double lowest, highest;
        double (*get)(const JudgingStandard &);
        void (*set)(JudgingStandard &, double);
    };
    static const QVector<Setting> &settings();

    struct Reading;
    // The values as typed, one per setting in settings() order; checked.
    static Reading fromTexts(const QStringList &texts);
    QStringList texts() const;
    // The values by setting name; a setting left out keeps its default.
    static Reading fromNamedTexts(const QMap<QString, QString> &named);
    QMap<QString, QString> namedTexts() const;

    // The standard kept in the console's preferences; the default one when
    // none is.
    static Reading load(const QString &applicationFolder);
    QString save(const QString &applicationFolder) const;
};

struct JudgingStandard::Reading
{
    std::optional<JudgingStandard> standard;
    QString problem;  // naming the setting; empty when read
};
