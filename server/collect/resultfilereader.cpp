// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultfilereader.h"

#include "exchange/keytimeline.h"
#include "exchange/transcode.h"

#include <algorithm>
#include <QCoreApplication>

QString implausibleNameProblem(const ResultRecord &record)
{
    for (const QString *field : { &record.department, &record.examNumber, &record.name }) {
        if (field->size() > ResultFileReader::kMaxNameChars)
            return QCoreApplication::translate("ResultFileReader", "部门、考号或姓名超过%1个字符")
                    .arg(ResultFileReader::kMaxNameChars);
        for (QChar ch : *field) {
            if (ch.category() == QChar::Other_Control)
                return QCoreApplication::translate("ResultFileReader",
                                                   "部门、考号或姓名含有控制字符");
        }
    }
    return {};
}

namespace {

// Why the unscrambled bytes cannot be a record, or empty.
QString shapeProblem(QByteArrayView plain)
{
    // Every record line ends in CR LF; a file that stops short of that is
    // still being uploaded and would give a cut-off name.
    if (!plain.endsWith('\n') && !plain.endsWith('\r'))
        return QCoreApplication::translate("ResultFileReader", "文件不完整，可能正在上传");
    // The lines before the answer sheet's text; a typed paragraph may be
    // longer than any of them.
    constexpr int kHeadLines = 18;
    qsizetype lineStart = 0;
    int lines = 0;
    for (qsizetype i = 0; i < plain.size() && lines < kHeadLines; ++i) {
        if (plain[i] != '\r' && plain[i] != '\n')
            continue;
        if (i - lineStart > ResultFileReader::kMaxLineBytes)
            return QCoreApplication::translate("ResultFileReader", "有一行超过%1字节")
                    .arg(ResultFileReader::kMaxLineBytes);
        lineStart = i + 1;
        lines += plain[i] == '\r';
    }
    return {};
}

// Reads one file as a record; a file that could not be opened or read is
// not to be remembered, so the next collection tries again.
KnownResultFile readRecordFile(const ResultFileFolder &folder, const ResultFileFolder::Entry &entry,
                               QByteArray &plain, bool &remember)
{
    KnownResultFile file;
    file.size = entry.size;
    file.modified = entry.modified;
    const ResultFileFolder::Reading bytes = folder.read(entry);
    if (!bytes.bytes) {
        file.problem = bytes.problem;
        remember = false;
        return file;
    }
    plain = transcodeBytes(*bytes.bytes, kExchangeKey);
    file.problem = shapeProblem(plain);
    if (!file.problem.isEmpty())
        return file;
    file.reading = readResultRecord(plain);
    file.problem =
            file.reading.ok() ? implausibleNameProblem(*file.reading.record) : file.reading.problem;
    if (!file.problem.isEmpty())
        file.reading.record.reset();
    return file;
}

// The sheet and the timeline are what make a record large; its small
// sections (the publication, the signature) key its row and stay.
void dropTexts(ResultRecord &record)
{
    if (record.answerSheet)
        record.answerSheet->typedText = QString();
    auto &sections = record.sections;
    sections.erase(std::remove_if(sections.begin(), sections.end(),
                                  [](const RecordSection &section) {
                                      return section.name == keytimeline::kSectionName;
                                  }),
                   sections.end());
}

}  // namespace

ResultFileReader::ResultFileReader(const ResultFileFolder &folder,
                                   std::shared_ptr<const RecordKeys> keys, bool mayWaitForKeys,
                                   const TextExaminer &examiner)
    : m_folder(folder),
      m_keys(std::move(keys)),
      m_mayWaitForKeys(mayWaitForKeys),
      m_examiner(examiner)
{
}

KnownResultFile ResultFileReader::readOrRecall(const ResultFileFolder::Entry &entry,
                                               const KnownResultFiles &known, bool &remember)
{
    remember = true;
    const auto before = known.constFind(entry.localName);
    // Examined on another basis (another exam), or not at all, it is
    // read again: its texts are gone.
    const bool sameBasis = before != known.cend()
            && (!before->reading.ok()
                || (before->findings.has_value() == bool(m_examiner.examine)
                    && before->basis == m_examiner.basis));
    const QString judgedFor = m_keys ? m_keys->publicationId() : QString();
    if (sameBasis && entry.size >= 0 && before->size == entry.size
        && before->modified == entry.modified && before->judgedFor == judgedFor)
        return *before;
    return read(entry, remember);
}

KnownResultFile ResultFileReader::read(const ResultFileFolder::Entry &entry, bool &remember)
{
    KnownResultFile file = readRecordFile(m_folder, entry, m_lastPlain, remember);
    if (!file.reading.ok())
        return file;
    if (m_keys) {
        file.judgedFor = m_keys->publicationId();
        file.signature = m_keys->check(m_lastPlain, *file.reading.record, m_mayWaitForKeys);
        // Judged again once its key is there.
        remember = file.signature != RecordKeys::Verdict::Pending;
    }
    if (m_examiner.examine) {
        file.findings = m_examiner.examine(*file.reading.record);
        file.basis = m_examiner.basis;
        dropTexts(*file.reading.record);
    }
    return file;
}

ResultRecordReading readNamedResultFile(const ResultFileFolder &folder, const QByteArray &localName)
{
    QByteArray plain;
    bool remember = false;
    KnownResultFile read =
            readRecordFile(folder, { QString::fromUtf8(localName), localName }, plain, remember);
    if (!read.reading.ok())
        read.reading.problem = read.problem;
    return read.reading;
}

ResultRecordReading readCollectedFile(const QString &exchangeFolder, const CollectedFile &file)
{
    return readNamedResultFile(ResultFileFolder(exchangeFolder), file.localName);
}
