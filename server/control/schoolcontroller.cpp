// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolcontroller.h"

#include "archive/pgpassfile.h"
#include "control/controllog.h"

namespace console {

SchoolController::SchoolController(ExamArchive &local, const QString &applicationFolder,
                                   QObject *parent)
    : QObject(parent), m_local(local), m_settings(applicationFolder)
{
    connect(&m_sender, &SchoolSender::finished, this, &SchoolController::showSent);
    connect(&m_tester, &ConnectionTester::finished, this, &SchoolController::connectionTested);
    m_startNotice = m_settings.movePasswordOut(pgpassfile::path());
    setUp();
}

void SchoolController::setUp()
{
    m_setting = m_settings.inForce();
    m_outbox.reset();
    if (!m_setting.place.isEmpty())
        m_outbox = std::make_unique<SchoolOutbox>(m_local, ArchivePlace::fromText(m_setting.place),
                                                  m_setting.lab, m_setting.teacher);
    else if (m_local.isOpen())
        // Exams an earlier version left waiting without a school archive
        // would go up as soon as one is set; they wait for 上传本机已有的存档.
        // A file that cannot be written says so when the next exam is kept.
        m_local.holdWaiting();
}

QString SchoolController::save(const SchoolSetting &setting)
{
    if (const QString problem = m_settings.save(setting); !problem.isEmpty())
        return problem;
    setUp();
    return {};
}

QString SchoolController::testConnection(const QString &place)
{
    const ArchivePlace archive = ArchivePlace::fromText(place);
    if (!archive.isSchool())
        return tr("学校存档的地址应如 postgresql://用户@服务器:5432/数据库。");
    ExamArchive school(archive);
    if (!school.isOpen())
        return school.startProblem();
    return tr("连接成功：学校存档 %1 可以使用。").arg(archive.shown());
}

void SchoolController::startConnectionTest(const QString &place)
{
    m_tester.start(place);
}

QString SchoolController::writePassword(const QString &place, const QString &password)
{
    return pgpassfile::writeEntry(pgpassfile::path(), place, password);
}

void SchoolController::send()
{
    if (m_outbox)
        startSend(false);
}

void SchoolController::sendNow()
{
    sendOnDemand(false);
}

void SchoolController::sendKeptBefore()
{
    sendOnDemand(true);
}

void SchoolController::sendOnDemand(bool keptBefore)
{
    if (m_outbox)
        startSend(keptBefore);
    else
        emit sendEnded({ 0, 0, tr("没有设置学校存档。") });
}

void SchoolController::startSend(bool keptBefore)
{
    // The file refused at the start is left alone: the thread would open it again.
    if (!m_local.isOpen()) {
        showSent({ 0, 0, m_local.startProblem() });
        return;
    }
    // The exam just kept is counted at once, before the server answers.
    if (const auto waiting = m_outbox->waitingCount(); waiting.value)
        showStatus(*waiting.value, {});
    m_sender.start(
            { m_local.path(), m_setting.place, m_setting.lab, m_setting.teacher, keptBefore });
}

void SchoolController::showSent(const SchoolOutbox::Report &report)
{
    if (report.problem.isEmpty() && report.sent)
        qCInfo(lcControl) << "sent to the school archive:" << report.sent << "exams";
    else if (!report.problem.isEmpty())
        qCWarning(lcControl).noquote() << "sent to the school archive:" << report.sent << "exams,"
                                       << report.waiting << "still waiting:" << report.problem;
    showStatus(report.waiting, report.problem);
    emit sendEnded(report);
}

void SchoolController::showStatus(int waiting, const QString &problem)
{
    m_status = SchoolOutbox::waitingText(waiting);
    m_statusDetail = m_status.isEmpty() ? QString() : problem;
    if (!problem.isEmpty() && !m_status.isEmpty())
        m_status += tr("（") + problem.section(u'\n', 0, 0) + tr("）");
    emit statusChanged(m_status);
}

}  // namespace console
