// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/exampublishing.h"

#include "publish/consolesettings.h"
#include "publish/examarticle.h"
#include "publish/exampublications.h"
#include "publish/exchangefolder.h"
#include "publish/publishedfiles.h"
#include "exchange/paths.h"
#include "exchange/wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

ExamPublishing::ExamPublishing(QString applicationFolder, QString exchangeFolder,
                               qint16 examMinutes, Publication publication, LoginCodes codes)
    : m_applicationFolder(std::move(applicationFolder)),
      m_exchangeFolder(std::move(exchangeFolder)),
      m_examMinutes(examMinutes),
      m_publication(std::move(publication)),
      m_codes(std::move(codes))
{
}

std::vector<std::function<QString()>> ExamPublishing::steps()
{
    return {
        [this] { return withdrawSettings(); },   [this] { return keepRecord(); },
        [this] { return keepCodes(); },          [this] { return publishText(); },
        [this] { return publishPublication(); }, [this] { return publishSettings(); },
    };
}

QString ExamPublishing::run()
{
    for (const auto &step : steps()) {
        if (QString problem = step(); !problem.isEmpty())
            return problem;
    }
    return {};
}

QString ExamPublishing::publishedPath(const QString &name) const
{
    return QDir(m_exchangeFolder).filePath(name);
}

QString ExamPublishing::withdrawSettings() const
{
    // While the exam changes nobody may log in to either one.
    QFile settings(publishedPath(paths::examSettingsFileName()));
    if (QString problem = freeWritePlace(settings.fileName()); !problem.isEmpty())
        return problem;
    if (!settings.exists() || settings.remove())
        return {};
    return tr("无法删除原有的 %1：%2").arg(nativePath(settings.fileName()), settings.errorString());
}

QString ExamPublishing::keepRecord()
{
    const ConsoleSettings settings(m_applicationFolder);
    const wholefile::Reading text = wholefile::read(
            settings.filePath(ConsoleSettings::textFileName()), examarticle::kMaxFileBytes);
    if (!text.bytes)
        return text.problem;
    m_exam = ExamAsPublished::of(m_examMinutes, *text.bytes, m_publication);
    if (!m_exam)
        return tr("考试内容 %1 无法读取")
                .arg(nativePath(settings.filePath(ConsoleSettings::textFileName())));
    // Both kept before anything is published: after a kill the console
    // knows the exam a client could have got, and every id it went out as.
    const QString listPath = settings.filePath(ExamPublications::fileName());
    ExamPublications publications = ExamPublications::load(listPath);
    publications.published(*m_exam, QDateTime::currentDateTimeUtc());
    if (QString problem = publications.save(listPath); !problem.isEmpty())
        return problem;
    return m_exam->save(settings.filePath(ExamAsPublished::fileName()));
}

QString ExamPublishing::keepCodes() const
{
    // After fb.txt: a kill in between leaves an exam nobody could get, whose
    // codes nobody needs; before se.dll: no client signs with a code the
    // console does not know.
    const QString path = ConsoleSettings(m_applicationFolder).filePath(LoginCodes::fileName());
    if (m_codes.isEmpty()) {
        // Codes of an earlier publication name it and are never taken for this one.
        QFile::remove(path);
        return {};
    }
    return m_codes.save(path);
}

QString ExamPublishing::publishText() const
{
    return publishFile(paths::examTextFileName());
}

QString ExamPublishing::publishPublication() const
{
    return publishFile(Publication::fileName());
}

QString ExamPublishing::publishSettings() const
{
    return publishFile(paths::examSettingsFileName());
}

QString ExamPublishing::publishFile(const QString &name) const
{
    // The bytes the console later holds the folder to.
    for (const PublishedFiles::File &file : PublishedFiles::of(*m_exam)) {
        if (file.name == name)
            return PublishedFiles::publish(publishedPath(name), file.bytes);
    }
    return {};
}
