// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/exampublications.h"

#include "exchange/wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

#include <algorithm>

namespace {

// A pb.txt rewritten at every collection of a long exam stays far below.
constexpr int kMaxForged = 1000;
constexpr qint64 kMaxFileBytes = 128 * 1024;

const QByteArray kOwnWord = "own";
const QByteArray kForgedWord = "forged";

const ExamPublications::Seen *findId(const QVector<ExamPublications::Seen> &list, const QString &id)
{
    const auto found =
            std::find_if(list.cbegin(), list.cend(),
                         [&id](const ExamPublications::Seen &seen) { return seen.id == id; });
    return found == list.cend() ? nullptr : &*found;
}

}  // namespace

QByteArray ExamPublications::examKey(const ExamAsPublished &exam)
{
    return QByteArray::number(exam.examMinutes) + ' ' + exam.textDigest + ' '
            + (exam.publication.codesRequired ? "1" : "0");
}

ExamPublications ExamPublications::load(const QString &path)
{
    const wholefile::Reading file = wholefile::read(path, kMaxFileBytes);
    if (!file.bytes)
        return {};
    const QList<QByteArray> lines = file.bytes->split('\n');
    ExamPublications list;
    list.m_exam = lines.value(0).trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> words = lines.at(i).trimmed().split(' ');
        if (words.size() != 3)
            continue;
        bool timeOk = false;
        const qint64 msecs = words.at(2).toLongLong(&timeOk);
        if (!timeOk)
            continue;
        const Seen seen { QString::fromLatin1(words.at(1)),
                          QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC) };
        if (words.at(0) == kOwnWord)
            list.m_own << seen;
        else if (words.at(0) == kForgedWord)
            list.m_forged << seen;
    }
    return list;
}

ExamPublications ExamPublications::ofPublishedExam(const QString &applicationFolder)
{
    const QString examPath = QDir(applicationFolder).filePath(ExamAsPublished::fileName());
    const auto exam = ExamAsPublished::load(examPath);
    if (!exam)
        return {};
    // fb.txt is written as the exam goes out: its time is the publication's.
    const QDateTime publishedAt = QFileInfo(examPath).lastModified().toUTC();
    ExamPublications list = load(QDir(applicationFolder).filePath(fileName()));
    // Kept by a console that kept no list, or cleared since: that publication alone.
    if (list.m_exam != examKey(*exam) || !list.isOwn(exam->publication.id))
        list = {};
    list.published(*exam, publishedAt);
    for (Seen &own : list.m_own) {
        if (own.id == exam->publication.id)
            own.at = publishedAt;
    }
    return list;
}

QString ExamPublications::save(const QString &path) const
{
    // Digits, hex and ASCII words: the same bytes in GBK as in ASCII.
    QByteArray bytes = m_exam + "\r\n";
    const auto lines = [&bytes](const QByteArray &word, const QVector<Seen> &list) {
        for (const Seen &seen : list)
            bytes += word + ' ' + seen.id.toLatin1() + ' '
                    + QByteArray::number(seen.at.toMSecsSinceEpoch()) + "\r\n";
    };
    lines(kOwnWord, m_own);
    lines(kForgedWord, m_forged);
    return wholefile::write(path, bytes);
}

void ExamPublications::published(const ExamAsPublished &exam, const QDateTime &at)
{
    if (const QByteArray key = examKey(exam); key != m_exam) {
        m_exam = key;
        m_own.clear();
        m_forged.clear();
    }
    if (!exam.publication.id.isEmpty() && !isOwn(exam.publication.id))
        m_own.append({ exam.publication.id, at });
}

void ExamPublications::forged(const QString &id, const QDateTime &at)
{
    if (id.isEmpty() || isOwn(id) || forgedOf(id) || m_forged.size() >= kMaxForged)
        return;
    m_forged.append({ id, at });
}

bool ExamPublications::isOwn(const QString &id) const
{
    return findId(m_own, id) != nullptr;
}

const ExamPublications::Seen *ExamPublications::forgedOf(const QString &id) const
{
    return findId(m_forged, id);
}

QStringList ExamPublications::ownIds() const
{
    QStringList ids;
    for (const Seen &seen : m_own)
        ids << seen.id;
    return ids;
}

QStringList ExamPublications::ids() const
{
    QStringList ids = ownIds();
    for (const Seen &seen : m_forged)
        ids << seen.id;
    return ids;
}
