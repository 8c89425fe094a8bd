// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/logincodes.h"

#include "exchange/identity.h"
#include "exchange/logincode.h"
#include "exchange/recordlines.h"
#include "exchange/wholefile.h"

namespace {

constexpr int kLinesPerExaminee = 4;
// A class list holds at most 5,000 examinees of short lines.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

}  // namespace

LoginCodes LoginCodes::issue(const QString &publicationId, QVector<CodedExaminee> examinees)
{
    LoginCodes codes;
    codes.m_publicationId = publicationId;
    for (CodedExaminee &examinee : examinees) {
        if (examinee.code.isEmpty())
            examinee.code = logincode::draw();
    }
    codes.m_examinees = std::move(examinees);
    return codes;
}

QString LoginCodes::codeOf(const QString &department, const QString &examNumber,
                           const QString &name) const
{
    const CodedExaminee *examinee = examineeOf(department, examNumber, name);
    return examinee ? examinee->code : QString();
}

const CodedExaminee *LoginCodes::examineeOf(const QString &department, const QString &examNumber,
                                            const QString &name) const
{
    const QString number = identity::matchKey(examNumber);
    const QString person = identity::matchKey(name);
    const CodedExaminee *found = nullptr;
    int matches = 0;
    for (const CodedExaminee &examinee : m_examinees) {
        if (identity::matchKey(examinee.examNumber) != number
            || identity::matchKey(examinee.name) != person)
            continue;
        ++matches;
        found = &examinee;
        if (identity::matchKey(examinee.department) == identity::matchKey(department))
            return &examinee;
    }
    // Namesakes with one number in two departments: only the department tells.
    return matches == 1 ? found : nullptr;
}

QVector<CodedExaminee> LoginCodes::handedTo(QVector<CodedExaminee> examinees) const
{
    for (CodedExaminee &examinee : examinees)
        examinee.code = codeOf(examinee.department, examinee.examNumber, examinee.name);
    return examinees;
}

QString LoginCodes::save(const QString &path) const
{
    RecordWriter writer;
    writer.text(m_publicationId);
    for (const CodedExaminee &examinee : m_examinees)
        writer.text(examinee.department)
                .text(examinee.examNumber)
                .text(examinee.name)
                .text(examinee.code);
    return wholefile::write(path, writer.bytes());
}

LoginCodes LoginCodes::load(const QString &path, const QString &publicationId)
{
    return publicationId.isEmpty() ? LoginCodes() : read(path, publicationId);
}

LoginCodes LoginCodes::loadUnpublished(const QString &path)
{
    return read(path, {});
}

LoginCodes LoginCodes::read(const QString &path, const QString &publicationId)
{
    const wholefile::Reading file = wholefile::read(path, kMaxFileBytes);
    if (!file.bytes)
        return {};
    const RecordReader reader(*file.bytes);
    if (reader.text(0) != publicationId || (reader.lineCount() - 1) % kLinesPerExaminee != 0)
        return {};
    LoginCodes codes;
    codes.m_publicationId = publicationId;
    for (int line = 1; line < reader.lineCount(); line += kLinesPerExaminee) {
        const auto department = reader.text(line);
        const auto number = reader.text(line + 1);
        const auto name = reader.text(line + 2);
        const auto code = reader.text(line + 3);
        if (!department || !number || !name || !code || code->isEmpty())
            return {};
        codes.m_examinees.append({ *department, *number, *name, *code });
    }
    return codes;
}
