// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/examaspublished.h"

#include "publish/examarticle.h"
#include "exchange/examdigest.h"
#include "exchange/examlimits.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace {

// Five short lines.
constexpr qint64 kMaxFileBytes = 256;

}  // namespace

std::optional<ExamAsPublished> ExamAsPublished::of(qint16 examMinutes, const QByteArray &textBytes,
                                                   const Publication &publication)
{
    const examarticle::Reading text =
            examarticle::fromBytes(textBytes, examarticle::Source::ExamFile);
    if (!text.text)
        return std::nullopt;
    return ExamAsPublished {
        examMinutes, qint32(text.text->size()), examDigest(textBytes), *text.text, textBytes,
        publication
    };
}

namespace {

QString textPathBeside(const QString &path)
{
    return QFileInfo(path).dir().filePath(ExamAsPublished::textFileName());
}

}  // namespace

QString ExamAsPublished::save(const QString &path) const
{
    if (const QString problem = wholefile::write(textPathBeside(path), textBytes);
        !problem.isEmpty())
        return problem;
    // Digits and hex only: the same bytes in GBK as in ASCII.
    const QByteArray bytes = QByteArray::number(examMinutes) + "\r\n"
            + QByteArray::number(textLength) + "\r\n" + textDigest + "\r\n"
            + publication.id.toLatin1() + "\r\n" + (publication.codesRequired ? "1" : "0") + "\r\n";
    return wholefile::write(path, bytes);
}

std::optional<ExamAsPublished> ExamAsPublished::load(const QString &path)
{
    const wholefile::Reading file = wholefile::read(path, kMaxFileBytes);
    if (!file.bytes)
        return std::nullopt;
    const QList<QByteArray> lines = file.bytes->split('\n');
    if (lines.size() < 3)
        return std::nullopt;
    bool minutesOk = false;
    bool lengthOk = false;
    ExamAsPublished exam;
    exam.examMinutes = lines.at(0).trimmed().toShort(&minutesOk);
    exam.textLength = lines.at(1).trimmed().toInt(&lengthOk);
    exam.textDigest = lines.at(2).trimmed();
    if (!minutesOk || !lengthOk || exam.examMinutes <= 0 || exam.textLength < 0
        || exam.textDigest.isEmpty())
        return std::nullopt;
    // An older console kept three lines: an exam without a publication id.
    if (lines.size() >= 5) {
        exam.publication.id = QString::fromLatin1(lines.at(3).trimmed());
        exam.publication.codesRequired = lines.at(4).trimmed() == "1";
    }
    const wholefile::Reading copy =
            wholefile::read(textPathBeside(path), examlimits::kMaxExamTextBytes);
    if (copy.bytes && examDigest(*copy.bytes) == exam.textDigest) {
        const examarticle::Reading text =
                examarticle::fromBytes(*copy.bytes, examarticle::Source::ExamFile);
        exam.text = text.text.value_or(QString());
        exam.textBytes = *copy.bytes;
    }
    return exam;
}
