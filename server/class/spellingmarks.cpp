// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/spellingmarks.h"

#include "exchange/identity.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <QCoreApplication>

namespace spellingmarks {

namespace {

QString shown(const QString &department, const QString &examNumber, const QString &name)
{
    return QStringLiteral("%1 %2 %3").arg(department, examNumber, name).trimmed();
}

QString shown(const ClassViewRow &row)
{
    return shown(row.department, row.examNumber, row.name);
}

// Typed exactly as the list spells the examinee; a list without
// departments leaves the department as typed.
bool asListed(const ClassViewRow &row, const RosterEntry &entry)
{
    return row.examNumber == entry.examNumber && row.name == entry.name
            && (entry.department.isEmpty() || row.department == entry.department);
}

}  // namespace

QSet<int> mark(QVector<ClassViewRow> &rows, const ClassRoster *roster)
{
    QHash<QString, QVector<int>> byPerson;
    for (int i = 0; i < rows.size(); ++i) {
        const ClassViewRow &row = rows.at(i);
        if (row.hasRecord && row.counted)
            byPerson[identity::personKey(row.department, row.examNumber, row.name)].append(i);
    }
    QSet<int> uncounted;
    for (const QVector<int> &rowsOfPerson : std::as_const(byPerson)) {
        QStringList spellings;
        for (int i : rowsOfPerson) {
            if (!spellings.contains(shown(rows.at(i))))
                spellings << shown(rows.at(i));
        }
        if (spellings.size() < 2)
            continue;
        const ClassViewRow &first = rows.at(rowsOfPerson.first());
        const RosterEntry *entry =
                roster ? roster->find(first.department, first.examNumber.trimmed()) : nullptr;
        const bool listedThere = entry
                && std::any_of(rowsOfPerson.cbegin(), rowsOfPerson.cend(),
                               [&](int i) { return asListed(rows.at(i), *entry); });
        for (int i : rowsOfPerson) {
            ClassViewRow &row = rows[i];
            if (listedThere && !asListed(row, *entry)) {
                row.counted = false;
                row.doubts.prepend(
                        QCoreApplication::translate("spellingmarks",
                                                    "写法与名单不同，名单写法（%1）另有成绩，"
                                                    "这一行不是该考生本人的，不计入")
                                .arg(shown(entry->department.isEmpty() ? row.department
                                                                       : entry->department,
                                           entry->examNumber, entry->name)));
                uncounted.insert(i);
            } else if (!listedThere) {
                QStringList others = spellings;
                others.removeAll(shown(row));
                row.doubts << QCoreApplication::translate("spellingmarks",
                                                          "同一考生另有写法不同的成绩：%1")
                                      .arg(others.join(
                                              QCoreApplication::translate("spellingmarks", "、")));
            }
        }
    }
    return uncounted;
}

}  // namespace spellingmarks
