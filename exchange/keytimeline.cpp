// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/keytimeline.h"

#include <algorithm>
#include <limits>
#include <QCoreApplication>

// Before compression a timeline is a format byte, a kind byte and columns of
// unsigned LEB128 numbers, one column per kind of value, because like
// values side by side compress best:
//   whole:  key count, edit count; then every event in clock order as
//           (zigzag(ms since the event before) << 2 | event kind); each
//           edit's position as zigzag(position - where the edit before
//           ended); removed counts; inserted lengths in UTF-16 units; the
//           byte count and UTF-8 of all inserted texts one after the other.
//   coarse: step seconds, step count, then each count of TimelineStep as a
//           column over the steps.
namespace {

constexpr char kFormat = 1;
constexpr char kWhole = 0;
constexpr char kCoarse = 1;

// The counts of a step, in the order they are written.
constexpr qint32 TimelineStep::*kCounts[] = {
    &TimelineStep::keys,        &TimelineStep::compositionKeys,
    &TimelineStep::inserted,    &TimelineStep::insertedByInputMethod,
    &TimelineStep::hanziByKeys, &TimelineStep::removed,
};

enum EventKind : quint32 { PlainKey = 0, CompositionKey = 1, KeysEdit = 2, InputMethodEdit = 3 };

// A timeline that fits its section unpacks to far less; more is not one.
constexpr qsizetype kMaxUnpackedBytes = 16 * 1024 * 1024;
// No exam runs longer than 546 minutes; a wider step than this is not one.
constexpr qint32 kWidestStepSeconds = 1 << 16;

QString damaged()
{
    return QCoreApplication::translate("KeyTimeline", "按键记录已损坏");
}

quint32 zigzag(qint64 value)
{
    return quint32((quint64(value) << 1) ^ quint64(value >> 63));
}

qint64 unzigzag(quint32 value)
{
    return qint64(value >> 1) ^ -qint64(value & 1);
}

void putNumber(QByteArray &out, quint32 value)
{
    while (value >= 0x80) {
        out.append(char(value | 0x80));
        value >>= 7;
    }
    out.append(char(value));
}

class NumberReader
{
public:
    explicit NumberReader(QByteArrayView bytes) : m_bytes(bytes) { }

