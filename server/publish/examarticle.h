// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The article an examiner chooses as the exam text. Teachers save articles
// as GBK (older Notepad) or UTF-8 (Notepad since Windows 10 1903, the web,
// Linux editors), with any of the three line breaks. The exam text is GBK
// with CR LF after every line: the client scores the line breaks as typed
// Enter keys, and counts them as two characters.
#include <QByteArray>
#include <QString>

#include <optional>

namespace examarticle {

// Read no more than this from a chosen file (GBK takes two bytes a sign).
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// A chosen article may be either encoding; test.txt and te.txt are GBK
// as this console writes them (GBK bytes can happen to be valid UTF-8).
enum class Source { Chosen, ExamFile };

struct Reading
{
    std::optional<QString> text;  // every line followed by CR LF
    QByteArray examBytes;  // the text as test.txt and te.txt hold it: GBK
    QString problem;  // in Chinese, for the examiner; empty when read
};

// Decodes an article: when chosen, UTF-8 or GBK as textencoding decides; an
// exam file is GBK. Every line break (CR LF, lone LF, lone CR) becomes CR LF,
// and the last line gets one too. Refused, with the first few signs named,
// when GBK cannot hold a sign of it; also when in neither encoding, empty or
// longer than examlimits::kLongestExamTextCharacters.
Reading fromBytes(QByteArrayView bytes, Source source = Source::Chosen);

// The same for a file; the problem names the file when it cannot be read.
Reading fromFile(const QString &path, Source source = Source::Chosen);

}  // namespace examarticle
