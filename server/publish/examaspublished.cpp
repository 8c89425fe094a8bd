#include "publish/examaspublished.h"

#include "publish/examarticle.h"
#include "examdigest.h"
#include "wholefile.h"

#include <QList>

namespace {

// Three short lines.
constexpr qint64 kMaxFileBytes = 256;

}  // namespace

std::optional<ExamAsPublished> ExamAsPublished::of(qint16 examMinutes, const QByteArray &textBytes)
{
    const examarticle::Reading text =
            examarticle::fromBytes(textBytes, examarticle::Source::ExamFile);
    if (!text.text)
        return std::nullopt;
    return ExamAsPublished { examMinutes, qint32(text.text->size()), examDigest(textBytes) };
}

QString ExamAsPublished::save(const QString &path) const
{
    // Digits and hex only: the same bytes in GBK as in ASCII.
    const QByteArray bytes = QByteArray::number(examMinutes) + "\r\n"
            + QByteArray::number(textLength) + "\r\n" + textDigest + "\r\n";
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
    return exam;
}
