// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/schooloutbox.h"

#include "exchange/examdigest.h"
#include "exchange/gbk.h"

#include <QCryptographicHash>

SchoolOutbox::SchoolOutbox(ExamArchive &local, ArchivePlace school, QString lab, QString teacher)
    : m_local(local),
      m_school(std::move(school)),
      m_lab(std::move(lab)),
      m_teacher(std::move(teacher))
{
}

QString SchoolOutbox::schoolKeyOf(const ExamSitting &sitting)
{
    // Random and never reused: no other lab's exam can have it.
    if (!sitting.publication.isEmpty())
        return sitting.publication;
    const QStringList fields { sitting.lab,
                               QString::fromLatin1(examDigest(gbk::encode(sitting.articleText))),
                               sitting.heldAt().toUTC().toString(Qt::ISODate) };
    return QString::fromLatin1(
            QCryptographicHash::hash(fields.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha1)
                    .toHex());
}

QString SchoolOutbox::waitingText(int count)
{
    return count > 0 ? tr("%1 场考试尚未上传到学校存档").arg(count) : QString();
}

ArchiveRead<int> SchoolOutbox::waitingCount()
{
    const auto ids = m_local.waiting();
    if (!ids.value)
        return { std::nullopt, ids.problem };
    return { int(ids.value->size()), {} };
}

SchoolOutbox::Report SchoolOutbox::send(const std::atomic<bool> *stop, ConnectionWatch *watch)
{
    Report report;
    const auto ids = m_local.waiting();
    if (!ids.value)
        return { 0, 0, ids.problem };
    report.waiting = int(ids.value->size());
    if (ids.value->isEmpty())
        return report;
    ExamArchive school(m_school);
    if (!school.isOpen()) {
        report.problem = school.startProblem();
        return report;
    }
    for (const qint64 id : *ids.value) {
        if (stop && *stop)
            return report;
        auto exam = m_local.exam(id);
        if (!exam.value) {
            report.problem = exam.problem;
            return report;
        }
        ExamSitting &sitting = exam.value->sitting;
        if (sitting.lab.isEmpty())
            sitting.lab = m_lab;
        if (sitting.teacher.isEmpty())
            sitting.teacher = m_teacher;
        sitting.key = schoolKeyOf(sitting);
        if (watch)
            watch->begin(school);
        const ExamArchive::Kept kept = school.keep(sitting, exam.value->rows);
        if (watch)
            watch->end();
        report.problem = kept.problem;
        if (report.problem.isEmpty())
            report.problem = m_local.markSent(id, QDateTime::currentDateTimeUtc());
        if (!report.problem.isEmpty())
            return report;
        ++report.sent;
        --report.waiting;
    }
    return report;
}

SchoolOutbox::Report SchoolOutbox::sendKeptBefore(const std::atomic<bool> *stop,
                                                  ConnectionWatch *watch)
{
    if (const QString problem = m_local.queueKeptBefore(m_lab); !problem.isEmpty())
        return { 0, 0, problem };
    return send(stop, watch);
}
