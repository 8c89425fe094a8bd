// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/documentname.h"

#include "export/celltext.h"

#include "exchange/identity.h"

#include <QSet>
#include <QCoreApplication>

namespace documentname {

QString safe(const QString &part)
{
    // What a cell would not carry a name does not either.
    QString out = celltext::fitted(part).text;
    for (QChar &ch : out) {
        if (ch == QChar::ReplacementCharacter || QStringView(u"\\/:*?\"<>|\t\r\n").contains(ch))
            ch = u'_';
    }
    out = out.trimmed();
    if (out.size() > kArticleChars) {
        qsizetype keep = kArticleChars;
        if (out.at(keep - 1).isHighSurrogate())
            --keep;
        out.truncate(keep);
    }
    // Windows drops dots and blanks at the end of a name.
    while (out.endsWith(u'.') || out.endsWith(u' '))
        out.chop(1);
    while (out.startsWith(u'.'))
        out.remove(0, 1);
    return out.isEmpty() ? QStringLiteral("_") : out;
}

QString forExam(const QString &what, const QDateTime &heldAt, const QString &articleName)
{
    const QString named = what + u'-' + heldAt.toLocalTime().toString(QStringLiteral("yyyyMMdd"));
    return articleName.trimmed().isEmpty() ? named : named + u'-' + safe(articleName);
}

QString caption(const ExamCaption &exam)
{
    QStringList parts;
    if (exam.heldAt.isValid())
        parts << exam.heldAt.toLocalTime().toString(
                exam.timeKnown ? QStringLiteral("yyyy-MM-dd HH:mm") : QStringLiteral("yyyy-MM-dd"));
    if (!exam.articleName.trimmed().isEmpty())
        parts << QCoreApplication::translate("documentname", "《%1》")
                         .arg(exam.articleName.trimmed());
    if (exam.examMinutes > 0)
        parts << QCoreApplication::translate("documentname", "%1分钟").arg(exam.examMinutes);
    QStringList classes;
    QSet<QString> seen;
    for (const QString &department : exam.departments) {
        const QString key = identity::matchKey(department);
        if (!key.isEmpty() && !seen.contains(key)) {
            seen.insert(key);
            classes << department.trimmed();
        }
    }
    if (classes.size() > kNamedClasses)
        parts << QCoreApplication::translate("documentname", "%1个班").arg(classes.size());
    else if (!classes.isEmpty())
        parts << classes.join(QCoreApplication::translate("documentname", "、"));
    return parts.join(QCoreApplication::translate("documentname", "　"));
}

}  // namespace documentname
