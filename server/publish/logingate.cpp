// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/logingate.h"

#include "publish/examarticle.h"
#include "publish/exampublications.h"
#include "publish/exampublishing.h"
#include "exchange/examdigest.h"
#include "exchange/examsettings.h"
#include "exchange/paths.h"
#include "exchange/transcode.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>

namespace {

const QString kPlainSettingsScratch = QStringLiteral("se.dll");
const QString kScrambledSettingsScratch = QStringLiteral("se1.dll");
// The console's own exam text, as it saves it; far above any real article.
constexpr qint64 kMaxExamTextBytes = examarticle::kMaxFileBytes;
// A published se.dll is two short lines.
constexpr qint64 kMaxSettingsBytes = 4096;

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Removes a file when it is there; the text says why it could not be.
QString removeIfPresent(const QString &path)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return {};
    return QCoreApplication::translate("LoginGate", "无法删除 %1：%2")
            .arg(nativePath(path), file.errorString());
}

}  // namespace

LoginGate::LoginGate(QString applicationFolder, QString exchangeFolder, ConsoleIdentity self)
    : m_settings(std::move(applicationFolder)),
      m_exchangeFolder(std::move(exchangeFolder)),
      m_marker(m_exchangeFolder, std::move(self))
{
    // A console that ended while login was open left se.dll behind, and
    // examinees can still log in: the gate must say so.
    m_open = QFileInfo(publishedPath(publishedSettingsName())).isFile();
    loadKept();
}

LoginGate::Readiness LoginGate::readiness() const
{
    const bool folderReady = paths::exchangeFolderIsReady(m_exchangeFolder);
    const bool hasTime = m_settings.hasExamTime();
    const bool hasText = m_settings.hasExamText();
    if (!hasText)
        return Readiness::NoExamText;
    if (!hasTime)
        return Readiness::NoExamTime;
    if (!folderReady)
        return Readiness::NoExchangeFolder;
    return Readiness::Ready;
}

QString LoginGate::readinessMessage(Readiness readiness) const
{
    switch (readiness) {
    case Readiness::Ready:
        return {};
    case Readiness::NoExamText:
        return tr("尚未设置考试内容");
    case Readiness::NoExamTime:
        return tr("尚未设置考试时间");
    case Readiness::NoExchangeFolder:
        return exchangeFolderMissingMessage(m_exchangeFolder);
    }
    return {};
}

QString LoginGate::publishedPath(const QString &name) const
{
    return QDir(m_exchangeFolder).filePath(name);
}

QString LoginGate::scratchPath(const QString &name) const
{
    return m_settings.filePath(name);
}

void LoginGate::loadKept()
{
    m_asPublished = ExamAsPublished::load(m_settings.filePath(ExamAsPublished::fileName()));
    m_codes = m_asPublished && m_asPublished->publication.codesRequired ? LoginCodes::load(
                      m_settings.filePath(LoginCodes::fileName()), m_asPublished->publication.id)
                                                                        : LoginCodes();
}

QString LoginGate::open(qint16 examMinutes, QVector<CodedExaminee> examinees)
{
    const Publication publication { Publication::newId(), !examinees.isEmpty() };
    return publishAs(examMinutes, publication,
                     LoginCodes::issue(publication.id, std::move(examinees)));
}

QString LoginGate::publishAs(qint16 examMinutes, const Publication &publication,
                             const LoginCodes &codes)
{
    ExamPublishing publishing(m_settings.applicationFolder(), m_exchangeFolder, examMinutes,
                              publication, codes);
    const QString problem = publishing.run();
    removeScratchFiles();
    if (!problem.isEmpty()) {
        // A half-published exam would let clients log in without a text, or
        // with a stale one: take back whatever reached the folder.
        const QString settingsPath = publishedPath(publishedSettingsName());
        QFile::remove(settingsPath);
        QFile::remove(publishedPath(Publication::fileName()));
        QFile::remove(publishedPath(publishedTextName()));
        // The console's record may already name the new exam: what a restart
        // would find is what counts from now on.
        loadKept();
        // A settings file that stays (an earlier exam's, in a folder that
        // cannot be written) still lets clients in: login is open.
        m_open = QFileInfo(settingsPath).isFile();
        if (m_open)
            return tr("开放登录失败，但考生仍可登录：无法删除原有的 %1。\n")
                           .arg(nativePath(settingsPath))
                    + problem;
        return tr("开放登录失败，考生仍不能登录。\n") + problem;
    }
    m_open = true;
    // Results are judged against this exam until the next one is published,
    // whatever the settings say meanwhile.
    m_asPublished = publishing.exam();
    m_codes = codes;
    // Only a note: a folder that takes the exam but not the note still runs it.
    m_marker.leave(QDateTime::currentDateTimeUtc());
    return {};
}

void LoginGate::retireExam()
{
    QFile::remove(m_settings.filePath(LoginCodes::fileName()));
    QFile::remove(m_settings.filePath(ExamPublications::fileName()));
    m_codes = {};
}

