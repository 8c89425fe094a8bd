// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/pdftextmap.h"

#include <QRawFont>
#include <QRegularExpression>

namespace pdftextmap {

namespace {

// The Kangxi radicals and the CJK radicals supplement.
constexpr char16_t kFirstRadical = 0x2E80;
constexpr char16_t kLastRadical = 0x2FDF;

QByteArray hex4(uint code)
{
    return QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
}

// One line of a bfrange or bfchar section with its targets mended.
// `sources` is how many leading codes name glyphs (2 in a range, 1 for a char).
QByteArray mendedLine(const QByteArray &line, int sources,
                      const QHash<char16_t, char16_t> &ideographs)
{
    static const QRegularExpression code(QStringLiteral("<([0-9A-Fa-f]{4})>"));
    const QString text = QString::fromLatin1(line);
    QVector<uint> codes;
    for (auto match = code.globalMatch(text); match.hasNext();)
        codes.append(match.next().captured(1).toUInt(nullptr, 16));
    if (codes.size() <= sources)
        return line;
    const auto mended = [&ideographs](uint target) {
        return uint(ideographs.value(char16_t(target), char16_t(target)));
    };
    const bool linearRange = sources == 2 && !line.contains('[') && codes[1] > codes[0];
    if (!linearRange) {
        QByteArray out = line;
        // Codes are four digits each, so targets are replaced in place.
        int at = 0;
        for (int i = 0; i < codes.size(); ++i) {
            at = out.indexOf('<', at) + 1;
            if (i >= sources)
                out.replace(at, 4, hex4(mended(codes[i])));
        }
        return out;
    }
    // Glyphs in a row named by characters in a row: spelt out one by one
    // when any of those characters is a radical.
    const uint count = codes[1] - codes[0] + 1;
    bool radical = false;
    for (uint i = 0; i < count; ++i)
        radical = radical || mended(codes[2] + i) != codes[2] + i;
    if (!radical)
        return line;
    QByteArray out = '<' + hex4(codes[0]) + "> <" + hex4(codes[1]) + "> [";
    for (uint i = 0; i < count; ++i)
        out += '<' + hex4(mended(codes[2] + i)) + "> ";
    return out + ']';
}

QByteArray mendedMap(const QByteArray &map, const QHash<char16_t, char16_t> &ideographs)
{
    QList<QByteArray> lines = map.split('\n');
    int sources = 0;  // 0 outside a mapping section
    for (QByteArray &line : lines) {
        if (line.endsWith("beginbfrange"))
            sources = 2;
        else if (line.endsWith("beginbfchar"))
            sources = 1;
        else if (line.startsWith("endbf"))
            sources = 0;
        else if (sources)
            line = mendedLine(line, sources, ideographs);
    }
    return lines.join('\n');
}

struct Edit
{
    qsizetype at;  // where the original bytes started
    qsizetype length;  // how many original bytes
    QByteArray bytes;  // what replaces them
};

// The text maps' bodies and their lengths, each as an edit of `pdf`.
std::optional<QVector<Edit>> mapEdits(const QByteArray &pdf,
                                      const QHash<char16_t, char16_t> &ideographs)
{
    QVector<Edit> edits;
    for (qsizetype found = pdf.indexOf("begincmap"); found >= 0;
         found = pdf.indexOf("begincmap", found + 1)) {
        const qsizetype body = pdf.lastIndexOf("stream\n", found);
        const qsizetype lengthKey = pdf.lastIndexOf("/Length ", body);
        if (body < 0 || lengthKey < 0)
            return std::nullopt;
        const qsizetype digits = lengthKey + 8;
        qsizetype end = digits;
        while (end < pdf.size() && std::isdigit(static_cast<unsigned char>(pdf[end])))
            ++end;
        bool ok = false;
        const qsizetype length = pdf.mid(digits, end - digits).toLongLong(&ok);
        // A length given elsewhere ("9 0 R") is not how QPdfWriter writes these.
        if (!ok || pdf.mid(end, 3) == " 0 ")
            return std::nullopt;
        const qsizetype start = body + 7;
        const QByteArray map = pdf.mid(start, length);
        const QByteArray mended = mendedMap(map, ideographs);
        if (mended == map)
            continue;
        edits.append({ lengthKey + 8, end - digits, QByteArray::number(mended.size()) });
        edits.append({ start, length, mended });
    }
    return edits;
}

}  // namespace

QHash<char16_t, char16_t> radicalIdeographs(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    QString radicals;
    for (char16_t code = kFirstRadical; code <= kLastRadical; ++code)
        radicals += QChar(code);
    const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
    QHash<quint32, char16_t> sharedBy;
    for (const quint32 glyph : radicalGlyphs) {
        if (glyph)
            sharedBy.insert(glyph, 0);
    }
    // Unified ideographs, extension A and the compatibility block, lowest first.
    for (const auto &[first, last] : { std::pair<char16_t, char16_t> { 0x3400, 0x4DBF },
                                       { 0x4E00, 0x9FFF },
                                       { 0xF900, 0xFAFF } }) {
        QString block;
        for (char16_t code = first; code <= last; ++code)
            block += QChar(code);
        const QList<quint32> glyphs = raw.glyphIndexesForString(block);
        for (int i = 0; i < glyphs.size(); ++i) {
            const auto shared = sharedBy.find(glyphs[i]);
            if (shared != sharedBy.end() && !*shared)
                *shared = char16_t(first + i);
        }
    }
    QHash<char16_t, char16_t> ideographs;
    for (int i = 0; i < radicals.size(); ++i) {
        char16_t ideograph = sharedBy.value(i < radicalGlyphs.size() ? radicalGlyphs[i] : 0);
        if (!ideograph) {
            const QString compatible = radicals.mid(i, 1).normalized(QString::NormalizationForm_KC);
            if (compatible.size() == 1 && compatible != radicals.mid(i, 1))
                ideograph = compatible.front().unicode();
        }
        if (ideograph)
            ideographs.insert(radicals[i].unicode(), ideograph);
    }
    // The blank is drawn with the glyph of the tab before it, and a reader
    // would not take the tab for the gap between words.
    const quint32 blank = raw.glyphIndexesForString(QStringLiteral(" ")).value(0);
    for (char16_t control = 1; control < 0x20; ++control) {
        if (blank && raw.glyphIndexesForString(QString(QChar(control))).value(0) == blank)
            ideographs.insert(control, u' ');
    }
    return ideographs;
}

QByteArray withIdeographs(const QByteArray &pdf, const QHash<char16_t, char16_t> &ideographs)
{
    const auto edits = mapEdits(pdf, ideographs);
    if (!edits || edits->isEmpty())
        return pdf;
    // The one cross-reference table QPdfWriter writes, and where it starts.
    const qsizetype table = pdf.lastIndexOf("\nxref\n");
    const qsizetype startKey = pdf.lastIndexOf("startxref\n");
    if (table < 0 || startKey < table || table < edits->last().at)
        return pdf;
    const auto moved = [&edits](qsizetype offset) {
        qsizetype shift = 0;
        for (const Edit &edit : *edits) {
            if (edit.at < offset)
                shift += edit.bytes.size() - edit.length;
        }
        return offset + shift;
    };
    QList<QByteArray> tail = pdf.mid(table + 1).split('\n');
    // "xref", "0 N", then N entries "0000000015 00000 n ".
    if (tail.size() < 3 || !tail[1].startsWith("0 "))
        return pdf;
    const int entries = tail[1].mid(2).trimmed().toInt();
    if (tail.size() < 2 + entries)
        return pdf;
    for (int i = 2; i < 2 + entries; ++i) {
        QByteArray &entry = tail[i];
        if (entry.size() < 18 || entry[17] != 'n')
            continue;
        entry.replace(
                0, 10,
                QByteArray::number(moved(entry.left(10).toLongLong())).rightJustified(10, '0'));
    }
    for (int i = 2 + entries; i + 1 < tail.size(); ++i) {
        if (tail[i] == "startxref") {
            tail[i + 1] = QByteArray::number(moved(table + 1));
            break;
        }
    }
    QByteArray out = pdf.left(table + 1);
    for (auto edit = edits->crbegin(); edit != edits->crend(); ++edit)
        out.replace(edit->at, edit->length, edit->bytes);
    return out + tail.join('\n');
}

}  // namespace pdftextmap
