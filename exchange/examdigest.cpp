#include "examdigest.h"

#include <QCryptographicHash>

QByteArray examDigest(QByteArrayView textBytes)
{
    return QCryptographicHash::hash(textBytes, QCryptographicHash::Sha1).toHex();
}
