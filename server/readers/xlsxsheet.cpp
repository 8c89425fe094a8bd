// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers/xlsxsheet.h"

#include "readers/ziparchive.h"

#include "exchange/wholefile.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <QCoreApplication>

namespace xlsx {

namespace {

// The text of every <t> of each <si>, phonetic guides (<rPh>) left out.
QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    int phonetic = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == u"si")
                current.clear();
            else if (reader.name() == u"rPh")
                ++phonetic;
            else if (reader.name() == u"t" && phonetic == 0)
                current += reader.readElementText();
        } else if (reader.isEndElement()) {
            if (reader.name() == u"si")
                strings << current;
            else if (reader.name() == u"rPh")
                --phonetic;
        }
    }
    return strings;
}

// The visible sheet the workbook lists first, as a member name; sheet1
// when the workbook does not say.
QString firstSheetMember(const ZipArchive &zip)
{
    const QString fallback = QStringLiteral("xl/worksheets/sheet1.xml");
    const auto workbook = zip.member(QStringLiteral("xl/workbook.xml"));
    const auto relations = zip.member(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!workbook || !relations)
        return fallback;
    QString id;
    QXmlStreamReader book(*workbook);
    while (!book.atEnd() && id.isEmpty()) {
        // A hidden sheet (state "hidden" or "veryHidden") holds lookups or
        // an old copy, not what the examiner sees on opening the workbook.
        // Excel leaves a visible sheet's state out; LibreOffice and openpyxl
        // write "visible".
        if (book.readNext() != QXmlStreamReader::StartElement || book.name() != u"sheet")
            continue;
        if (const auto state = book.attributes().value(QStringLiteral("state"));
            state.isEmpty() || state == u"visible") {
            for (const QXmlStreamAttribute &attribute : book.attributes()) {
                if (attribute.name() == u"id")
                    id = attribute.value().toString();
            }
        }
    }
    QXmlStreamReader rels(*relations);
    while (!rels.atEnd()) {
        if (rels.readNext() == QXmlStreamReader::StartElement && rels.name() == u"Relationship"
            && rels.attributes().value(QStringLiteral("Id")) == id) {
            const QString target = rels.attributes().value(QStringLiteral("Target")).toString();
            return target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    }
    return fallback;
}

// "C7" -> 2; -1 without letters.
int columnOf(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar ch : reference) {
        if (ch < u'A' || ch > u'Z')
            break;
        column = column * 26 + (ch.unicode() - u'A' + 1);
        if (++letters > 3)
            return -1;
    }
    return letters ? column - 1 : -1;
}

// For each cell format (the cells' s attribute), the digits a whole number
// is padded to with zeros: 4 for the format "0000", which shows 12 as 0012;
// 0 for every other format.
QVector<int> zeroPadding(const QByteArray &xml)
{
    QHash<int, int> padOfFormat;
    QVector<int> padding;
    QXmlStreamReader reader(xml);
    bool inCellFormats = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == u"cellXfs")
            inCellFormats = false;
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"numFmt") {
            // The format for positive numbers is the part before any ";".
            const QString code =
                    attributes.value(QStringLiteral("formatCode")).toString().section(u';', 0, 0);
            static const QRegularExpression zeros(QStringLiteral("^0+$"));
            if (zeros.match(code).hasMatch())
                padOfFormat.insert(attributes.value(QStringLiteral("numFmtId")).toInt(),
                                   int(code.size()));
        } else if (reader.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (reader.name() == u"xf" && inCellFormats && padding.size() < 65536) {
            padding << padOfFormat.value(attributes.value(QStringLiteral("numFmtId")).toInt());
        }
    }
    return padding;
}

