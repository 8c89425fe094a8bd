#include "classroom.h"

#include "numbers.h"
#include "transcode.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

struct Classroom::Pupil
{
    int index = 0;
    Examinee examinee;
    std::unique_ptr<ResultUpload> upload;
    int saved = -1;
    int delivered = -1;
    bool finalFailedOnce = false;
    QElapsedTimer finalClock;
};

Classroom::Classroom(int examinees, int poolSize, QString serverAddress, QString exchangeFolder,
                     QString workFolder, QObject *parent)
    : QObject(parent),
      m_server(std::move(serverAddress)),
      m_exchange(std::move(exchangeFolder)),
      m_work(std::move(workFolder)),
      m_poolSize(poolSize)
{
    m_examinees.reserve(size_t(examinees));
    for (int i = 0; i < examinees; ++i) {
        auto pupil = std::make_unique<Pupil>();
        pupil->index = i;
        pupil->examinee = examinee(i, m_server);
        m_examinees.push_back(std::move(pupil));
    }
}

// Here, where Pupil is complete.
Classroom::~Classroom() = default;

Examinee Classroom::examinee(int index, const QString &serverAddress)
{
    Examinee examinee;
    examinee.serverIP = serverAddress;
    examinee.banName = QStringLiteral("计算机%1班").arg(index % 4 + 1);
    examinee.xueHao = QStringLiteral("%1").arg(index, 4, 10, QLatin1Char('0'));
    examinee.xingMing = QStringLiteral("考生 %1号").arg(index);
    examinee.examMinutes = 10;
    return examinee;
}

ResultRecord Classroom::record(int index, int version)
{
    const Examinee who = examinee(index, QString());
    ResultRecord record;
    // Quarters are exact in a single, so every figure survives the round trip
    // and each examinee's versions differ from each other and from everyone
    // else's.
    if (version > 0) {
        record.speed = float(10 * version) + 0.25f * float(index);
        record.accuracy = 80.0f + float(5 * version) - 0.25f * float(index % 20);
    }
    record.timePass = qint16(200 * version);
    record.targetLen = 900;
    record.typedLen = 100 * version + index;
    record.banName = who.banName;
    record.xueHao = who.xueHao;
    record.xingMing = who.xingMing;
    return record;
}

ResultRow Classroom::row(int index, int version)
{
    const ResultRecord source = record(index, version);
    ResultRow row;
    row.banName = source.banName;
    row.xueHao = source.xueHao;
    row.xingMing = source.xingMing;
    row.speed = numbers::singleText(source.speed).toDouble();
    row.zhengQueLv = numbers::singleText(source.accuracy);
    row.timePass = source.timePass;
    return row;
}

int Classroom::versionOfRow(const ResultRow &collected)
{
    bool isNumber = false;
    const int index = collected.xueHao.toInt(&isNumber);
    if (!isNumber || index < 0)
        return -1;
    for (int version = 0; version < kVersions; ++version) {
        const ResultRow known = row(index, version);
        if (collected.banName == known.banName && collected.xueHao == known.xueHao
            && collected.xingMing == known.xingMing && collected.speed == known.speed
            && collected.zhengQueLv == known.zhengQueLv && collected.timePass == known.timePass)
            return version;
    }
    return -1;
}

int Classroom::savedVersion(int index) const
{
    return m_examinees[size_t(index)]->saved;
}

int Classroom::deliveredVersion(int index) const
{
    return m_examinees[size_t(index)]->delivered;
}

void Classroom::start()
{
    startNext();
}

void Classroom::startNext()
{
    while (m_active < m_poolSize && m_next < examineeCount()) {
        Pupil &pupil = *m_examinees[size_t(m_next++)];
        const QString folder = QDir(m_work).filePath(QStringLiteral("examinee-%1").arg(pupil.index));
        QDir().mkpath(folder);
        pupil.upload = std::make_unique<ResultUpload>(folder);
        if (m_setup)
            m_setup(*pupil.upload);
        connect(pupil.upload.get(), &ResultUpload::stateChanged, this,
                [this, &pupil](ResultUpload::State state) { onState(pupil, state); });
        connect(&pupil.upload->channel(), &TransferChannel::stateChanged, this,
                [this, &pupil](int code) {
                    if (code != TransferChannel::Error)
                        return;
                    ++m_channelErrors;
                    if (pupil.saved == kFinalVersion && !pupil.finalFailedOnce) {
                        pupil.finalFailedOnce = true;
                        ++m_finalsRetried;
                    }
                });
        m_mostActive = std::max(m_mostActive, ++m_active);
        saveVersion(pupil, 0);
    }
}

void Classroom::saveVersion(Pupil &pupil, int version)
{
    pupil.saved = version;
    if (version == kFinalVersion) {
        ++m_finalsSaved;
        pupil.finalClock.start();
    }
    if (!pupil.upload->save(record(pupil.index, version), pupil.examinee))
        m_problems << QStringLiteral("examinee %1: version %2 could not be written locally")
                            .arg(pupil.index)
                            .arg(version);
    if (version == kFinalVersion)
        emit finalSaved(m_finalsSaved);
}

bool Classroom::folderHolds(const Pupil &pupil, int version) const
{
    QFile file(QDir(m_exchange).filePath(resultFileName(pupil.examinee)));
    return file.open(QIODevice::ReadOnly)
           && transcodeBytes(file.readAll(), kExchangeKey)
                  == record(pupil.index, version).toRecordLines();
}

void Classroom::onState(Pupil &pupil, ResultUpload::State state)
{
    if (state == ResultUpload::State::Failed) {
        ++m_failures;
        m_problems << QStringLiteral("examinee %1: version %2 failed for good")
                            .arg(pupil.index)
                            .arg(pupil.saved);
        leave();
        return;
    }
    if (state != ResultUpload::State::Delivered)
        return;
    ++m_transfers;
    if (!folderHolds(pupil, pupil.saved))
        m_problems << QStringLiteral("examinee %1: told version %2 was delivered, the folder "
                                       "does not hold it")
                            .arg(pupil.index)
                            .arg(pupil.saved);
    pupil.delivered = pupil.saved;
    if (pupil.saved < kFinalVersion) {
        saveVersion(pupil, pupil.saved + 1);
        return;
    }
    m_longestFinalWait = std::max(m_longestFinalWait, pupil.finalClock.elapsed());
    emit finalDelivered(++m_finalsDelivered);
    leave();
}

void Classroom::leave()
{
    ++m_done;
    --m_active;
    // The upload that reports this must not be destroyed inside its own
    // signal; it stays until the classroom goes.
    startNext();
    if (finished())
        emit allDone();
}
