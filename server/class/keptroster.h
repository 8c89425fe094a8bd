// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class list kept with the exam in the console's data folder, so that a
// restarted console watches the same class: roster.csv holds the list as
// the console read it (UTF-8 with its mark, columns 部门, 考号, 姓名), and
// the console's preferences the folder the examiner's own list lies in,
// where the next 载入名单 starts.
#include "class/classroster.h"

#include <QCoreApplication>
#include <QString>

class KeptRoster
{
    Q_DECLARE_TR_FUNCTIONS(KeptRoster)
public:
    static QString listFileName() { return QStringLiteral("roster.csv"); }

    explicit KeptRoster(QString applicationFolder);

    // The kept list; neither a list nor a problem when none was kept.
    ClassRoster::Reading read() const;
    // Keeps the list that was read from `source`; the problem, else empty.
    QString keep(const ClassRoster &roster, const QString &source) const;
    // The folder of the list loaded last; empty when none was.
    QString lastFolder() const;

private:
    QString m_folder;
};
