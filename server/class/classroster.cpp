// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/classroster.h"

#include "exchange/identity.h"
#include "exchange/textencoding.h"
#include "exchange/wholefile.h"
#include "readers/xlsxsheet.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <QCoreApplication>

namespace {

// A heading cell as compared: no blanks, no required-field stars, no notes
// in brackets ("学号（10位）*" is 学号), one case for English headings.
QString headingKey(const QString &cell)
{
    static const QRegularExpression noise(QStringLiteral("\\s|　|\\*|＊|[(（][^)）]*[)）]|[:：]$"));
    QString key = cell;
    key.remove(noise);
    return identity::matchKey(key);
}

enum Column { Ban, Number, Name, kColumns };

// The headings school systems and teachers use for each column.
const QStringList &headingWords(int field)
{
    static const QStringList words[kColumns] = {
        { QStringLiteral("部门"), QStringLiteral("部门名称"), QStringLiteral("班级"),
          QStringLiteral("班级名称"), QStringLiteral("班别"), QStringLiteral("班"),
          QStringLiteral("行政班"), QStringLiteral("行政班级"), QStringLiteral("所在班级"),
          QStringLiteral("教学班"), QStringLiteral("专业班级"), QStringLiteral("院系"),
          QStringLiteral("院系名称"), QStringLiteral("系部"), QStringLiteral("系别"),
          QStringLiteral("学院"), QStringLiteral("单位"), QStringLiteral("class"),
          QStringLiteral("department") },
        { QStringLiteral("考号"), QStringLiteral("考生号"), QStringLiteral("考试号"),
          QStringLiteral("考生编号"), QStringLiteral("考籍号"), QStringLiteral("准考证号"),
          QStringLiteral("准考号"), QStringLiteral("准考证"), QStringLiteral("学号"),
          QStringLiteral("学生学号"), QStringLiteral("学籍号"), QStringLiteral("工号"),
          QStringLiteral("编号"), QStringLiteral("id"), QStringLiteral("studentid"),
          QStringLiteral("number"), QStringLiteral("no.") },
        { QStringLiteral("姓名"), QStringLiteral("考生姓名"), QStringLiteral("学生姓名"),
          QStringLiteral("名字"), QStringLiteral("真实姓名"), QStringLiteral("name") },
    };
    return words[field];
}

// Column of each field when the row is a heading row.
std::optional<std::array<int, kColumns>> headingColumns(const QStringList &row)
{
    std::array<int, kColumns> columns { -1, -1, -1 };
    for (int i = 0; i < row.size(); ++i) {
        const QString key = headingKey(row.at(i));
        for (int field = 0; field < kColumns; ++field) {
            if (columns[field] < 0 && headingWords(field).contains(key))
                columns[field] = i;
        }
    }
    if (columns[Number] < 0 || columns[Name] < 0)
        return std::nullopt;
    return columns;
}

enum class Separator { Blanks, Tabs, Commas };

Separator separatorOf(const QString &line)
{
    if (line.contains(u'\t'))
        return Separator::Tabs;
    if (line.contains(u',') || line.contains(u'，'))
        return Separator::Commas;
    return Separator::Blanks;
}

QStringList splitLine(const QString &line)
{
    const Separator separator = separatorOf(line);
    if (separator == Separator::Blanks)
        return line.split(QRegularExpression(QStringLiteral("[ 　]+")), Qt::SkipEmptyParts);
    QStringList cells;
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
        } else if (separator == Separator::Tabs ? ch == u'\t' : (ch == u',' || ch == u'，')) {
            cells << cell;
            cell.clear();
        } else {
            cell += ch;
        }
    }
    cells << cell;
    return cells;
}

// Whether a CSV line ends inside a quoted field, so that the next line
// continues the field: a field opens with a quote and the quotes do not
// pair up ("" inside a field counts two).
bool endsInsideQuotes(const QString &line)
{
    static const QRegularExpression opening(QStringLiteral("(^|[,，\\t])\\s*\""));
    return line.count(u'"') % 2 == 1 && line.contains(opening);
}

std::optional<QString> decodeText(const QByteArray &bytes)
{
    // Notepad's "Unicode" is UTF-16 with a byte order mark.
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    return textencoding::decodeUtf8OrGbk(bytes);
}

// The first row with any text, its cells joined, for the examiner to see
// what the list's headings are.
QString firstRowText(const QVector<QStringList> &rows)
{
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row) {
            if (!cell.trimmed().isEmpty())
                cells << cell.trimmed();
        }
        if (!cells.isEmpty())
            return cells.join(QCoreApplication::translate("ClassRoster", "、")).left(200);
    }
    return QCoreApplication::translate("ClassRoster", "（空）");
}

}  // namespace

