// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/consolesettings.h"

#include "exchange/gbk.h"
#include "exchange/numbers.h"
#include "exchange/paths.h"
#include "exchange/recordlines.h"
#include "exchange/wholefile.h"
#include "settings/consolepreferences.h"

#include <QDir>
#include <QFileInfo>

namespace examtime {

std::optional<qint16> minutesFromText(QStringView text)
{
    const auto minutes = numbers::parseWhole(text, examlimits::kShortestExamMinutes,
                                             examlimits::kLongestExamMinutes);
    if (!minutes)
        return std::nullopt;
    return static_cast<qint16>(*minutes);
}

std::optional<QString> storedValueText(QStringView text)
{
    const auto value = numbers::parseNumber(text);
    if (!value)
        return std::nullopt;
    // Fifteen significant digits give back what the examiner typed ("12.5",
    // "20") without the binary noise of a double.
    return QString::number(*value, 'g', 15);
}

}  // namespace examtime

std::optional<QString> readTextLines(const QString &path, QStringView lineEnd)
{
    // time.txt holds one short line; anything far larger is not it.
    const wholefile::Reading file = wholefile::read(path, 4096);
    if (!file.bytes)
        return std::nullopt;
    QString text;
    const QStringList lines = splitRecordLines(gbk::decode(*file.bytes));
    for (const QString &line : lines)
        text += line + lineEnd;
    return text;
}

ConsoleSettings::ConsoleSettings(QString applicationFolder) : m_folder(std::move(applicationFolder))
{
}

QString ConsoleSettings::filePath(const QString &name) const
{
    return QDir(m_folder).filePath(name);
}

ConsoleSettings::StoredFolder ConsoleSettings::exchangeFolderSetting() const
{
    const ConsolePreferences preferences(m_folder);
    // A folder the examiner chose must not silently turn into the default
    // one: an unreadable choice is named, and none is in force.
    if (QString problem = preferences.exchangeFolderProblem(); !problem.isEmpty())
        return { QString(), problem };
    return { preferences.exchangeFolder(), QString() };
}

QString ConsoleSettings::saveExchangeFolder(const QString &folder) const
{
    return ConsolePreferences(m_folder).setExchangeFolder(QDir::fromNativeSeparators(folder));
}

bool ConsoleSettings::loginCodesRequired() const
{
    return ConsolePreferences(m_folder).loginCodesRequired();
}

QString ConsoleSettings::saveLoginCodesRequired(bool required) const
{
    return ConsolePreferences(m_folder).setLoginCodesRequired(required);
}

QString ConsoleSettings::storedArticleName() const
{
    return ConsolePreferences(m_folder).articleName();
}

QString ConsoleSettings::articleFolder() const
{
    return filePath(QStringLiteral("article"));
}

bool ConsoleSettings::hasExamTime() const
{
    return paths::hasFileNamed(m_folder, timeFileName());
}

bool ConsoleSettings::hasExamText() const
{
    return paths::hasFileNamed(m_folder, textFileName());
}

qint16 ConsoleSettings::storedExamMinutes() const
{
    if (!hasExamTime())
        return examlimits::kDefaultExamMinutes;
    const auto text = readTextLines(filePath(timeFileName()), u"\n");
    if (!text)
        return examlimits::kDefaultExamMinutes;
    const QString firstLine = text->section(QLatin1Char('\n'), 0, 0);
    return examtime::minutesFromText(firstLine).value_or(examlimits::kDefaultExamMinutes);
}

examarticle::Reading ConsoleSettings::storedExamText() const
{
    if (!hasExamText())
        return {};
    return examarticle::fromFile(filePath(textFileName()), examarticle::Source::ExamFile);
}

ConsoleSettings::SaveOutcome ConsoleSettings::save(const QString &articlePath,
                                                   const QString &timeText) const
{
    SaveOutcome outcome;
    const auto minutes = examtime::minutesFromText(timeText);
    const auto storedValue = examtime::storedValueText(timeText);
    if (!minutes || !storedValue) {
        outcome.problem = tr("考试时间“%1”无效，请填写%2到%3之间的分钟数。")
                                  .arg(timeText)
                                  .arg(examlimits::kShortestExamMinutes)
                                  .arg(examlimits::kLongestExamMinutes);
        return outcome;
    }

    // Both files are checked and made before either is written, and each
    // write leaves the old file whole when it fails: a full disk never
    // leaves an empty exam text behind a message of success.
    QByteArray examBytes;
    if (!articlePath.isEmpty()) {
        const examarticle::Reading article = examarticle::fromFile(articlePath);
        if (!article.text) {
            outcome.problem = tr("没有保存设置：") + article.problem;
            return outcome;
        }
        examBytes = article.examBytes;
        const QString problem = wholefile::write(filePath(textFileName()), examBytes);
        if (!problem.isEmpty()) {
            outcome.problem = tr("没有保存设置，原有的考试内容不变：") + problem;
            return outcome;
        }
        // A name GBK cannot hold is left out, and so is one that cannot be
        // written: the exam is then called by its first words, never by the
        // name of the article saved before it.
        const QString name = QFileInfo(articlePath).completeBaseName();
        ConsolePreferences preferences(m_folder);
        if (!gbk::partStorable(name).refused.isEmpty()
            || !preferences.setArticleName(name).isEmpty())
            preferences.setArticleName({});
    }

    const QByteArray timeBytes = gbk::encode(QString(*storedValue + QLatin1String("\r\n")));
    const QString problem = wholefile::write(filePath(timeFileName()), timeBytes);
    if (!problem.isEmpty()) {
        outcome.problem = tr("没有保存考试时间，原有的考试时间不变：") + problem;
        return outcome;
    }
    outcome.examMinutes = *minutes;
    return outcome;
}
