#include "logingate.h"

#include "examsettings.h"
#include "paths.h"
#include "transcode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kPlainSettingsScratch = QStringLiteral("se.dll");
const QString kScrambledSettingsScratch = QStringLiteral("se1.dll");

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Writes bytes to a file that appears whole or not at all: QSaveFile writes
// beside the target under another name and renames it into place.
QString writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("无法写入 %1：%2").arg(nativePath(path), file.errorString());
    return {};
}

QString readWhole(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取 %1：%2").arg(nativePath(path), file.errorString());
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("无法读取 %1：%2").arg(nativePath(path), file.errorString());
    return {};
}

// Removes a file when it is there; the text says why it could not be.
QString removeIfPresent(const QString &path)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return {};
    return QStringLiteral("无法删除 %1：%2").arg(nativePath(path), file.errorString());
}

}  // namespace

LoginGate::LoginGate(QString applicationFolder, QString exchangeFolder)
    : m_settings(std::move(applicationFolder)), m_exchangeFolder(std::move(exchangeFolder))
{
    // A console that ended while login was open left se.dll behind, and
    // examinees can still log in: the gate must say so.
    m_open = QFileInfo(publishedPath(publishedSettingsName())).isFile();
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
        return QStringLiteral("尚未设置考试内容");
    case Readiness::NoExamTime:
        return QStringLiteral("尚未设置考试时间");
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

QString LoginGate::open(qint16 examMinutes)
{
    const QString problem = publish(examMinutes);
    removeScratchFiles();
    if (!problem.isEmpty()) {
        // A half-published exam would let clients log in without a text, or
        // with a stale one: take back whatever reached the folder.
        const QString settingsPath = publishedPath(publishedSettingsName());
        QFile::remove(settingsPath);
        QFile::remove(publishedPath(publishedTextName()));
        // A settings file that stays (an earlier exam's, in a folder that
        // cannot be written) still lets clients in: login is open.
        m_open = QFileInfo(settingsPath).isFile();
        if (m_open)
            return QStringLiteral("开放登录失败，但考生仍可登录：无法删除原有的 %1。\n")
                       .arg(nativePath(settingsPath))
                   + problem;
        return QStringLiteral("开放登录失败，考生仍不能登录。\n") + problem;
    }
    m_open = true;
    return {};
}

QString LoginGate::publish(qint16 examMinutes)
{
    // The text goes first, so a client that finds se.dll finds te.txt too.
    QByteArray text;
    QString problem = readWhole(m_settings.filePath(ConsoleSettings::textFileName()), text);
    if (problem.isEmpty())
        problem = writeWhole(publishedPath(publishedTextName()), text);
    if (!problem.isEmpty())
        return problem;

    const ExamSettings settings{true, examMinutes};
    problem = writeWhole(scratchPath(kPlainSettingsScratch), settings.toRecordLines());
    if (!problem.isEmpty())
        return problem;
    if (!TranscodeFile(scratchPath(kPlainSettingsScratch), scratchPath(kScrambledSettingsScratch),
                       kExchangeKey))
        return QStringLiteral("无法写入 %1").arg(nativePath(scratchPath(kScrambledSettingsScratch)));
    QByteArray scrambled;
    problem = readWhole(scratchPath(kScrambledSettingsScratch), scrambled);
    if (problem.isEmpty())
        problem = writeWhole(publishedPath(publishedSettingsName()), scrambled);
    return problem;
}

void LoginGate::removeScratchFiles()
{
    QFile::remove(scratchPath(kPlainSettingsScratch));
    QFile::remove(scratchPath(kScrambledSettingsScratch));
}

QString LoginGate::close()
{
    // The text goes first, the settings file last, the reverse of publishing.
    const QString textProblem = removeIfPresent(publishedPath(publishedTextName()));
    const QString settingsProblem = removeIfPresent(publishedPath(publishedSettingsName()));
    m_open = !settingsProblem.isEmpty();
    QStringList problems;
    if (!textProblem.isEmpty())
        problems << textProblem;
    if (m_open)
        problems << settingsProblem << QStringLiteral("考生仍可登录。");
    return problems.join(QLatin1Char('\n'));
}
