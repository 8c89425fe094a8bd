// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login codes of one publication: a random code for each examinee of
// the class list, handed out on paper and typed at login. The console keeps
// them beside its record of the exam (fbdlm.txt), named by the publication,
// so a restarted console still checks the records they signed.
#include <QString>
#include <QVector>

#include <optional>

struct CodedExaminee
{
    QString department;
    QString examNumber;
    QString name;
    QString code;
};

class LoginCodes
{
public:
    static QString fileName() { return QStringLiteral("fbdlm.txt"); }

    LoginCodes() = default;
    // A new code (logincode::draw) for each examinee who has none yet.
    static LoginCodes issue(const QString &publicationId, QVector<CodedExaminee> examinees);

    const QString &publicationId() const { return m_publicationId; }
    const QVector<CodedExaminee> &examinees() const { return m_examinees; }
    bool isEmpty() const { return m_examinees.isEmpty(); }

    // The code of the examinee who typed this identity: the listed one with
    // this exam number and name (compared as identities are), told apart by
    // department where numbers repeat. Empty when nobody listed is meant.
    QString codeOf(const QString &department, const QString &examNumber, const QString &name) const;
    // The listed examinee meant, found the same way; null when nobody is.
    const CodedExaminee *examineeOf(const QString &department, const QString &examNumber,
                                    const QString &name) const;
    // The examinees, each with the code it has here; empty for one who has none.
    QVector<CodedExaminee> handedTo(QVector<CodedExaminee> examinees) const;

    // GBK record lines: the publication id, then four lines for each
    // examinee, written whole; the problem or empty.
    QString save(const QString &path) const;
    // The codes kept for this publication; none when the file is missing,
    // does not read, or belongs to another publication.
    static LoginCodes load(const QString &path, const QString &publicationId);
    // Codes saved before any publication took them (with an empty id).
    static LoginCodes loadUnpublished(const QString &path);

private:
    static LoginCodes read(const QString &path, const QString &publicationId);

    QString m_publicationId;
    QVector<CodedExaminee> m_examinees;
};
