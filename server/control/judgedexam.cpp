// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/judgedexam.h"

#include "publish/examarticle.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace console {

namespace {

constexpr qint32 kSecondsPerMinute = 60;

}  // namespace

JudgedExam::JudgedExam(const LoginGate &gate, const ExamSettingsController &settings,
                       QString exchangeFolder)
    : m_gate(gate), m_settings(settings), m_exchangeFolder(std::move(exchangeFolder))
{
}

ExamFacts JudgedExam::facts() const
{
    // The exam the class was given, not the settings as they stand now:
    // they may already hold the next sitting's time. The judging standard,
    // though, is the one in force now.
    if (const auto &published = m_gate.examAsPublished())
        return { qint32(published->examMinutes) * kSecondsPerMinute,
                 published->textLength,
                 true,
                 published->text,
                 published->textDigest,
                 m_settings.judgingStandard(),
                 !published->publication.id.isEmpty() };
    // A console that has no record of publishing has only its settings.
    return { qint32(m_settings.examMinutes()) * kSecondsPerMinute,
             m_publishedLength,
             false,
             {},
             {},
             m_settings.judgingStandard() };
}

void JudgedExam::countPublishedText()
{
    // Only a console with no record of its publishing counts te.txt: the
    // record already holds the length (see facts()). Counted as the
    // client counts it; kept when login closes and the text is withdrawn.
    if (m_gate.examAsPublished())
        return;
    const QString published = QDir(m_exchangeFolder).filePath(LoginGate::publishedTextName());
    const QFileInfo info(published);
    // Counted again only when the file changed: the automatic collection
    // asks every few seconds.
    const QString stamp = QString::number(info.size()) + u'@'
            + QString::number(info.lastModified().toMSecsSinceEpoch());
    if (info.isFile() && stamp != m_publishedStamp) {
        m_publishedStamp = stamp;
        // Anyone may replace te.txt: the read is bounded.
        if (const examarticle::Reading text =
                    examarticle::fromFile(published, examarticle::Source::ExamFile);
            text.text)
            m_publishedLength = qint32(text.text->size());
    }
}

void JudgedExam::forgetPublishedText()
{
    m_publishedLength.reset();
    m_publishedStamp.clear();
}

}  // namespace console
