// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/publishedfiles.h"

#include "publish/exchangefolder.h"
#include "exchange/examsettings.h"
#include "exchange/paths.h"
#include "exchange/transcode.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFileInfo>

std::vector<PublishedFiles::File> PublishedFiles::of(const ExamAsPublished &exam)
{
    std::vector<File> files;
    if (!exam.textBytes.isEmpty())
        files.push_back({ paths::examTextFileName(), exam.textBytes });
    // An exam kept by a console that published no pb.txt has no id to publish.
    if (!exam.publication.id.isEmpty())
        files.push_back({ Publication::fileName(), exam.publication.toRecordLines() });
    const ExamSettings settings { true, exam.examMinutes };
    files.push_back({ paths::examSettingsFileName(),
                      transcodeBytes(settings.toRecordLines(), kExchangeKey) });
    return files;
}

PublishedFiles::PublishedFiles(QString exchangeFolder, std::vector<File> files)
    : m_exchangeFolder(std::move(exchangeFolder)), m_files(std::move(files))
{
}

QString PublishedFiles::publish(const QString &path, const QByteArray &bytes)
{
    if (QString problem = freeWritePlace(path); !problem.isEmpty())
        return problem;
    if (QString problem = wholefile::write(path, bytes); !problem.isEmpty())
        return problem;
    const wholefile::Reading back = wholefile::read(path, bytes.size());
    if (!back.bytes)
        return back.problem;
    if (*back.bytes != bytes)
        return tr("%1 读回的内容与写入的不同，磁盘可能已满或有故障")
                .arg(QDir::toNativeSeparators(path));
    return {};
}

QString PublishedFiles::pathOf(const File &file) const
{
    return QDir(m_exchangeFolder).filePath(file.name);
}

bool PublishedFiles::holds(const File &file) const
{
    // The size first: most changes are seen without reading a byte.
    const QFileInfo info(pathOf(file));
    if (!info.isFile() || info.size() != file.bytes.size())
        return false;
    const wholefile::Reading now = wholefile::read(pathOf(file), file.bytes.size());
    return now.bytes && *now.bytes == file.bytes;
}

QString PublishedFiles::forgedPublication(const File &file) const
{
    if (file.name != Publication::fileName())
        return {};
    // A publication file is one short line and a Boolean.
    constexpr qint64 kMaxPublicationBytes = 256;
    const wholefile::Reading found = wholefile::read(pathOf(file), kMaxPublicationBytes);
    const auto there = found.bytes ? Publication::fromRecordLines(*found.bytes) : std::nullopt;
    const auto own = Publication::fromRecordLines(file.bytes);
    return there && own && there->id != own->id ? there->id : QString();
}

PublishedFiles::Restoring PublishedFiles::restore() const
{
    Restoring restoring;
    for (const File &file : m_files) {
        if (holds(file))
            continue;
        if (QString forged = forgedPublication(file); !forged.isEmpty())
            restoring.forgedPublication = std::move(forged);
        if (QString problem = publish(pathOf(file), file.bytes); !problem.isEmpty()) {
            restoring.problem = std::move(problem);
            return restoring;
        }
        restoring.restored << file.name;
    }
    return restoring;
}
