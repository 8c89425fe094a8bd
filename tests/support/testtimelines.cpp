// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "testtimelines.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

// A person's interval between keys: around 180 ms, rarely under 60, now and
// then a pause of a second or more.
qint32 nextInterval(QRandomGenerator &random)
{
    if (random.bounded(60) == 0)
        return 800 + random.bounded(2500);
    const double spread =
            random.generateDouble() + random.generateDouble() + random.generateDouble();
    return std::max(40, int(60 + spread * 80));
}

class RunWriter
{
public:
    explicit RunWriter(quint32 seed) : m_random(seed) { }

    void key(bool intoComposition)
    {
        m_atMs += nextInterval(m_random);
        m_timeline.keys.push_back({ m_atMs, intoComposition });
    }

    void insert(const QString &text, TimelineEdit::Source source)
    {
        m_timeline.edits.push_back({ m_atMs, m_length, 0, text, source });
        m_length += qint32(text.size());
    }

    void backspace()
    {
        key(false);
        m_timeline.edits.push_back(
                { m_atMs, m_length - 1, 1, QString(), TimelineEdit::Source::Keys });
        --m_length;
    }

    void typeByKey(QChar character)
    {
        if (m_random.bounded(40) == 0 && character.isLetter()) {
            key(false);
            insert(QString(QChar(u'a' + m_random.bounded(26))), TimelineEdit::Source::Keys);
            backspace();
        }
        key(false);
        insert(QString(character), TimelineEdit::Source::Keys);
    }

    QRandomGenerator &random() { return m_random; }
    KeyTimeline take() { return std::move(m_timeline); }

private:
    QRandomGenerator m_random;
    KeyTimeline m_timeline;
    qint32 m_atMs = 0;
    qint32 m_length = 0;
};

}  // namespace

KeyTimeline typedByKeys(const QString &text, quint32 seed)
{
    RunWriter run(seed);
    for (QChar character : text)
        run.typeByKey(character);
    return run.take();
}

KeyTimeline typedByPinyin(const QString &text, quint32 seed)
{
    RunWriter run(seed);
    for (qsizetype at = 0; at < text.size();) {
        if (!keytimeline::isHanzi(text[at])) {
            run.typeByKey(text[at++]);
            continue;
        }
        const bool word = at + 1 < text.size() && keytimeline::isHanzi(text[at + 1])
                && run.random().bounded(2) == 0;
        const int characters = word ? 2 : 1;
        for (int i = 0, keys = 2 * characters + run.random().bounded(4); i < keys; ++i)
            run.key(true);
        run.key(true);  // the space that picks the candidate
        run.insert(text.mid(at, characters), TimelineEdit::Source::InputMethod);
        at += characters;
    }
    return run.take();
}

QString englishText(int length, quint32 seed)
{
    static const char *const kWords[] = { "the",    "quick",   "brown",   "fox",    "jumps",
                                          "over",   "lazy",    "dog",     "typing", "exam",
                                          "class",  "teacher", "student", "window", "speed",
                                          "record", "minute",  "paper",   "school", "answer" };
    QRandomGenerator random(seed);
    QString text;
    while (text.size() < length) {
        text += QLatin1String(kWords[random.bounded(int(std::size(kWords)))]);
        const int end = random.bounded(12);
        text += end == 0   ? QStringLiteral(". ")
                : end == 1 ? QStringLiteral("\n")
                           : QStringLiteral(" ");
    }
    return text.left(length);
}

QString chineseText(int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QString text;
    while (text.size() < length) {
        // The most common characters lie early in the block; a real text uses a few thousand.
        text += QChar(char16_t(0x4e00 + random.bounded(3000) * 5));
        const int end = random.bounded(15);
        if (end == 0)
            text += u'，';
        else if (end == 1)
            text += u'。';
        else if (end == 2)
            text += u'\n';
    }
    return text.left(length);
}
