// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/resultupload.h"

#include "exchange/examlimits.h"
#include "exchange/numbers.h"
#include "exchange/paths.h"
#include "exchange/resultfilename.h"
#include "exchange/transcode.h"
#include "exchange/wholefile.h"
#include "transfer/transferlog.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QCoreApplication>

namespace {

const QString kScrambledRecord = QStringLiteral("sc1.zip");
}  // namespace

QString resultFileName(const Examinee &examinee, int number)
{
    return resultname::forIdentity(examinee.department, examinee.examNumber, examinee.name, number);
}

QString finishOutcome(ResultUpload::State state)
{
    switch (state) {
    case ResultUpload::State::Delivered:
        return QCoreApplication::translate("ResultUpload", "考试结束，成绩已保存。");
    case ResultUpload::State::Failed:
        // One line of the window: short enough to leave room for the figures.
        return QCoreApplication::translate("ResultUpload",
                                           "考试结束，成绩未送到服务器！请报告监考老师后再试。");
    case ResultUpload::State::Idle:
    case ResultUpload::State::Uploading:
        break;
    }
    return QCoreApplication::translate("ResultUpload", "考试结束，成绩正在上传，请稍候。");
}

QString finishText(const QString &outcome, float speed, float accuracy, const QLocale &locale)
{
    return outcome + QCoreApplication::translate("ResultUpload", "打字速度：")
            + numbers::singleTextForScreen(speed, locale)
            + QCoreApplication::translate("ResultUpload", "字／分钟，正确率：")
            + numbers::singleTextForScreen(accuracy, locale)
            + QCoreApplication::translate("ResultUpload", "％");
}

ResultUpload::ResultUpload(const QString &workingFolder, QObject *parent)
    : QObject(parent), m_folder(workingFolder)
{
    m_channel.setWorkingFolder(workingFolder);
    m_scheduler = [this](int attempt, std::function<void()> retry) {
        QTimer::singleShot(1000 << std::min(attempt - 1, 5), this, std::move(retry));
    };
    connect(&m_channel, &TransferChannel::finished, this, &ResultUpload::onChannelFinished);
}

QString ResultUpload::save(const ResultRecord &record, const Examinee &examinee)
{
    return sendWritten(writeLocal(m_folder, record), examinee);
}

wholefile::Reading ResultUpload::writeLocal(const QString &workingFolder,
                                            const ResultRecord &record)
{
    // The record is scrambled in memory and written once, whole or not at
    // all; what goes out must be this record, whole: a short or stale
    // sc1.zip would replace a good record on the service.
    const QByteArray scrambled = transcodeBytes(record.toRecordLines(), kExchangeKey);
    const QString scrambledPath = QDir(workingFolder).filePath(kScrambledRecord);
    const QString problem = wholefile::write(scrambledPath, scrambled);
    if (!problem.isEmpty())
        return { std::nullopt, problem };
    wholefile::Reading back = wholefile::read(scrambledPath, examlimits::kMaxResultFileBytes);
    if (back.bytes
        && (*back.bytes != scrambled
            || !readResultRecord(transcodeBytes(*back.bytes, kExchangeKey)).ok()))
        return {
            std::nullopt,
            tr("成绩文件“%1”读回的内容与写入的不同").arg(QDir::toNativeSeparators(scrambledPath))
        };
    return back;
}

QString ResultUpload::sendWritten(const wholefile::Reading &written, const Examinee &examinee)
{
    m_examinee = examinee;
    m_expected = std::max(0, m_expected - 1);
    m_newNames = 0;
    ++m_round;
    m_failures = 0;

    // The exam text and the settings are not needed any more; sc1.zip stays
    // for the upload and for the examiner.
    const QDir folder(m_folder);
    QFile::remove(folder.filePath(paths::examTextFileName()));
    QFile::remove(folder.filePath(paths::examSettingsFileName()));
    m_localProblem = written.problem;
    if (!written.bytes) {
        m_waiting = false;
        // A later record on its way has the outcome that counts.
        if (m_expected == 0)
            setState(State::Failed, true);
        return written.problem;
    }
    // The upload sends these bytes, never sc1.zip as it is by then: the
    // next record may be being written there already (and on Windows a
    // file being read cannot be replaced).
    m_recordBytes = *written.bytes;
    m_waiting = true;
    setState(State::Uploading);
    startWhenFree();
    return QString();
}

void ResultUpload::expectRecord()
{
    ++m_round;
    ++m_expected;
    setState(State::Uploading);
}

void ResultUpload::continueAfterName(int newestName)
{
    m_takenName = std::max(0, newestName);
    if (m_takenName > 1 && !m_writeOnce) {
        m_writeOnce = true;
        emit writeOnceFound();
    }
}

QString ResultUpload::localRecordPath() const
{
    if (!m_localProblem.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QDir(m_folder).absoluteFilePath(kScrambledRecord));
}

void ResultUpload::startWhenFree()
{
    // A running put finishes first; its report starts the newest record.
    // While a newer record is still being written, this one is not sent:
    // the console would only see it superseded seconds later.
    if (!m_waiting || m_expected > 0 || m_channel.isBusy())
        return;
    m_waiting = false;
    m_inFlight = true;
    // On a write-once service every record needs a name not taken before;
    // a put that failed took none, so no number is left unused.
    m_nameNumber = m_writeOnce ? m_takenName + 1 : m_ownName;
    m_remoteName = resultFileName(m_examinee, m_nameNumber);
    m_channel.setRemoteHost(m_examinee.serverIP);
    m_channel.putData(m_recordBytes, m_remoteName);
}

void ResultUpload::onChannelFinished(TransferChannel::Outcome outcome)
{
    if (!m_inFlight)
        return;
    m_inFlight = false;
    // Stored, or refused because a file or a folder is there already: taken
    // either way.
    const bool nameTaken = outcome == TransferChannel::Outcome::ReplaceRefused
            || outcome == TransferChannel::Outcome::FolderInTheWay;
    if (outcome == TransferChannel::Outcome::Completed || nameTaken)
        m_takenName = std::max(m_takenName, m_nameNumber);
    if (outcome == TransferChannel::Outcome::FolderInTheWay)
        m_ownName = std::max(m_ownName, m_nameNumber + 1);
    if (m_waiting || m_expected > 0) {
        // A newer record was saved meanwhile, or is on its way to be; its
        // outcome is the one that counts.
        startWhenFree();
        return;
    }
    // The newest record could not be written: an earlier one arriving does
    // not make it Delivered, it stays Failed.
    if (!m_localProblem.isEmpty())
        return;
    if (outcome == TransferChannel::Outcome::Completed) {
        setState(State::Delivered);
        return;
    }
    if (nameTaken && storeUnderNewName(outcome))
        return;
    ++m_failures;
    qCWarning(lcTransfer) << "upload of" << m_remoteName << "failed:" << outcome;
    if (m_failures >= m_attempts) {
        qCWarning(lcTransfer) << "upload given up after" << m_failures << "attempts";
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

bool ResultUpload::storeUnderNewName(TransferChannel::Outcome outcome)
{
    if (++m_newNames > kMaxNewNames)
        return false;
    // A folder takes one name; a file that stays tells of the service.
    if (outcome == TransferChannel::Outcome::ReplaceRefused && !m_writeOnce) {
        m_writeOnce = true;
        emit writeOnceFound();
    }
    m_waiting = true;
    startWhenFree();
    return true;
}

void ResultUpload::setState(State state, bool always)
{
    if (m_state == state && !always)
        return;
    m_state = state;
    emit stateChanged(state);
}
