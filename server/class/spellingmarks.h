// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One examinee under several spellings: rows that are one person by
// identity::personKey ("A18" and "Ａ１８") but were typed differently. Without
// login codes anyone can hand in under a variant spelling, so no spelling
// may take another's place. With the class list, the rows typed as the list
// spells the examinee are theirs; a row in another spelling beside them
// counts for nobody and says so. Where the list cannot tell, every such row
// names the other spellings.
#include "class/classroster.h"
#include "class/liveclass.h"

#include <QSet>
#include <QVector>

namespace spellingmarks {

// Marks the counted rows with a record; the indices of those that no
// longer count.
QSet<int> mark(QVector<ClassViewRow> &rows, const ClassRoster *roster);

}  // namespace spellingmarks
