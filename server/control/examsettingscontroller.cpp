// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/examsettingscontroller.h"

#include "exchange/paths.h"
#include "publish/exchangefolder.h"

#include <QDir>

namespace console {

ExamSettingsController::ExamSettingsController(const ConsoleFolders &folders, const LoginGate &gate,
                                               QObject *parent)
    : QObject(parent),
      m_folders(folders),
      m_gate(gate),
      m_settings(m_folders.application),
      m_examMinutes(m_settings.storedExamMinutes()),
      m_articleName(m_settings.storedArticleName()),
      // Read once: the counts line asks for it at every collection.
      m_loginCodesRequired(m_settings.loginCodesRequired())
{
    GradingScale::Reading scale = GradingScale::load(m_folders.application);
    if (scale.scale)
        m_scale = *scale.scale;
    else
        m_scaleProblem = scale.problem + tr("\n现在使用默认的评分标准。");
    JudgingStandard::Reading judging = JudgingStandard::load(m_folders.application);
    if (judging.standard)
        m_judging = *judging.standard;
    else
        m_judgingProblem = judging.problem + tr("\n现在使用默认的判定标准。");
}

// ---- The exam time and text ----

void ExamSettingsController::setExamText(const QString &text)
{
    m_examText = text;
    emit examTextChanged(m_examText);
}

examarticle::Reading ExamSettingsController::readStoredExamText()
{
    examarticle::Reading stored = m_settings.storedExamText();
    setExamText(stored.text.value_or(QString()));
    return stored;
}

QString ExamSettingsController::chooseArticle(const QString &path)
{
    if (path.isEmpty())
        return {};
    const examarticle::Reading article = examarticle::fromFile(path);
    if (!article.text)
        return article.problem;
    m_articlePath = path;
    setExamText(*article.text);
    return {};
}

QString ExamSettingsController::saveSettings(const QString &typedMinutes)
{
    const ConsoleSettings::SaveOutcome outcome = m_settings.save(m_articlePath, typedMinutes);
    if (!outcome.examMinutes)
        return outcome.problem;
    m_examMinutes = *outcome.examMinutes;
    if (!m_articlePath.isEmpty())
        m_articleName = m_settings.storedArticleName();
    discardExamText();
    return {};
}

void ExamSettingsController::discardExamText()
{
    // An article chosen and not saved is not the exam's: a later save of the
    // time alone must not store it, nor its name call the exam.
    m_articlePath.clear();
    setExamText(QString());
}

// ---- The exchange folder ----

QString ExamSettingsController::exchangeFolderLocked() const
{
    // The login gate and the collector work on the folder they started
    // with: a new one is taken at the next start, never under an open exam.
    if (!m_gate.isOpen())
        return {};
    return tr("考试正在进行（已允许登录），请先禁止登录，再更改交换文件夹。");
}

QString ExamSettingsController::saveLoginCodesRequired(bool required)
{
    const QString problem = m_settings.saveLoginCodesRequired(required);
    if (problem.isEmpty())
        m_loginCodesRequired = required;
    return problem;
}

QString ExamSettingsController::saveExchangeFolder(const QString &folder)
{
    // Every examinee can write into the exchange folder: over the console's
    // own folders they could rewrite its settings, its exam and its results.
    if (holdsOwnFolder(folder, m_folders.ownFolders()))
        return tr("交换文件夹不能是考试服务器自己的文件夹，也不能包含它（每位考生都能写入交换文件夹"
                  "），"
                  "请选择另一个文件夹：")
                + QDir::toNativeSeparators(folder);
    const QString problem = m_settings.saveExchangeFolder(folder);
    if (problem.isEmpty())
        m_chosenExchange = folder;
    return problem;
}

QString ExamSettingsController::nextExchangeFolder() const
{
    return m_chosenExchange.isEmpty() ? m_folders.exchange
                                      : paths::exchangeFolder(m_chosenExchange);
}

QString ExamSettingsController::exchangeFolderSaved(const QString &folder)
{
    QString text = tr("交换文件夹已设为 "
                      "%1，重新启动考试服务器后生效。请把Ftp服务器的主目录也设置为这个文件夹。")
                           .arg(QDir::toNativeSeparators(folder));
    if (qEnvironmentVariableIsSet("KESTRIX_EXCHANGE_DIR"))
        text += tr("\n注意：环境变量 KESTRIX_EXCHANGE_DIR 已设置，它优先于这里的选择。");
    return text;
}

// ---- The grading scale ----

QString ExamSettingsController::saveGradingScale(const GradingScale &scale)
{
    if (const QString problem = scale.save(m_folders.application); !problem.isEmpty())
        return problem;
    m_scale = scale;
    m_scaleProblem.clear();
    emit gradingScaleChanged();
    return {};
}

// ---- The standard records are judged by ----

QString ExamSettingsController::saveJudgingStandard(const JudgingStandard &standard)
{
    if (const QString problem = standard.save(m_folders.application); !problem.isEmpty())
        return problem;
    m_judging = standard;
    m_judgingProblem.clear();
    return {};
}

}  // namespace console
