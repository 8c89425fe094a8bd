// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/consolepreferences.h"

#include "settings/oldsettingfiles.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>

Q_LOGGING_CATEGORY(lcSettings, "kestrix.settings", QtInfoMsg)

namespace {

const QString kLanguage = QStringLiteral("window/language");
const QString kWindowLeft = QStringLiteral("window/left");
const QString kWindowTop = QStringLiteral("window/top");
const QString kWindowWidth = QStringLiteral("window/width");
const QString kWindowHeight = QStringLiteral("window/height");
const QString kWindowMaximised = QStringLiteral("window/maximised");
const QString kRosterFolder = QStringLiteral("roster/folder");
const QString kSchoolArchive = QStringLiteral("school/archive");
const QString kSchoolLab = QStringLiteral("school/lab");
const QString kSchoolTeacher = QStringLiteral("school/teacher");
const QString kExchangeFolder = QStringLiteral("exchange/folder");
const QString kLoginCodes = QStringLiteral("exam/loginCodes");
const QString kArticleName = QStringLiteral("exam/articleName");
const QString kJudging = QStringLiteral("judging");
const QString kGrades = QStringLiteral("grades");
const QString kGradeName = QStringLiteral("name");
const QString kGradeSpeed = QStringLiteral("minSpeed");
const QString kGradeAccuracy = QStringLiteral("minAccuracy");
const QString kGradeScore = QStringLiteral("score");

}  // namespace

ConsolePreferences::ConsolePreferences(const QString &dataFolder)
    : m_path(QDir(dataFolder).filePath(fileName())),
      m_store(std::make_unique<QSettings>(m_path, QSettings::IniFormat))
{
    moveOldFilesIn(dataFolder);
}

ConsolePreferences::~ConsolePreferences() = default;

void ConsolePreferences::moveOldFilesIn(const QString &dataFolder)
{
    const oldsettings::Found old = oldsettings::read(dataFolder);
    m_problems = old.problems;
    if (old.files.isEmpty())
        return;
    if (old.window)
        putWindowPlace(*old.window);
    if (old.rosterFolder)
        m_store->setValue(kRosterFolder, *old.rosterFolder);
    if (old.school)
        putSchool(*old.school);
    if (old.exchangeFolder)
        m_store->setValue(kExchangeFolder, *old.exchangeFolder);
    if (old.loginCodesRequired)
        m_store->setValue(kLoginCodes, *old.loginCodesRequired);
    if (old.articleName)
        m_store->setValue(kArticleName, *old.articleName);
    if (old.judgingTexts)
        putJudgingTexts(*old.judgingTexts);
    if (old.gradeRows)
        putGradeRows(*old.gradeRows);
    // In a folder that cannot be written the files stay, and what they hold
    // is in force for this handle; saving a change then tells the examiner.
    if (!written().isEmpty()) {
        qCWarning(lcSettings).noquote()
                << "could not move" << old.files.join(u", ") << "into" << m_path;
        return;
    }
    for (const QString &name : old.files)
        QFile::remove(QDir(dataFolder).filePath(name));
    qCInfo(lcSettings).noquote() << "moved" << old.files.join(u", ") << "into" << m_path;
}

QString ConsolePreferences::exchangeFolderProblem() const
{
    return m_problems.value(oldsettings::exchangeFileName());
}

QString ConsolePreferences::judgingProblem() const
{
    return m_problems.value(oldsettings::judgingFileName());
}

QString ConsolePreferences::gradingProblem() const
{
    return m_problems.value(oldsettings::gradingFileName());
}

QString ConsolePreferences::written()
{
    m_store->sync();
    if (m_store->status() != QSettings::NoError)
        return tr("无法保存设置 %1").arg(QDir::toNativeSeparators(m_path));
    return {};
}

QString ConsolePreferences::language() const
{
    return m_store->value(kLanguage).toString();
}

QString ConsolePreferences::setLanguage(const QString &name)
{
    m_store->setValue(kLanguage, name);
    return written();
}

std::optional<console::WindowPlace> ConsolePreferences::windowPlace() const
{
    bool ok[4] = {};
    const QRect inside(m_store->value(kWindowLeft).toInt(&ok[0]),
                       m_store->value(kWindowTop).toInt(&ok[1]),
                       m_store->value(kWindowWidth).toInt(&ok[2]),
                       m_store->value(kWindowHeight).toInt(&ok[3]));
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || inside.width() <= 0 || inside.height() <= 0)
        return std::nullopt;
    return console::WindowPlace { inside, m_store->value(kWindowMaximised).toBool() };
}

