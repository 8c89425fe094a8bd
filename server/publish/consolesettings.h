// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's stored settings in its application folder: time.txt (the
// exam time) and test.txt (the exam text), the article files that the
// examiner chooses the exam text from, and the preferences that go with
// the exam (kept in the console's settings store).
#include "exchange/examlimits.h"
#include "publish/examarticle.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

namespace examtime {

// The whole minutes of a time text ("12.5" -> 12, halves to even); empty
// when the text is not a number or the minutes are outside the exam limits.
std::optional<qint16> minutesFromText(QStringView text);

// The numeric value of a time text as time.txt stores it: "12.5" stays
// 12.5, " 20 " becomes 20. Empty when the text is not a number.
std::optional<QString> storedValueText(QStringView text);

}  // namespace examtime

// Reads a GBK text file line by line (a line ends at CR or CR LF) and
// appends lineEnd after every line. Empty when the file cannot be read or
// is larger than a few kilobytes.
std::optional<QString> readTextLines(const QString &path, QStringView lineEnd);

class ConsoleSettings
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleSettings)
public:
    static QString timeFileName() { return QStringLiteral("time.txt"); }
    static QString textFileName() { return QStringLiteral("test.txt"); }
    explicit ConsoleSettings(QString applicationFolder);

    const QString &applicationFolder() const { return m_folder; }
    QString filePath(const QString &name) const;
    QString articleFolder() const;

    bool hasExamTime() const;
    bool hasExamText() const;

    // The exam time stored in time.txt, or 20 minutes when the file is
    // absent, empty, not a number or out of range.
    qint16 storedExamMinutes() const;
    // test.txt read as a chosen article is; no text and no problem when absent.
    examarticle::Reading storedExamText() const;

    struct SaveOutcome
    {
        std::optional<qint16> examMinutes;  // set when the save succeeded
        QString problem;  // why it did not, for the examiner
    };
    // Stores the settings: the article as exam text (GBK, CR LF lines) in
    // test.txt when one was chosen, and the time text's value in time.txt.
    // Nothing is written when the time text or the article is refused; a
    // file that cannot be written keeps its old content.
    SaveOutcome save(const QString &articlePath, const QString &timeText) const;

    // The exchange folder the examiner chose instead of the default, kept
    // with the console's preferences.
    struct StoredFolder
    {
        QString folder;  // empty when none was chosen or it cannot be read
        QString problem;  // why the choice cannot be used, for the examiner
    };
    // The chosen exchange folder: no folder and no problem when none was chosen.
    StoredFolder exchangeFolderSetting() const;
    // The chosen exchange folder, empty when none was chosen or readable.
    QString storedExchangeFolder() const { return exchangeFolderSetting().folder; }
    // Stores the chosen exchange folder; the problem when it cannot be
    // stored, else empty.
    QString saveExchangeFolder(const QString &folder) const;

    // Whether an exam with a class list gives each examinee a login code;
    // off until the examiner asks for them.
    bool loginCodesRequired() const;
    QString saveLoginCodesRequired(bool required) const;

    // The name of the article test.txt was saved from: exports, slips and
    // the archive call the exam by it after a restart too. Empty when none
    // was saved or GBK cannot hold it.
    QString storedArticleName() const;

private:
    QString m_folder;
};
