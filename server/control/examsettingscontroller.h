// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam as the examiner sets it up: the article and its text, the exam
// time, the exchange folder of the next start, the grading scale and the
// standard records are judged by. What
// was stored is in force from the start; a change is in force once saved.
#include "control/consolefolders.h"
#include "grading/gradingscale.h"
#include "grading/judgingstandard.h"
#include "publish/consolesettings.h"
#include "publish/logingate.h"

#include <QObject>

namespace console {

class ExamSettingsController : public QObject
{
    Q_OBJECT

public:
    // The folders and the gate are the console's and outlive the settings;
    // the gate says whether an exam is under way.
    ExamSettingsController(const ConsoleFolders &folders, const LoginGate &gate,
                           QObject *parent = nullptr);

    const ConsoleFolders &folders() const { return m_folders; }

    // ---- The exam time and text ----
    qint16 examMinutes() const { return m_examMinutes; }
    const QString &chosenArticlePath() const { return m_articlePath; }
    // The name of the article the stored exam text was saved from, kept
    // across restarts; empty when unknown (the exam is then called by its
    // first words).
    const QString &articleName() const { return m_articleName; }
    // Where the examiner's articles are kept: the article dialog opens there.
    QString articleFolder() const { return m_settings.articleFolder(); }
    // The exam text as chosen or stored: every line followed by CR LF.
    const QString &examText() const { return m_examText; }
    // test.txt becomes the exam text; the reading says whether there was one.
    examarticle::Reading readStoredExamText();
    // The article at `path` becomes the exam text; nothing changes when it
    // does not read. An empty path (a cancelled dialog) is no choice.
    QString chooseArticle(const QString &path);
    // Stores the chosen article and the typed exam time; on success the
    // time is in force and the exam text is let go.
    QString saveSettings(const QString &typedMinutes);
    // Lets go of the exam text of a settings panel the examiner left.
    void discardExamText();

    // ---- The exchange folder ----
    // Why the exchange folder may not change now; empty when it may.
    QString exchangeFolderLocked() const;
    QString saveExchangeFolder(const QString &folder);
    // The exchange folder the next start will use: the one chosen since
    // this start, unless KESTRIX_EXCHANGE_DIR overrides it; else the one
    // in use, folders().exchange.
    QString nextExchangeFolder() const;
    // What the examiner is told once a new exchange folder is stored.
    static QString exchangeFolderSaved(const QString &folder);

    // ---- The grading scale ----
    const GradingScale &gradingScale() const { return m_scale; }
    // Why the kept scale could not be read at the start (the standard one
    // is used); empty when it was.
    const QString &gradingProblem() const { return m_scaleProblem; }
    // Keeps the scale and grades with it from now on.
    QString saveGradingScale(const GradingScale &scale);

    // ---- Login codes ----
    // Whether 允许登录 gives each examinee of a loaded class list a login
    // code; without a list the classic login stays whatever this says.
    bool loginCodesRequired() const { return m_loginCodesRequired; }
    QString saveLoginCodesRequired(bool required);
    // ---- The standard records are judged by ----
    const JudgingStandard &judgingStandard() const { return m_judging; }
    // Why the kept standard could not be read at the start (the default
    // one is used); empty when it was.
    const QString &judgingProblem() const { return m_judgingProblem; }
    // Keeps the standard; the next collection judges by it.
    QString saveJudgingStandard(const JudgingStandard &standard);

signals:
    void examTextChanged(const QString &text);
    void gradingScaleChanged();

private:
    void setExamText(const QString &text);

    const ConsoleFolders &m_folders;
    const LoginGate &m_gate;
    ConsoleSettings m_settings;
    qint16 m_examMinutes = examlimits::kDefaultExamMinutes;
    QString m_articlePath;  // chosen in the open panel, not yet saved
    QString m_articleName;
    bool m_loginCodesRequired;
    QString m_examText;
    QString m_chosenExchange;  // stored by the examiner since this start
    GradingScale m_scale = GradingScale::standard();
    QString m_scaleProblem;
    JudgingStandard m_judging;
    QString m_judgingProblem;
};

}  // namespace console
