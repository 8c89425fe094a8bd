#pragma once
// The ten-line result record that an examinee uploads and the console
// collects.
#include <QByteArray>
#include <QString>

#include <optional>

struct ResultRecord
{
    static constexpr qint16 kFirstMarker = 40;
    static constexpr qint16 kSecondMarker = 98;

    float speed = 0;     // right characters per minute, two decimals
    float accuracy = 0;  // percent, two decimals
    qint16 timePass = 0; // whole seconds
    qint32 targetLen = 0;
    qint32 typedLen = 0;
    QString banName;   // department, as typed at login
    QString xueHao;    // exam number, as typed at login
    QString xingMing;  // name, as typed at login

    QByteArray toRecordLines() const;
};

// A result file as read by the collector. `record` is set only when every
// line the collector needs is there and converts; `problem` then is empty,
// otherwise it says in Chinese what is wrong, for the examiner.
struct ResultRecordReading
{
    std::optional<ResultRecord> record;
    QString accuracyLine;  // line 4 exactly as written, kept as text
    QString problem;

    bool ok() const { return record.has_value(); }
};

ResultRecordReading readResultRecord(QByteArrayView plainBytes);
