// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/keptroster.h"

#include "exchange/wholefile.h"
#include "settings/consolepreferences.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString csvCell(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace

KeptRoster::KeptRoster(QString applicationFolder) : m_folder(std::move(applicationFolder)) { }

ClassRoster::Reading KeptRoster::read() const
{
    const QString path = QDir(m_folder).filePath(listFileName());
    if (!QFileInfo::exists(path))
        return {};
    return ClassRoster::load(path);
}

QString KeptRoster::keep(const ClassRoster &roster, const QString &source) const
{
    QString csv = QStringLiteral("\uFEFF部门,考号,姓名\r\n");
    for (const RosterEntry &entry : roster.entries())
        csv += csvCell(entry.department) + u',' + csvCell(entry.examNumber) + u','
                + csvCell(entry.name) + QStringLiteral("\r\n");
    if (QString problem = wholefile::write(QDir(m_folder).filePath(listFileName()), csv.toUtf8());
        !problem.isEmpty())
        return problem;
    return ConsolePreferences(m_folder).setRosterFolder(QFileInfo(source).absolutePath());
}

QString KeptRoster::lastFolder() const
{
    return ConsolePreferences(m_folder).rosterFolder();
}
