#pragma once
// Result files as a client uploads them: scrambled ten-line records.
#include "resultrecord.h"
#include "transcode.h"

#include <QDir>
#include <QFile>

inline ResultRecord makeResult(const QString &banName, const QString &xueHao,
                               const QString &xingMing, float speed, float accuracy = 98.5f,
                               qint16 timePass = 600)
{
    ResultRecord record;
    record.speed = speed;
    record.accuracy = accuracy;
    record.timePass = timePass;
    record.targetLen = 900;
    record.typedLen = 880;
    record.banName = banName;
    record.xueHao = xueHao;
    record.xingMing = xingMing;
    return record;
}

inline void writeScrambled(const QString &folder, const QString &name, const QByteArray &plain)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write a result file");
    file.write(transcodeBytes(plain, kExchangeKey));
}

// Uploads the record under the name the client gives it: department-number-name.zip.
inline QString uploadResult(const QString &folder, const ResultRecord &record)
{
    const QString name = record.banName + QLatin1Char('-') + record.xueHao + QLatin1Char('-')
                         + record.xingMing + QStringLiteral(".zip");
    writeScrambled(folder, name, record.toRecordLines());
    return name;
}
