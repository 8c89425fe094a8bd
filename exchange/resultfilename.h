// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name under which a result record lies in the exchange folder, and
// whether a name is one that the record's own identity gives.
#include <QString>

namespace resultname {

// Department "-" exam number "-" name, then "~N" for number N above 1 (a
// write-once service keeps each upload as a new file), then ".zip". Signs no
// file name may hold (/ \ : * ? " < > |, control characters) and leading dots
// become "_". Entries too long for a file name are shortened, and a short
// hash of the full entries keeps the name unique.
QString forIdentity(const QString &department, const QString &examNumber, const QString &name,
                    int sequence = 1);

// The number N of fileName as forIdentity() of these entries gives it (1 for
// the plain name); 0 when it is not one of their names.
int numberOf(const QString &fileName, const QString &department, const QString &examNumber,
             const QString &name);

// Whether fileName is forIdentity() of these entries with any number.
bool matchesIdentity(const QString &fileName, const QString &department, const QString &examNumber,
                     const QString &name);

// The examiner's leave for one more exam after a finished one: beside the
// result file, "<name>.retake", holding the id of the session set aside.
// Not a .zip, so no collection reads it.
QString retakeFor(const QString &department, const QString &examNumber, const QString &name);

}  // namespace resultname