QString ConsolePreferences::setWindowPlace(const console::WindowPlace &place)
{
    putWindowPlace(place);
    return written();
}

void ConsolePreferences::putWindowPlace(const console::WindowPlace &place)
{
    m_store->setValue(kWindowLeft, place.inside.left());
    m_store->setValue(kWindowTop, place.inside.top());
    m_store->setValue(kWindowWidth, place.inside.width());
    m_store->setValue(kWindowHeight, place.inside.height());
    m_store->setValue(kWindowMaximised, place.maximised);
}

QString ConsolePreferences::rosterFolder() const
{
    return m_store->value(kRosterFolder).toString();
}

QString ConsolePreferences::setRosterFolder(const QString &folder)
{
    m_store->setValue(kRosterFolder, folder);
    return written();
}

console::SchoolSetting ConsolePreferences::school() const
{
    return { m_store->value(kSchoolArchive).toString(), m_store->value(kSchoolLab).toString(),
             m_store->value(kSchoolTeacher).toString() };
}

QString ConsolePreferences::setSchool(const console::SchoolSetting &setting)
{
    putSchool(setting);
    return written();
}

void ConsolePreferences::putSchool(const console::SchoolSetting &setting)
{
    m_store->setValue(kSchoolArchive, setting.place);
    m_store->setValue(kSchoolLab, setting.lab);
    m_store->setValue(kSchoolTeacher, setting.teacher);
}

QString ConsolePreferences::exchangeFolder() const
{
    return m_store->value(kExchangeFolder).toString();
}

QString ConsolePreferences::setExchangeFolder(const QString &folder)
{
    m_store->setValue(kExchangeFolder, folder);
    return written();
}

bool ConsolePreferences::loginCodesRequired() const
{
    return m_store->value(kLoginCodes, false).toBool();
}

QString ConsolePreferences::setLoginCodesRequired(bool required)
{
    m_store->setValue(kLoginCodes, required);
    return written();
}

QString ConsolePreferences::articleName() const
{
    return m_store->value(kArticleName).toString();
}

QString ConsolePreferences::setArticleName(const QString &name)
{
    if (name.isEmpty())
        m_store->remove(kArticleName);
    else
        m_store->setValue(kArticleName, name);
    return written();
}

QMap<QString, QString> ConsolePreferences::judgingTexts() const
{
    QMap<QString, QString> texts;
    m_store->beginGroup(kJudging);
    for (const QString &name : m_store->childKeys())
        texts.insert(name, m_store->value(name).toString());
    m_store->endGroup();
    return texts;
}

QString ConsolePreferences::setJudgingTexts(const QMap<QString, QString> &texts)
{
    putJudgingTexts(texts);
    return written();
}

void ConsolePreferences::putJudgingTexts(const QMap<QString, QString> &texts)
{
    m_store->remove(kJudging);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        m_store->setValue(kJudging + u'/' + it.key(), it.value());
}

std::optional<QVector<QStringList>> ConsolePreferences::gradeRows() const
{
    if (!m_store->childGroups().contains(kGrades))
        return std::nullopt;
    QVector<QStringList> rows;
    const int count = m_store->beginReadArray(kGrades);
    for (int i = 0; i < count; ++i) {
        m_store->setArrayIndex(i);
        rows.append({ m_store->value(kGradeName).toString(), m_store->value(kGradeSpeed).toString(),
                      m_store->value(kGradeAccuracy).toString(),
                      m_store->value(kGradeScore).toString() });
    }
    m_store->endArray();
    return rows;
}

QString ConsolePreferences::setGradeRows(const QVector<QStringList> &rows)
{
    putGradeRows(rows);
    return written();
}

void ConsolePreferences::putGradeRows(const QVector<QStringList> &rows)
{
    m_store->remove(kGrades);
    m_store->beginWriteArray(kGrades, int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        m_store->setArrayIndex(i);
        m_store->setValue(kGradeName, rows[i].value(0));
        m_store->setValue(kGradeSpeed, rows[i].value(1));
        m_store->setValue(kGradeAccuracy, rows[i].value(2));
        m_store->setValue(kGradeScore, rows[i].value(3));
    }
    m_store->endArray();
}
