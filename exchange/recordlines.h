// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record lines: one value per line, every line ending in CR LF, numbers in
// decimal, Booleans as "#TRUE#" / "#FALSE#", text between double quotes,
// all of it GBK. The settings file, the result record and ip.txt use them.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Splits text into lines the way the exchange files are read: a line ends
// at CR or at CR LF (the terminator is dropped); a lone LF stays inside the
// line. A last line without terminator still counts; nothing after a final
// terminator makes no extra line.
QStringList splitRecordLines(QStringView text);

// Text with every line break of any system (CR LF, a lone LF, a lone CR)
// as CR LF, the last line ended too; empty text stays empty. Exam texts are
// compared and counted in this form.
QString withCrLfLines(QStringView text);

class RecordWriter
{
public:
    RecordWriter &integer(qint64 value);
    RecordWriter &single(float value);
    RecordWriter &boolean(bool value);
    RecordWriter &text(QStringView value);

    // The record as GBK bytes, ready to be written to a file.
    QByteArray bytes() const;

private:
    QString m_text;
};

class RecordReader
{
public:
    explicit RecordReader(QByteArrayView gbkBytes);

    int lineCount() const { return int(m_lines.size()); }
    // Each accessor takes the line's index from 0 and is empty when the
    // line is missing or does not convert.
    std::optional<QString> line(int index) const;
    std::optional<bool> boolean(int index) const;
    std::optional<qint16> int16(int index) const;
    std::optional<qint32> int32(int index) const;
    std::optional<float> single(int index) const;
    // The line without its first and its last character (the quotes);
    // empty when the line has fewer than two characters.
    std::optional<QString> text(int index) const;

private:
    QStringList m_lines;
};
