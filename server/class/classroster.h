// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class list the examiner may load: who is expected at the exam. Read
// from an .xlsx workbook (first visible sheet), a CSV or a TXT file with
// the columns 部门, 考号 and 姓名, in GBK, UTF-8 or UTF-16 with its mark.
#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct RosterEntry
{
    QString department;
    QString examNumber;
    QString name;
};

class ClassRoster
{
    Q_DECLARE_TR_FUNCTIONS(ClassRoster)
public:
    // A class list longer than this is no class list.
    static constexpr int kMaxEntries = 5000;
    static constexpr qint64 kMaxTextBytes = 4 * 1024 * 1024;
    // School systems put titles and notes above the headings.
    static constexpr int kHeadingRows = 20;

    struct Reading;

    // A workbook or delimited text by what the file holds, whatever its
    // name ends with.
    static Reading load(const QString &path);
    // Rows of cells: a heading row (部门/班级..., 考号/学号..., 姓名... in any
    // order) among the first kHeadingRows rows names the columns; without
    // one the list is refused. Rows without exam number and name are left
    // out, as are repeated identities after the first. Exam numbers that
    // repeat in several departments are told apart by department.
    static Reading fromRows(const QVector<QStringList> &rows);
    // Text in UTF-16 with its byte order mark, else UTF-8 or GBK as
    // textencoding decides (none in neither); cells separated by tabs,
    // commas (also "，") or blanks, CSV quotes honoured across line breaks.
    static QVector<QStringList> textRows(const QByteArray &bytes);

    const QVector<RosterEntry> &entries() const { return m_entries; }
    // The listed entry a typed identity is, compared by identity::matchKey:
    // by exam number, or by department and exam number when the list's
    // numbers restart in each department.
    const RosterEntry *find(const QString &department, const QString &examNumber) const;
    bool matchesByDepartment() const { return m_byDepartment; }

private:
    QString keyOf(const QString &department, const QString &examNumber) const;

    QVector<RosterEntry> m_entries;
    QHash<QString, int> m_byKey;
    bool m_byDepartment = false;
};

struct ClassRoster::Reading
{
    std::optional<ClassRoster> roster;
    QString problem;  // why there is no list
    QString notice;  // what the examiner should know about a loaded one
};
