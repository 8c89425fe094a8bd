#include "resultfilename.h"

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

QString forIdentity(const QString &banName, const QString &xueHao, const QString &xingMing, int number)
{
    const QString ban = safeForFileName(banName);
    const QString xue = safeForFileName(xueHao);
    const QString xing = safeForFileName(xingMing);
    QString name = ban + u'-' + xue + u'-' + xing;
    if (name.toUtf8().size() > kMaxNameBytes) {
        const QByteArray whole = (banName + u'\n' + xueHao + u'\n' + xingMing).toUtf8();
        const QString hash = QString::fromLatin1(
            QCryptographicHash::hash(whole, QCryptographicHash::Sha1).toHex().left(8));
        name = leftUtf8(ban, kMaxEntryBytes) + u'-' + leftUtf8(xue, kMaxEntryBytes) + u'-'
               + leftUtf8(xing, kMaxEntryBytes) + u'-' + hash;
    }
    // A dot file would be hidden from listings.
    for (qsizetype i = 0; i < name.size() && name.at(i) == u'.'; ++i)
        name[i] = u'_';
    if (number > 1)
        name += u'~' + QString::number(number);
    return name + QLatin1String(".zip");
}

bool matchesIdentity(const QString &fileName, const QString &banName, const QString &xueHao,
                     const QString &xingMing)
{
    const QString plain = forIdentity(banName, xueHao, xingMing);
    if (fileName == plain)
        return true;
    static const QRegularExpression numbered(QStringLiteral("^(.*)~([1-9][0-9]{0,8})\\.zip$"));
    const QRegularExpressionMatch match = numbered.match(fileName);
    return match.hasMatch() && match.captured(2).toInt() > 1
           && match.captured(1) + QLatin1String(".zip") == plain;
}

}  // namespace resultname
