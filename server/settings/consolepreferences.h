// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's own preferences, kept by Qt's settings store as an INI file
// (kestrix.ini) in the console's data folder. Files that the exchange or
// the client read are not preferences and stay files of their own.
//
// Earlier versions kept each preference in a small file of its own; those
// found in the data folder are moved in whenever the store is opened and
// then removed. Where the store cannot be written (a read-only folder) they
// stay where they are, and what they hold is in force for this handle.
#include <QCoreApplication>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>

class QSettings;

namespace console {

struct WindowPlace
{
    QRect inside;  // the window without its frame, when not maximised
    bool maximised = false;
};

struct SchoolSetting
{
    QString place;  // a libpq URI, or empty for this computer only
    QString lab;
    QString teacher;

    friend bool operator==(const SchoolSetting &a, const SchoolSetting &b)
    {
        return a.place == b.place && a.lab == b.lab && a.teacher == b.teacher;
    }
};

}  // namespace console

class ConsolePreferences
{
    Q_DECLARE_TR_FUNCTIONS(ConsolePreferences)

public:
    explicit ConsolePreferences(const QString &dataFolder);
    ~ConsolePreferences();
    ConsolePreferences(const ConsolePreferences &) = delete;
    ConsolePreferences &operator=(const ConsolePreferences &) = delete;

    static QString fileName() { return QStringLiteral("kestrix.ini"); }
    QString path() const { return m_path; }
    // Why an earlier version's file could not be taken over, naming it; the
    // file stays for the examiner to look at. Empty when there was none.
    QString exchangeFolderProblem() const;
    QString judgingProblem() const;
    QString gradingProblem() const;

    // Every setter returns why the value could not be kept, or empty.

    // The language the windows are shown in from the next start: "" follows
    // the system, else "zh_CN" or "en".
    QString language() const;
    QString setLanguage(const QString &name);

    // Where the examiner left the window; none when none was kept.
    std::optional<console::WindowPlace> windowPlace() const;
    QString setWindowPlace(const console::WindowPlace &place);

    // The folder the examiner's class list was loaded from last.
    QString rosterFolder() const;
    QString setRosterFolder(const QString &folder);

    // The school archive, lab and teacher as stored, without defaults.
    console::SchoolSetting school() const;
    QString setSchool(const console::SchoolSetting &setting);

    // The exchange folder chosen instead of the default; empty for none.
    QString exchangeFolder() const;
    QString setExchangeFolder(const QString &folder);

    // Whether an exam with a class list gives each examinee a login code.
    bool loginCodesRequired() const;
    QString setLoginCodesRequired(bool required);

    // The name of the article the exam text was saved from; "" for none.
    QString articleName() const;
    QString setArticleName(const QString &name);

    // The judging standard's values as typed, by setting name; only the
    // settings the examiner kept.
    QMap<QString, QString> judgingTexts() const;
    QString setJudgingTexts(const QMap<QString, QString> &texts);

    // The grading scale, a row of four texts per grade (name, minimum
    // speed, minimum accuracy, score); none when none was kept.
    std::optional<QVector<QStringList>> gradeRows() const;
    QString setGradeRows(const QVector<QStringList> &rows);

private:
    void moveOldFilesIn(const QString &dataFolder);
    // The values are set in the store; written() then keeps them on disk.
    void putWindowPlace(const console::WindowPlace &place);
    void putSchool(const console::SchoolSetting &setting);
    void putJudgingTexts(const QMap<QString, QString> &texts);
    void putGradeRows(const QVector<QStringList> &rows);
    QString written();

    QString m_path;
    std::unique_ptr<QSettings> m_store;
    QMap<QString, QString> m_problems;  // by old file name
};