    std::optional<quint32> next()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (m_at >= m_bytes.size())
                return std::nullopt;
            const auto byte = quint8(m_bytes[m_at++]);
            value |= quint64(byte & 0x7f) << shift;
            if (!(byte & 0x80)) {
                if (value > std::numeric_limits<quint32>::max())
                    return std::nullopt;
                return quint32(value);
            }
        }
        return std::nullopt;
    }

    // A count of things that take at least one byte each.
    std::optional<quint32> count()
    {
        const auto value = next();
        if (!value || *value > quint32(remaining()))
            return std::nullopt;
        return value;
    }

    std::optional<QByteArrayView> take(quint32 size)
    {
        if (size > quint32(remaining()))
            return std::nullopt;
        const QByteArrayView part = m_bytes.sliced(m_at, size);
        m_at += size;
        return part;
    }

    qsizetype remaining() const { return m_bytes.size() - m_at; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// Counts added up into a wider step stop at the largest a count holds.
void addCount(qint32 &to, qint32 count)
{
    to = qint32(std::min<qint64>(qint64(to) + count, std::numeric_limits<qint32>::max()));
}

bool fitsInt32(qint64 value)
{
    return value >= 0 && value <= std::numeric_limits<qint32>::max();
}

QByteArray wholeBytes(const KeyTimeline &timeline)
{
    QByteArray events, positions, removed, lengths;
    QString texts;
    putNumber(events, quint32(timeline.keys.size()));
    putNumber(events, quint32(timeline.edits.size()));
    qint64 lastMs = 0;
    qint64 expectedPosition = 0;
    auto putEvent = [&](qint32 atMs, quint32 kind) {
        putNumber(events, (zigzag(atMs - lastMs) << 2) | kind);
        lastMs = atMs;
    };
    auto key = timeline.keys.cbegin();
    for (const TimelineEdit &edit : timeline.edits) {
        // A key pressed in the same millisecond as an edit caused it.
        for (; key != timeline.keys.cend() && key->atMs <= edit.atMs; ++key)
            putEvent(key->atMs, key->intoComposition ? CompositionKey : PlainKey);
        putEvent(edit.atMs,
                 edit.source == TimelineEdit::Source::InputMethod ? InputMethodEdit : KeysEdit);
        putNumber(positions, zigzag(edit.position - expectedPosition));
        putNumber(removed, quint32(edit.removed));
        putNumber(lengths, quint32(edit.inserted.size()));
        texts += edit.inserted;
        expectedPosition = qint64(edit.position) + edit.inserted.size();
    }
    for (; key != timeline.keys.cend(); ++key)
        putEvent(key->atMs, key->intoComposition ? CompositionKey : PlainKey);
    const QByteArray utf8 = texts.toUtf8();
    QByteArray bytes =
            QByteArray(1, kFormat) + char(kWhole) + events + positions + removed + lengths;
    putNumber(bytes, quint32(utf8.size()));
    return bytes + utf8;
}

QByteArray coarseBytes(const KeyTimeline &timeline)
{
    QByteArray bytes = QByteArray(1, kFormat) + char(kCoarse);
    putNumber(bytes, quint32(timeline.stepSeconds));
    putNumber(bytes, quint32(timeline.steps.size()));
    for (qint32 TimelineStep::*count : kCounts) {
        for (const TimelineStep &step : timeline.steps)
            putNumber(bytes, quint32(step.*count));
    }
    return bytes;
}

std::optional<KeyTimeline> readWhole(NumberReader &reader)
{
    const auto keyCount = reader.count();
    const auto editCount = keyCount ? reader.count() : std::nullopt;
    if (!editCount || *keyCount + quint64(*editCount) > quint64(reader.remaining()))
        return std::nullopt;
    KeyTimeline timeline;
    timeline.keys.reserve(*keyCount);
    timeline.edits.reserve(*editCount);
    qint64 atMs = 0;
    for (quint32 i = 0; i < *keyCount + *editCount; ++i) {
        const auto event = reader.next();
        if (!event)
            return std::nullopt;
        atMs += unzigzag(*event >> 2);
        if (!fitsInt32(atMs))
            return std::nullopt;
        const quint32 kind = *event & 3;
        if (kind == PlainKey || kind == CompositionKey) {
            timeline.keys.push_back({ qint32(atMs), kind == CompositionKey });
        } else {
            TimelineEdit edit;
            edit.atMs = qint32(atMs);
            edit.source = kind == InputMethodEdit ? TimelineEdit::Source::InputMethod
                                                  : TimelineEdit::Source::Keys;
            timeline.edits.push_back(edit);
        }
    }
    if (timeline.keys.size() != *keyCount)
        return std::nullopt;
    std::vector<qint64> offsets;
    offsets.reserve(timeline.edits.size());
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        const auto offset = reader.next();
        if (!offset)
            return std::nullopt;
        offsets.push_back(unzigzag(*offset));
    }
    for (TimelineEdit &edit : timeline.edits) {
        const auto removed = reader.next();
        if (!removed || !fitsInt32(*removed))
            return std::nullopt;
        edit.removed = qint32(*removed);
    }
    std::vector<quint32> lengths;
    lengths.reserve(timeline.edits.size());
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        const auto length = reader.next();
        if (!length)
            return std::nullopt;
        lengths.push_back(*length);
    }
    const auto textBytes = reader.next();
    const auto utf8 = textBytes ? reader.take(*textBytes) : std::nullopt;
    if (!utf8 || reader.remaining() != 0)
        return std::nullopt;
    const QString texts = QString::fromUtf8(*utf8);
    qsizetype at = 0;
    qint64 expectedPosition = 0;
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        TimelineEdit &edit = timeline.edits[i];
        const qint64 position = expectedPosition + offsets[i];
        if (lengths[i] > quint64(texts.size() - at) || !fitsInt32(position))
            return std::nullopt;
        edit.position = qint32(position);
        edit.inserted = texts.sliced(at, lengths[i]);
        at += lengths[i];
        expectedPosition = position + lengths[i];
    }
    if (at != texts.size())
        return std::nullopt;
    return timeline;
}

std::optional<KeyTimeline> readCoarse(NumberReader &reader)
{
    const auto stepSeconds = reader.next();
    const auto stepCount = stepSeconds ? reader.count() : std::nullopt;
    if (!stepCount || *stepSeconds < 1 || *stepSeconds > quint32(kWidestStepSeconds))
        return std::nullopt;
    KeyTimeline timeline;
    timeline.coarse = true;
    timeline.stepSeconds = qint32(*stepSeconds);
    timeline.steps.resize(*stepCount);
    for (qint32 TimelineStep::*count : kCounts) {
        for (TimelineStep &step : timeline.steps) {
            const auto value = reader.next();
            if (!value || !fitsInt32(*value))
                return std::nullopt;
            step.*count = qint32(*value);
        }
    }
    if (reader.remaining() != 0)
        return std::nullopt;
    return timeline;
}

}  // namespace

