#include "class/classroster.h"

#include "textencoding.h"
#include "wholefile.h"
#include "class/xlsxsheet.h"

#include <QDir>
#include <QRegularExpression>

#include <array>

namespace {

// A heading cell without its blanks ("姓  名" is 姓名).
QString headingKey(const QString &cell)
{
    QString key = cell;
    key.remove(QRegularExpression(QStringLiteral("\\s|　")));
    return key;
}

enum Column { Ban, Number, Name, kColumns };

// Column of each field when the row is a heading row.
std::optional<std::array<int, kColumns>> headingColumns(const QStringList &row)
{
    static const QStringList words[kColumns] = {
        { QStringLiteral("部门"), QStringLiteral("班级"), QStringLiteral("院系"),
          QStringLiteral("系部") },
        { QStringLiteral("考号"), QStringLiteral("学号"), QStringLiteral("准考证号") },
        { QStringLiteral("姓名") },
    };
    std::array<int, kColumns> columns { -1, -1, -1 };
    for (int i = 0; i < row.size(); ++i) {
        const QString key = headingKey(row.at(i));
        for (int field = 0; field < kColumns; ++field) {
            if (columns[field] < 0 && words[field].contains(key))
                columns[field] = i;
        }
    }
    if (columns[Number] < 0 || columns[Name] < 0)
        return std::nullopt;
    return columns;
}

QStringList splitLine(const QString &line)
{
    QStringList cells;
    const bool tabs = line.contains(u'\t');
    const bool commas = !tabs && (line.contains(u',') || line.contains(u'，'));
    if (!tabs && !commas)
        return line.split(QRegularExpression(QStringLiteral("[ 　]+")), Qt::SkipEmptyParts);
    QString cell;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar ch = line.at(i);
        if (quoted) {
            if (ch == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"')
                cell += line.at(++i);
            else if (ch == u'"')
                quoted = false;
            else
                cell += ch;
        } else if (ch == u'"' && cell.trimmed().isEmpty()) {
            quoted = true;
            cell.clear();
        } else if (tabs ? ch == u'\t' : (ch == u',' || ch == u'，')) {
            cells << cell;
            cell.clear();
        } else {
            cell += ch;
        }
    }
    cells << cell;
    return cells;
}

}  // namespace

QVector<QStringList> ClassRoster::textRows(const QByteArray &bytes)
{
    QVector<QStringList> rows;
    // Text in neither encoding holds no rows, so no class list.
    const std::optional<QString> text = textencoding::decodeUtf8OrGbk(bytes);
    if (!text)
        return rows;
    for (const QString &line : text->split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        if (!line.trimmed().isEmpty())
            rows << splitLine(line);
    }
    return rows;
}

std::optional<ClassRoster> ClassRoster::fromRows(const QVector<QStringList> &rows)
{
    std::array<int, kColumns> columns { Ban, Number, Name };
    int first = 0;
    // School systems put a title or a blank row above the headings.
    for (int i = 0; i < rows.size() && i < 5; ++i) {
        if (const auto found = headingColumns(rows.at(i))) {
            columns = *found;
            first = i + 1;
            break;
        }
    }
    const auto cell = [](const QStringList &row, int column) {
        return column >= 0 && column < row.size() ? row.at(column).trimmed() : QString();
    };
    ClassRoster roster;
    for (int i = first; i < rows.size(); ++i) {
        RosterEntry entry { cell(rows.at(i), columns[Ban]), cell(rows.at(i), columns[Number]),
                            cell(rows.at(i), columns[Name]) };
        if (entry.examNumber.isEmpty() || entry.name.isEmpty()
            || roster.m_byExamNumber.contains(entry.examNumber))
            continue;
        if (roster.m_entries.size() >= kMaxEntries)
            return std::nullopt;
        roster.m_byExamNumber.insert(entry.examNumber, int(roster.m_entries.size()));
        roster.m_entries.append(entry);
    }
    if (roster.m_entries.isEmpty())
        return std::nullopt;
    return roster;
}

ClassRoster::Reading ClassRoster::load(const QString &path)
{
    Reading reading;
    QVector<QStringList> rows;
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        xlsx::SheetReading sheet = xlsx::readFirstSheet(path);
        if (!sheet.rows) {
            reading.problem = sheet.problem;
            return reading;
        }
        rows = std::move(*sheet.rows);
    } else {
        const wholefile::Reading file = wholefile::read(path, kMaxTextBytes);
        if (!file.bytes) {
            reading.problem = file.problem;
            return reading;
        }
        // The older binary workbook (.xls) is no text and needs Excel's own reader.
        if (file.bytes->startsWith("\xD0\xCF\x11\xE0")) {
            reading.problem =
                    QStringLiteral(
                            "%1 "
                            "是旧版Excel工作簿（.xls），请在Excel或WPS中另存为.xlsx或CSV后再载入")
                            .arg(QDir::toNativeSeparators(path));
            return reading;
        }
        rows = textRows(*file.bytes);
    }
    reading.roster = fromRows(rows);
    if (!reading.roster)
        reading.problem =
                QStringLiteral("%1 中没有找到考生名单（需要部门、考号、姓名三列，最多%2人）")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(kMaxEntries);
    return reading;
}

const RosterEntry *ClassRoster::byExamNumber(const QString &examNumber) const
{
    const auto found = m_byExamNumber.constFind(examNumber.trimmed());
    return found == m_byExamNumber.constEnd() ? nullptr : &m_entries.at(*found);
}