QVector<QStringList> ClassRoster::textRows(const QByteArray &bytes)
{
    QVector<QStringList> rows;
    // Text in neither encoding holds no rows, so no class list.
    const std::optional<QString> text = decodeText(bytes);
    if (!text)
        return rows;
    QString pending;
    bool continued = false;
    for (const QString &line : text->split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        pending = continued ? pending + u'\n' + line : line;
        continued = endsInsideQuotes(pending);
        if (!continued && !pending.trimmed().isEmpty())
            rows << splitLine(pending);
    }
    if (continued)
        rows << splitLine(pending);
    return rows;
}

QString ClassRoster::keyOf(const QString &department, const QString &examNumber) const
{
    return m_byDepartment
            ? identity::matchKey(department) + QChar(0) + identity::matchKey(examNumber)
            : identity::matchKey(examNumber);
}

ClassRoster::Reading ClassRoster::fromRows(const QVector<QStringList> &rows)
{
    Reading reading;
    std::optional<std::array<int, kColumns>> columns;
    int first = 0;
    for (int i = 0; i < rows.size() && i < kHeadingRows && !columns; ++i) {
        columns = headingColumns(rows.at(i));
        first = i + 1;
    }
    if (!columns) {
        reading.problem =
                tr("名单中没有找到“考号”和“姓名”列。第一行是：%1").arg(firstRowText(rows));
        return reading;
    }
    const auto cell = [](const QStringList &row, int column) {
        return column >= 0 && column < row.size() ? row.at(column).trimmed() : QString();
    };
    QVector<RosterEntry> listed;
    // Departments each exam number appears in, to see whether numbers
    // restart in each department.
    QHash<QString, QString> departmentOf;
    bool restarts = false;
    for (int i = first; i < rows.size(); ++i) {
        RosterEntry entry { cell(rows.at(i), (*columns)[Ban]), cell(rows.at(i), (*columns)[Number]),
                            cell(rows.at(i), (*columns)[Name]) };
        if (entry.examNumber.isEmpty() || entry.name.isEmpty())
            continue;
        const QString number = identity::matchKey(entry.examNumber);
        const QString department = identity::matchKey(entry.department);
        const auto seen = departmentOf.constFind(number);
        if (seen == departmentOf.constEnd())
            departmentOf.insert(number, department);
        else if (*seen != department)
            restarts = true;
        listed << entry;
    }
    ClassRoster roster;
    roster.m_byDepartment = restarts;
    for (const RosterEntry &entry : std::as_const(listed)) {
        const QString key = roster.keyOf(entry.department, entry.examNumber);
        if (roster.m_byKey.contains(key))
            continue;
        if (roster.m_entries.size() >= kMaxEntries) {
            reading.problem = tr("名单中的考生超过%1人").arg(kMaxEntries);
            return reading;
        }
        roster.m_byKey.insert(key, int(roster.m_entries.size()));
        roster.m_entries.append(entry);
    }
    if (roster.m_entries.isEmpty()) {
        reading.problem = tr("名单中“考号”和“姓名”列下没有考生");
        return reading;
    }
    if (restarts)
        reading.notice =
                tr("名单中不同部门有相同的考号，考生按部门和考号对应，登录时须填写名单中的部门。");
    reading.roster = std::move(roster);
    return reading;
}

ClassRoster::Reading ClassRoster::load(const QString &path)
{
    Reading reading;
    const QString shown = QDir::toNativeSeparators(path);
    const wholefile::Reading file =
            wholefile::read(path, std::max<qint64>(kMaxTextBytes, xlsx::kMaxFileBytes));
    if (!file.bytes) {
        reading.problem = file.problem;
        return reading;
    }
    QVector<QStringList> rows;
    // Workbooks are often renamed .csv or saved as .txt by hand: the zip
    // container tells, not the name.
    if (file.bytes->startsWith("PK\x03\x04")) {
        xlsx::SheetReading sheet = xlsx::readFirstSheet(*file.bytes, path);
        if (!sheet.rows) {
            reading.problem = sheet.problem;
            return reading;
        }
        rows = std::move(*sheet.rows);
    } else if (file.bytes->startsWith("\xD0\xCF\x11\xE0")) {
        // The older binary workbook (.xls) is no text and needs Excel's own reader.
        reading.problem =
                tr("%1 是旧版Excel工作簿（.xls），请在Excel或WPS中另存为.xlsx或CSV后再载入")
                        .arg(shown);
        return reading;
    } else if (file.bytes->size() > kMaxTextBytes) {
        reading.problem = tr("%1 有%2 MB，不像是一份考生名单")
                                  .arg(shown)
                                  .arg(file.bytes->size() / (1024 * 1024));
        return reading;
    } else {
        rows = textRows(*file.bytes);
        if (rows.isEmpty()) {
            reading.problem =
                    tr("%1 中没有找到考生名单（文本须是UTF-8、GBK或带标记的UTF-16）").arg(shown);
            return reading;
        }
    }
    return fromRows(rows);
}

const RosterEntry *ClassRoster::find(const QString &department, const QString &examNumber) const
{
    const auto found = m_byKey.constFind(keyOf(department, examNumber));
    return found == m_byKey.constEnd() ? nullptr : &m_entries.at(*found);
}