void LoginGate::noteForgedPublication(const QString &id)
{
    const QString path = m_settings.filePath(ExamPublications::fileName());
    ExamPublications publications =
            ExamPublications::ofPublishedExam(m_settings.applicationFolder());
    publications.forged(id, QDateTime::currentDateTimeUtc());
    // Unkept, its records are left out as another exam's and the counts
    // line says so: a note, not a reason to close login.
    publications.save(path);
}

void LoginGate::removeScratchFiles()
{
    // Left by a console that published through scratch files and ended
    // part-way.
    QFile::remove(scratchPath(kPlainSettingsScratch));
    QFile::remove(scratchPath(kScrambledSettingsScratch));
}

QString LoginGate::close()
{
    // The text goes first, the settings file last, the reverse of publishing.
    const QString textProblem = removeIfPresent(publishedPath(publishedTextName()));
    QFile::remove(publishedPath(Publication::fileName()));
    const QString settingsProblem = removeIfPresent(publishedPath(publishedSettingsName()));
    m_open = !settingsProblem.isEmpty();
    if (!m_open)
        m_marker.remove();
    QStringList problems;
    if (!textProblem.isEmpty())
        problems << textProblem;
    if (m_open)
        problems << settingsProblem << tr("考生仍可登录。");
    return problems.join(QLatin1Char('\n'));
}

QByteArray LoginGate::keptTextBytes() const
{
    if (!m_asPublished->textBytes.isEmpty())
        return m_asPublished->textBytes;
    // A console that kept no copy of te.txt: the article, while it is still
    // the one published.
    const wholefile::Reading text = wholefile::read(
            m_settings.filePath(ConsoleSettings::textFileName()), kMaxExamTextBytes);
    if (text.bytes && examDigest(*text.bytes) == m_asPublished->textDigest)
        return *text.bytes;
    return {};
}

LoginGate::Republishing LoginGate::republish()
{
    if (!m_open)
        return {};
    const bool textThere = QFileInfo(publishedPath(publishedTextName())).isFile();
    Republishing republishing;
    if (!m_asPublished) {
        // Without a record of the exam only a file gone is seen.
        if (textThere && QFileInfo(publishedPath(publishedSettingsName())).isFile())
            return {};
        republishing.problem = tr("不知道上次发布的考试。");
    } else {
        ExamAsPublished exam = *m_asPublished;
        exam.textBytes = keptTextBytes();
        if (exam.textBytes.isEmpty() && !textThere)
            // The examiner saved the next sitting's article meanwhile.
            republishing.problem = tr("考试内容已更改，无法重新发布原来的考试。");
        else
            republishing = PublishedFiles(m_exchangeFolder, PublishedFiles::of(exam)).restore();
    }
    if (!republishing.forgedPublication.isEmpty())
        noteForgedPublication(republishing.forgedPublication);
    if (republishing.problem.isEmpty()) {
        if (!republishing.restored.isEmpty())
            m_marker.leave(QDateTime::currentDateTimeUtc());
        return republishing;
    }
    // Whatever is left of the exam lets nobody in: take it back, so the
    // folder and the console's button agree.
    QFile::remove(publishedPath(publishedTextName()));
    QFile::remove(publishedPath(Publication::fileName()));
    QFile::remove(publishedPath(publishedSettingsName()));
    m_open = QFileInfo(publishedPath(publishedSettingsName())).isFile();
    if (!m_open)
        m_marker.remove();
    republishing.problem =
            tr("考试文件已从交换文件夹 %1 中消失或被改动，重新发布失败，考生已不能登录"
               "（已禁止登录）。\n")
                    .arg(nativePath(m_exchangeFolder))
            + republishing.problem;
    return republishing;
}

LoginGate::PublishedExam LoginGate::publishedExam() const
{
    constexpr int kShownSigns = 20;
    PublishedExam exam;
    const examarticle::Reading text = examarticle::fromFile(publishedPath(publishedTextName()),
                                                            examarticle::Source::ExamFile);
    if (text.text) {
        exam.textStart = text.text->left(kShownSigns + 2).simplified();
        if (exam.textStart.size() > kShownSigns)
            exam.textStart = exam.textStart.left(kShownSigns) + QStringLiteral("……");
    }
    const wholefile::Reading settings =
            wholefile::read(publishedPath(publishedSettingsName()), kMaxSettingsBytes);
    if (settings.bytes)
        exam.examMinutes =
                readExamSettings(transcodeBytes(*settings.bytes, kExchangeKey)).examMinutes;
    return exam;
}

QString LoginGate::publishedExamQuestion(const PublishedExam &exam)
{
    const QString text = exam.textStart.isEmpty() ? tr("（无法读取考试内容）")
                                                  : QStringLiteral("“%1”").arg(exam.textStart);
    const QString time =
            exam.examMinutes ? tr("%1分钟").arg(*exam.examMinutes) : tr("（无法读取）");
    return tr("上次运行时开放的考试仍在发布中，考生现在仍可登录：\n考试内容：%"
              "1\n考试时间：%2\n"
              "要收回这场考试（禁止登录）吗？")
            .arg(text, time);
}
