// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's place in the school, kept with its preferences: the
// school archive its exams are sent to (none: they stay on this computer),
// its lab (机房) and its teacher (教师). KESTRIX_ARCHIVE names the school
// archive for consoles deployed by script, over what is stored.
#include "settings/consolepreferences.h"

#include <QCoreApplication>
#include <QString>

namespace console {

class SchoolSettings
{
    Q_DECLARE_TR_FUNCTIONS(SchoolSettings)
public:
    explicit SchoolSettings(QString applicationFolder);

    // What is in force: the stored values, the environment's place over
    // the stored one, the computer's and the account's names where no lab
    // or teacher was given.
    SchoolSetting inForce() const;
    // Whether the place comes from KESTRIX_ARCHIVE (and cannot be changed here).
    static bool placeFromEnvironment();
    // Stores the values; the problem or empty. A place that is neither
    // empty nor a school URI, or that holds a password, is refused.
    QString save(const SchoolSetting &setting) const;

    // An address an earlier version stored with its password in it: the
    // password moved into libpq's password file `passFile` (the user's
    // alone) and the address stored without it. What the teacher is told,
    // once: that it was done, or why it could not be (the address then
    // stays as it was); empty when the stored address holds no password.
    QString movePasswordOut(const QString &passFile) const;

    static QString defaultLab();
    static QString defaultTeacher();

private:
    QString m_folder;
};

}  // namespace console