TimelineStep &operator+=(TimelineStep &to, const TimelineStep &from)
{
    for (qint32 TimelineStep::*count : kCounts)
        addCount(to.*count, from.*count);
    return to;
}

namespace keytimeline {

bool isHanzi(QChar character)
{
    const char16_t unit = character.unicode();
    return (unit >= 0x4e00 && unit <= 0x9fff) || (unit >= 0x3400 && unit <= 0x4dbf);
}

KeyTimeline coarsened(const KeyTimeline &timeline, qint32 stepSeconds)
{
    KeyTimeline result;
    result.coarse = true;
    result.stepSeconds = std::clamp(stepSeconds, 1, kWidestStepSeconds);
    const qint64 stepMs = qint64(result.stepSeconds) * 1000;
    auto stepAt = [&](qint64 atMs) -> TimelineStep & {
        const size_t index = size_t(std::max<qint64>(atMs, 0) / stepMs);
        if (result.steps.size() <= index)
            result.steps.resize(index + 1);
        return result.steps[index];
    };
    if (timeline.coarse) {
        for (size_t i = 0; i < timeline.steps.size(); ++i)
            stepAt(qint64(i) * timeline.stepSeconds * 1000) += timeline.steps[i];
        return result;
    }
    for (const TimelineKey &key : timeline.keys) {
        TimelineStep &step = stepAt(key.atMs);
        ++step.keys;
        step.compositionKeys += key.intoComposition ? 1 : 0;
    }
    for (const TimelineEdit &edit : timeline.edits) {
        TimelineStep &step = stepAt(edit.atMs);
        const qint32 inserted = qint32(edit.inserted.size());
        addCount(step.inserted, inserted);
        addCount(step.removed, edit.removed);
        if (edit.source == TimelineEdit::Source::InputMethod)
            addCount(step.insertedByInputMethod, inserted);
        else
            addCount(step.hanziByKeys,
                     qint32(std::count_if(edit.inserted.cbegin(), edit.inserted.cend(), isHanzi)));
    }
    return result;
}

QByteArray encode(const KeyTimeline &timeline)
{
    return qCompress(timeline.coarse ? coarseBytes(timeline) : wholeBytes(timeline), 9);
}

QByteArray encodeWithinBound(const KeyTimeline &timeline)
{
    QByteArray bytes = encode(timeline);
    qint32 stepSeconds = timeline.coarse ? timeline.stepSeconds : 1;
    while (bytes.size() > kMaxEncodedBytes && stepSeconds <= kWidestStepSeconds) {
        bytes = encode(coarsened(timeline, stepSeconds));
        stepSeconds *= 2;
    }
    return bytes;
}

Reading decode(QByteArrayView bytes)
{
    if (bytes.size() > kMaxEncodedBytes)
        return { std::nullopt, QCoreApplication::translate("KeyTimeline", "按键记录过大") };
    if (bytes.size() < 4)
        return { std::nullopt, damaged() };
    // qCompress leads with the unpacked size, big-endian; refuse a claim
    // beyond any real timeline before anything is allocated for it.
    const quint32 claimed = quint32(quint8(bytes[0])) << 24 | quint32(quint8(bytes[1])) << 16
            | quint32(quint8(bytes[2])) << 8 | quint32(quint8(bytes[3]));
    if (claimed > quint32(kMaxUnpackedBytes))
        return { std::nullopt, QCoreApplication::translate("KeyTimeline", "按键记录过大") };
    const QByteArray plain =
            qUncompress(reinterpret_cast<const uchar *>(bytes.data()), bytes.size());
    if (plain.size() < 2 || plain[0] != kFormat)
        return { std::nullopt, damaged() };
    NumberReader reader(QByteArrayView(plain).sliced(2));
    std::optional<KeyTimeline> timeline;
    if (plain[1] == kWhole)
        timeline = readWhole(reader);
    else if (plain[1] == kCoarse)
        timeline = readCoarse(reader);
    if (!timeline)
        return { std::nullopt, damaged() };
    return { std::move(timeline), QString() };
}

std::optional<QString> replayed(const std::vector<TimelineEdit> &edits)
{
    QString text;
    for (const TimelineEdit &edit : edits) {
        if (edit.position > text.size() || edit.removed > text.size() - edit.position)
            return std::nullopt;
        text.replace(edit.position, edit.removed, edit.inserted);
    }
    return text;
}

}  // namespace keytimeline
