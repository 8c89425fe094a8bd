#pragma once
// The class list the examiner may load: who is expected at the exam. Read
// from an .xlsx workbook (first sheet), a CSV or a TXT file with the columns
// 部门, 考号 and 姓名, in GBK or UTF-8.
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
public:
    // A class list longer than this is no class list.
    static constexpr int kMaxEntries = 5000;
    static constexpr qint64 kMaxTextBytes = 4 * 1024 * 1024;

    struct Reading;

    // .xlsx by its contents' name ending; anything else as delimited text.
    static Reading load(const QString &path);
    // Rows of cells: a heading row (部门/班级, 考号/学号, 姓名 in any order)
    // among the first rows names the columns; without one the columns are
    // 部门, 考号, 姓名 in this order. Rows without exam number and name are
    // left out, as are repeated exam numbers after the first.
    static std::optional<ClassRoster> fromRows(const QVector<QStringList> &rows);
    // Text in UTF-8 or GBK as textencoding decides (none in neither); cells
    // separated by tabs, commas (also "，") or blanks, CSV quotes honoured.
    static QVector<QStringList> textRows(const QByteArray &bytes);

    const QVector<RosterEntry> &entries() const { return m_entries; }
    // The entry with that exam number, blanks around it ignored.
    const RosterEntry *byExamNumber(const QString &examNumber) const;

private:
    QVector<RosterEntry> m_entries;
    QHash<QString, int> m_byExamNumber;
};

struct ClassRoster::Reading
{
    std::optional<ClassRoster> roster;
    QString problem;
};
