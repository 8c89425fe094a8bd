#include "resultupload.h"

#include "numbers.h"
#include "paths.h"
#include "transcode.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

namespace {

const QString kPlainRecord = QStringLiteral("sc.zip");
const QString kScrambledRecord = QStringLiteral("sc1.zip");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

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

}  // namespace

QString resultFileName(const Examinee &examinee)
{
    QString name = safeForFileName(examinee.banName) + u'-' + safeForFileName(examinee.xueHao) + u'-'
                   + safeForFileName(examinee.xingMing) + QLatin1String(".zip");
    if (name.startsWith(QLatin1String("..")))
        name.replace(0, 2, QStringLiteral("__"));
    return name;
}

QString finishText(ResultUpload::State state, float speed, float accuracy, const QLocale &locale)
{
    QString outcome;
    switch (state) {
    case ResultUpload::State::Delivered:
        outcome = QStringLiteral("考试结束，成绩已保存。");
        break;
    case ResultUpload::State::Failed:
        // One line of the window: short enough to leave room for the figures.
        outcome = QStringLiteral("考试结束，成绩未送到服务器！请报告监考老师后再试。");
        break;
    case ResultUpload::State::Idle:
    case ResultUpload::State::Uploading:
        outcome = QStringLiteral("考试结束，成绩正在上传，请稍候。");
        break;
    }
    return outcome + QStringLiteral("打字速度：") + numbers::singleTextForScreen(speed, locale)
           + QStringLiteral("字／分钟，正确率：") + numbers::singleTextForScreen(accuracy, locale)
           + QStringLiteral("％");
}

ResultUpload::ResultUpload(const QString &workingFolder, QObject *parent)
    : QObject(parent), m_folder(workingFolder)
{
    m_channel.setWorkingFolder(workingFolder);
    m_scheduler = [this](int attempt, std::function<void()> retry) {
        QTimer::singleShot(1000 << std::min(attempt - 1, 5), this, std::move(retry));
    };
    connect(&m_channel, &TransferChannel::stateChanged, this, &ResultUpload::onChannelState);
}

bool ResultUpload::save(const ResultRecord &record, const Examinee &examinee)
{
    m_record = record;
    m_examinee = examinee;
    m_remoteName = resultFileName(examinee);
    ++m_round;
    m_failures = 0;

    const QDir folder(m_folder);
    const bool written = writeFile(folder.filePath(kPlainRecord), record.toRecordLines())
                         && TranscodeFile(folder.filePath(kPlainRecord),
                                          folder.filePath(kScrambledRecord), kExchangeKey);
    // The exam text and the settings are not needed any more; the plain
    // record has served its purpose. sc1.zip stays for the upload.
    QFile::remove(folder.filePath(paths::examTextFileName()));
    QFile::remove(folder.filePath(paths::examSettingsFileName()));
    QFile::remove(folder.filePath(kPlainRecord));
    if (!written) {
        m_waiting = false;
        setState(State::Failed);
        return false;
    }
    m_waiting = true;
    setState(State::Uploading);
    startWhenFree();
    return true;
}

void ResultUpload::retry()
{
    if (m_state == State::Failed)
        save(m_record, m_examinee);
}

void ResultUpload::startWhenFree()
{
    // A running put finishes first; its report starts the newest record.
    if (!m_waiting || m_channel.isBusy())
        return;
    m_waiting = false;
    m_inFlight = true;
    m_channel.setRemoteHost(m_examinee.serverIP);
    m_channel.put(kScrambledRecord, m_remoteName);
}

void ResultUpload::onChannelState(int code)
{
    if (!m_inFlight || (code != TransferChannel::Completed && code != TransferChannel::Error))
        return;
    m_inFlight = false;
    if (m_waiting) {
        // A newer record was saved meanwhile; its outcome is the one that counts.
        startWhenFree();
        return;
    }
    if (code == TransferChannel::Completed) {
        setState(State::Delivered);
        return;
    }
    ++m_failures;
    if (m_failures >= m_attempts) {
        setState(State::Failed);
        return;
    }
    const int round = m_round;
    m_scheduler(m_failures, [this, round] {
        if (round != m_round || m_state != State::Uploading)
            return;
        m_waiting = true;
        startWhenFree();
    });
}

void ResultUpload::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}
