#include "class/xlsxsheet.h"

#include "wholefile.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

#include <zlib.h>

#include <cmath>

namespace xlsx {

namespace {

quint32 le(const QByteArray &bytes, qint64 at, int width)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The members of a zip archive, found through its central directory.
class ZipArchive
{
public:
    explicit ZipArchive(QByteArray bytes) : m_bytes(std::move(bytes)) { }

    // Lists the members; false when this is no zip archive we can read.
    bool index()
    {
        const qint64 size = m_bytes.size();
        constexpr qint64 kEndRecord = 22;
        if (size < kEndRecord)
            return false;
        // The end record sits in the last 22 bytes plus a comment of up to 64 KiB.
        qint64 end = -1;
        for (qint64 at = size - kEndRecord; at >= 0 && at >= size - kEndRecord - 0xFFFF; --at) {
            if (le(m_bytes, at, 4) == 0x06054b50) {
                end = at;
                break;
            }
        }
        if (end < 0)
            return false;
        const quint32 count = le(m_bytes, end + 10, 2);
        qint64 at = le(m_bytes, end + 16, 4);
        for (quint32 i = 0; i < count; ++i) {
            if (at + 46 > size || le(m_bytes, at, 4) != 0x02014b50)
                return false;
            Member member;
            member.method = le(m_bytes, at + 10, 2);
            member.packedSize = le(m_bytes, at + 20, 4);
            member.size = le(m_bytes, at + 24, 4);
            const qint64 nameLength = le(m_bytes, at + 28, 2);
            const qint64 extraLength = le(m_bytes, at + 30, 2);
            const qint64 commentLength = le(m_bytes, at + 32, 2);
            member.localHeader = le(m_bytes, at + 42, 4);
            if (at + 46 + nameLength > size)
                return false;
            m_members.insert(QString::fromUtf8(m_bytes.mid(at + 46, nameLength)), member);
            at += 46 + nameLength + extraLength + commentLength;
        }
        return true;
    }

    bool contains(const QString &name) const { return m_members.contains(name); }

    std::optional<QByteArray> member(const QString &name) const
    {
        const auto found = m_members.constFind(name);
        if (found == m_members.constEnd())
            return std::nullopt;
        const Member &m = *found;
        const qint64 header = m.localHeader;
        if (header + 30 > m_bytes.size() || le(m_bytes, header, 4) != 0x04034b50)
            return std::nullopt;
        const qint64 data = header + 30 + le(m_bytes, header + 26, 2) + le(m_bytes, header + 28, 2);
        if (data + qint64(m.packedSize) > m_bytes.size() || qint64(m.size) > kMaxPartBytes)
            return std::nullopt;
        if (m.method == 0)
            return m_bytes.mid(data, m.packedSize);
        if (m.method != 8)
            return std::nullopt;
        // Raw deflate into exactly the size the directory declares.
        QByteArray out(qsizetype(m.size), Qt::Uninitialized);
        z_stream stream {};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return std::nullopt;
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(m_bytes.constData() + data));
        stream.avail_in = m.packedSize;
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = m.size;
        const int status = inflate(&stream, Z_FINISH);
        const bool whole = status == Z_STREAM_END && stream.total_out == m.size;
        inflateEnd(&stream);
        if (!whole)
            return std::nullopt;
        return out;
    }

private:
    struct Member
    {
        quint32 method = 0;
        quint32 packedSize = 0;
        quint32 size = 0;
        quint32 localHeader = 0;
    };
    QByteArray m_bytes;
    QHash<QString, Member> m_members;
};

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

// The sheet the workbook lists first, as a member name; sheet1 when the
// workbook does not say.
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
        if (book.readNext() == QXmlStreamReader::StartElement && book.name() == u"sheet") {
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

// Whole numbers as integers (an exam number stored as a number reads
// 2026001, not 2.026001E6); other numbers as the file writes them.
QString numberText(const QString &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && number == std::floor(number) && std::abs(number) < 1e15)
        return QString::number(qint64(number));
    return value;
}

std::optional<QVector<QStringList>> sheetRows(const QByteArray &xml, const QStringList &strings)
{
    QVector<QStringList> rows;
    QXmlStreamReader reader(xml);
    int nextColumn = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"row") {
            if (rows.size() >= kMaxRows)
                break;
            rows.append(QStringList());
            nextColumn = 0;
        } else if (reader.name() == u"c" && !rows.isEmpty()) {
            const int referenced = columnOf(reader.attributes().value(QStringLiteral("r")));
            const int column = referenced >= 0 ? referenced : nextColumn;
            nextColumn = column + 1;
            const QString type = reader.attributes().value(QStringLiteral("t")).toString();
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
                value = numberText(value);
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
    const QString notWorkbook = QStringLiteral("%1 不是可以读取的Excel工作簿（.xlsx）")
                                        .arg(QDir::toNativeSeparators(path));
    ZipArchive zip(std::move(bytes));
    if (!zip.index()) {
        reading.problem = notWorkbook;
        return reading;
    }
    QStringList strings;
    if (zip.contains(QStringLiteral("xl/sharedStrings.xml"))) {
        const auto xml = zip.member(QStringLiteral("xl/sharedStrings.xml"));
        if (!xml) {
            reading.problem = notWorkbook;
            return reading;
        }
        strings = sharedStrings(*xml);
    }
    const auto sheet = zip.member(firstSheetMember(zip));
    if (sheet)
        reading.rows = sheetRows(*sheet, strings);
    if (!reading.rows)
        reading.problem = notWorkbook;
    return reading;
}

}  // namespace xlsx
