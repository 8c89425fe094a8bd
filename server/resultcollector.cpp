#include "resultcollector.h"

#include "exchangefolder.h"
#include "numbers.h"
#include "paths.h"
#include "resultrecord.h"
#include "transcode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ResultCollector::ResultCollector(QString exchangeFolder, QString applicationFolder,
                                 ResultStore &store)
    : m_exchangeFolder(std::move(exchangeFolder)),
      m_applicationFolder(std::move(applicationFolder)),
      m_store(store)
{
}

namespace {

// Reads a whole file; empty optional with the reason in `why` when it cannot.
std::optional<QByteArray> readFile(const QString &path, QString &why)
{
    QFile file(path);
    // Whole small files: Qt's buffering would only add copies and calls.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        why = QStringLiteral("无法打开：") + file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        why = QStringLiteral("无法读取：") + file.errorString();
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

CollectionReport ResultCollector::collect()
{
    CollectionReport report;
    // A folder that has gone (a drive not mounted, a wrong setting) must not
    // wipe the results of the last collection.
    if (!paths::exchangeFolderIsReady(m_exchangeFolder)) {
        report.problem = exchangeFolderMissingMessage(m_exchangeFolder);
        return report;
    }
    const QString scratchPath = QDir(m_applicationFolder).filePath(scratchFileName());
    // Folders are listed too, so that a folder named like a result file is
    // reported instead of silently passed over.
    const QFileInfoList entries = QDir(m_exchangeFolder)
                                      .entryInfoList({QStringLiteral("*.zip")},
                                                     QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                                                     QDir::Name);
    QVector<ResultRow> rows;
    rows.reserve(entries.size());
    // cj.zip stays open for the whole collection and is rewritten in place
    // for each file: truncating and closing it per file would make the file
    // system flush it to disk every time.
    QFile scratch(scratchPath);
    if (!scratch.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        report.problem = QStringLiteral("无法写入 %1：%2")
                             .arg(QDir::toNativeSeparators(scratchPath), scratch.errorString());
        return report;
    }
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            report.skipped.append({entry.fileName(), QStringLiteral("是文件夹")});
            continue;
        }
        QString why;
        const auto scrambled = readFile(entry.filePath(), why);
        if (!scrambled) {
            report.skipped.append({entry.fileName(), why});
            continue;
        }
        const QByteArray plain = transcodeBytes(*scrambled, kExchangeKey);
        // cj.zip holds the unscrambled copy of the file being read.
        if (!scratch.seek(0) || scratch.write(plain) != plain.size() || !scratch.resize(plain.size())) {
            report.problem = QStringLiteral("无法写入 %1：%2")
                                 .arg(QDir::toNativeSeparators(scratchPath), scratch.errorString());
            return report;
        }
        // Every record line ends in CR LF; a file that stops short of that is
        // still being uploaded and would give a cut-off name.
        if (!plain.endsWith('\n') && !plain.endsWith('\r')) {
            report.skipped.append({entry.fileName(), QStringLiteral("文件不完整，可能正在上传")});
            continue;
        }
        const ResultRecordReading reading = readResultRecord(plain);
        if (!reading.ok()) {
            report.skipped.append({entry.fileName(), reading.problem});
            continue;
        }
        const ResultRecord &record = *reading.record;
        ResultRow row;
        row.recNo = static_cast<qint32>(rows.size() + 1);
        row.banName = record.banName;
        row.xueHao = record.xueHao;
        row.xingMing = record.xingMing;
        // The single as the client wrote it (56.1, not 56.0999984741211).
        row.speed = numbers::singleText(record.speed).toDouble();
        row.zhengQueLv = reading.accuracyLine;
        row.timePass = record.timePass;
        rows.append(row);
    }
    if (!m_store.replaceAll(rows)) {
        report.problem = m_store.lastError();
        return report;
    }
    report.rowCount = static_cast<int>(rows.size());
    return report;
}

QString skippedFilesMessage(const QVector<SkippedFile> &skipped)
{
    if (skipped.isEmpty())
        return {};
    // A long list would not fit on the screen; the first ones tell the story.
    constexpr int kListed = 20;
    QString text = QStringLiteral("有%1个成绩文件无法读取，没有计入成绩：").arg(skipped.size());
    for (int i = 0; i < skipped.size() && i < kListed; ++i)
        text += QLatin1Char('\n') + skipped.at(i).name + QStringLiteral("（")
                + skipped.at(i).reason + QStringLiteral("）");
    if (skipped.size() > kListed)
        text += QStringLiteral("\n……");
    return text;
}