// The digits of a number cell's text when it is a whole number, exactly as
// written: "2026001", "2.0260101E+17" (202601010000000000), never through a
// double, which keeps only 15 to 17 digits of an 18-digit exam number.
std::optional<QString> wholeNumberDigits(const QString &value)
{
    static const QRegularExpression number(
            QStringLiteral("^(-?)(\\d+)(?:\\.(\\d*))?(?:[eE]([+-]?\\d{1,3}))?$"));
    const QRegularExpressionMatch match = number.match(value.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QString digits = match.captured(2) + match.captured(3);
    qsizetype point = match.captured(2).size() + match.captured(4).toInt();
    if (point < 0 || point > 40)
        return std::nullopt;
    while (digits.size() < point)
        digits += u'0';
    // Whole only when nothing but zeros follows the point.
    for (qsizetype i = point; i < digits.size(); ++i) {
        if (digits.at(i) != u'0')
            return std::nullopt;
    }
    digits.truncate(point);
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    return (digits == u"0" ? QString() : match.captured(1)) + digits;
}

// A number cell as text: whole numbers as their digits, padded to the
// format's zeros; other numbers as the file writes them.
QString numberText(const QString &value, int padding)
{
    std::optional<QString> digits = wholeNumberDigits(value);
    if (!digits)
        return value;
    if (!digits->startsWith(u'-') && digits->size() < padding)
        digits->prepend(QString(padding - digits->size(), u'0'));
    return *digits;
}

// "B2:C5" -> rows 1 to 4, columns 1 to 2; nullopt when it is not a range.
struct CellRange
{
    int firstRow, lastRow, firstColumn, lastColumn;
};

int rowOf(QStringView reference)
{
    qsizetype digits = 0;
    while (digits < reference.size() && !reference.at(digits).isDigit())
        ++digits;
    bool ok = false;
    const int row = reference.mid(digits).toInt(&ok);
    return ok && row > 0 ? row - 1 : -1;
}

std::optional<CellRange> rangeOf(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    const QStringView from = text.left(colon);
    const QStringView to = text.mid(colon + 1);
    CellRange range { rowOf(from), rowOf(to), columnOf(from), columnOf(to) };
    if (range.firstRow < 0 || range.firstColumn < 0 || range.lastRow < range.firstRow
        || range.lastColumn < range.firstColumn)
        return std::nullopt;
    return range;
}

// Each merged range takes its top-left cell's value (a department merged
// down the rows of its class), within the rows and columns read.
void fillMerged(QVector<QStringList> &rows, const QVector<CellRange> &ranges)
{
    qint64 budget = qint64(kMaxRows) * kMaxColumns;
    for (const CellRange &range : ranges) {
        if (range.firstRow >= rows.size() || range.firstColumn >= kMaxColumns)
            continue;
        const QStringList &top = rows.at(range.firstRow);
        const QString value =
                range.firstColumn < top.size() ? top.at(range.firstColumn) : QString();
        if (value.isEmpty())
            continue;
        const int lastRow = std::min<int>(range.lastRow, int(rows.size()) - 1);
        const int lastColumn = std::min(range.lastColumn, kMaxColumns - 1);
        for (int r = range.firstRow; r <= lastRow; ++r) {
            QStringList &row = rows[r];
            for (int c = range.firstColumn; c <= lastColumn; ++c) {
                if (--budget < 0)
                    return;
                while (row.size() <= c)
                    row.append(QString());
                row[c] = value;
            }
        }
    }
}

std::optional<QVector<QStringList>> sheetRows(const QByteArray &xml, const QStringList &strings,
                                              const QVector<int> &padding)
{
    QVector<QStringList> rows;
    QVector<CellRange> merged;
    QXmlStreamReader reader(xml);
    int nextColumn = 0;
    bool inRow = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == u"row")
            inRow = false;
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"row") {
            // Rows by their number, so that merged ranges find them; rows
            // the sheet leaves out stay empty.
            const int numbered = reader.attributes().value(QStringLiteral("r")).toInt() - 1;
            const int index = std::max(numbered, int(rows.size()));
            if (index >= kMaxRows)
                break;
            while (rows.size() <= index)
                rows.append(QStringList());
            nextColumn = 0;
            inRow = true;
        } else if (reader.name() == u"mergeCell") {
            if (const auto range = rangeOf(reader.attributes().value(QStringLiteral("ref"))))
                merged << *range;
        } else if (reader.name() == u"c" && inRow) {
            const QXmlStreamAttributes attributes = reader.attributes();
            const int referenced = columnOf(attributes.value(QStringLiteral("r")));
            const int column = referenced >= 0 ? referenced : nextColumn;
            nextColumn = column + 1;
            const QString type = attributes.value(QStringLiteral("t")).toString();
            const int style = attributes.value(QStringLiteral("s")).toInt();
            QString value;
            // The value is in <v>, or in <is><t> for an inline string.
            while (reader.readNextStartElement()) {
                if (reader.name() == u"v") {
                    value = reader.readElementText();
                } else if (reader.name() == u"is") {
                    while (reader.readNextStartElement()) {
                        if (reader.name() == u"t")
                            value += reader.readElementText();
                        else
                            reader.skipCurrentElement();
                    }
                } else {
                    reader.skipCurrentElement();
                }
            }
            if (type == u"s") {
                bool ok = false;
                const int index = value.toInt(&ok);
                value = ok && index >= 0 && index < strings.size() ? strings.at(index) : QString();
            } else if (type.isEmpty() || type == u"n") {
                value = numberText(value,
                                   style >= 0 && style < padding.size() ? padding.at(style) : 0);
            }
            if (column < kMaxColumns) {
                QStringList &row = rows.last();
                while (row.size() <= column)
                    row.append(QString());
                row[column] = value;
            }
        }
    }
    if (reader.hasError())
        return std::nullopt;
    fillMerged(rows, merged);
    return rows;
}

}  // namespace

SheetReading readFirstSheet(const QString &path)
{
    wholefile::Reading file = wholefile::read(path, kMaxFileBytes);
    if (!file.bytes) {
        SheetReading reading;
        reading.problem = file.problem;
        return reading;
    }
    return readFirstSheet(std::move(*file.bytes), path);
}

SheetReading readFirstSheet(QByteArray bytes, const QString &path)
{
    SheetReading reading;
    const QString shown = QDir::toNativeSeparators(path);
    const QString notWorkbook =
            QCoreApplication::translate("Xlsx", "%1 不是可以读取的Excel工作簿（.xlsx）").arg(shown);
    ZipArchive zip(std::move(bytes));
    if (!zip.index()) {
        reading.problem = notWorkbook;
        return reading;
    }
    // A part that is missing may be left out; one that is there must read.
    const auto part = [&](const QString &name) -> std::optional<QByteArray> {
        std::optional<QByteArray> xml = zip.member(name);
        if (!xml && zip.tooLarge())
            reading.problem = QCoreApplication::translate(
                                      "Xlsx", "%1 中的%2展开后超过%3 MB，不像是一份考生名单")
                                      .arg(shown, name)
                                      .arg(kMaxPartBytes / (1024 * 1024));
        else if (!xml && zip.contains(name))
            reading.problem = notWorkbook;
        return xml;
    };
    QStringList strings;
    if (const auto xml = part(QStringLiteral("xl/sharedStrings.xml")))
        strings = sharedStrings(*xml);
    QVector<int> padding;
    if (const auto xml = part(QStringLiteral("xl/styles.xml")))
        padding = zeroPadding(*xml);
    if (!reading.problem.isEmpty())
        return reading;
    const auto sheet = part(firstSheetMember(zip));
    if (sheet)
        reading.rows = sheetRows(*sheet, strings, padding);
    if (!reading.rows && reading.problem.isEmpty())
        reading.problem = notWorkbook;
    return reading;
}

}  // namespace xlsx
