// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/resultfilename.h"

#include "exchange/retakeleave.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace resultname {

namespace {

// Well within the 255 bytes file systems allow, with room for "~N.zip" and
// the ".part" of a transfer.
constexpr int kMaxNameBytes = 180;
constexpr int kMaxEntryBytes = 56;

QString safeForFileName(const QString &entry)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString safe = entry;
    for (QChar &c : safe) {
        if (forbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'_';
    }
    return safe;
}

// The longest start of text that fits maxBytes in UTF-8, never splitting a
// surrogate pair.
QString leftUtf8(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size();
        const int width = pair ? 4 : int(QStringView(text).mid(end, 1).toUtf8().size());
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

}  // namespace

QString forIdentity(const QString &department, const QString &examNumber, const QString &name,
                    int sequence)
{
    const QString dept = safeForFileName(department);
    const QString number = safeForFileName(examNumber);
    const QString person = safeForFileName(name);
    QString fileName = dept + u'-' + number + u'-' + person;
    if (fileName.toUtf8().size() > kMaxNameBytes) {
        const QByteArray whole = (department + u'\n' + examNumber + u'\n' + name).toUtf8();
        const QString hash = QString::fromLatin1(
                QCryptographicHash::hash(whole, QCryptographicHash::Sha1).toHex().left(8));
        fileName = leftUtf8(dept, kMaxEntryBytes) + u'-' + leftUtf8(number, kMaxEntryBytes) + u'-'
                + leftUtf8(person, kMaxEntryBytes) + u'-' + hash;
    }
    // A dot file would be hidden from listings.
    for (qsizetype i = 0; i < fileName.size() && fileName.at(i) == u'.'; ++i)
        fileName[i] = u'_';
    if (sequence > 1)
        fileName += u'~' + QString::number(sequence);
    return fileName + QLatin1String(".zip");
}

QString retakeFor(const QString &department, const QString &examNumber, const QString &name)
{
    QString fileName = forIdentity(department, examNumber, name);
    fileName.chop(4);  // ".zip"
    return fileName + retakeleave::fileSuffix();
}

int numberOf(const QString &fileName, const QString &department, const QString &examNumber,
             const QString &name)
{
    const QString plain = forIdentity(department, examNumber, name);
    if (fileName == plain)
        return 1;
    static const QRegularExpression numbered(QStringLiteral("^(.*)~([1-9][0-9]{0,8})\\.zip$"));
    const QRegularExpressionMatch match = numbered.match(fileName);
    const int number = match.hasMatch() ? match.captured(2).toInt() : 0;
    return number > 1 && match.captured(1) + QLatin1String(".zip") == plain ? number : 0;
}

bool matchesIdentity(const QString &fileName, const QString &department, const QString &examNumber,
                     const QString &name)
{
    return numberOf(fileName, department, examNumber, name) > 0;
}

}  // namespace resultname
