// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard records are judged by (判定标准): the thresholds of the
// marks for machine typing and the speed no person reaches. The examiner
// may change them; the file holds one "name=value" line per setting.
#include "timeline/typingthresholds.h"

#include <QCoreApplication>
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

    static QString fileName() { return QStringLiteral("judging.txt"); }

    // One setting as the examiner edits it, under the mark it belongs to.
    struct Setting
    {
        QString name;  // in the file
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
    // The file's text; a setting it leaves out keeps its default.
    static Reading fromText(const QString &text);
    QString toText() const;

    // The standard kept in the application folder (GBK); the default one
    // when none is.
    static Reading load(const QString &applicationFolder);
    QString save(const QString &applicationFolder) const;
};

struct JudgingStandard::Reading
{
    std::optional<JudgingStandard> standard;
    QString problem;  // naming the setting; empty when read
};
