// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The publications of the exam under way, kept beside fb.txt (fbid.txt).
// Each 允许登录 gives a new publication id, but examinees who logged in
// before 禁止登录 and 允许登录 of the same text, time and codes sit the same
// exam: the ids the console published of it are all its own. Ids the console
// found in a pb.txt someone else wrote, and wrote back, are kept too: an
// examinee who logged in meanwhile sat this exam under a forged id, and is
// neither counted without a word nor left out. A changed exam or 清空上次
// starts a new list.
#include "publish/examaspublished.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class ExamPublications
{
public:
    static QString fileName() { return QStringLiteral("fbid.txt"); }

    struct Seen
    {
        QString id;
        QDateTime at;  // published, or the forged pb.txt written back (UTC)

        friend bool operator==(const Seen &a, const Seen &b)
        {
            return a.id == b.id && a.at == b.at;
        }
    };

    // The list kept at path; empty when there is none or it does not read.
    static ExamPublications load(const QString &path);
    // The list of the exam the console published last (fb.txt in the
    // folder): the kept one when it is of that exam, else that publication
    // alone; either way published when fb.txt was written.
    static ExamPublications ofPublishedExam(const QString &applicationFolder);
    // GBK lines, written whole; the problem or empty.
    QString save(const QString &path) const;

    // The exam went out as a new publication: the list goes on when the
    // exam is the one it is of, and starts anew otherwise.
    void published(const ExamAsPublished &exam, const QDateTime &at);
    // A pb.txt naming `id`, not the console's, was written back at `at`.
    void forged(const QString &id, const QDateTime &at);

    // Ids of the exam's own publications, the first first.
    const QVector<Seen> &own() const { return m_own; }
    QStringList ownIds() const;
    const QVector<Seen> &forgedIds() const { return m_forged; }
    bool isOwn(const QString &id) const;
    // The forged publication with this id; null when there is none.
    const Seen *forgedOf(const QString &id) const;
    // Every id a record of this exam may name: its own, then the forged.
    QStringList ids() const;

    friend bool operator==(const ExamPublications &a, const ExamPublications &b)
    {
        return a.m_exam == b.m_exam && a.m_own == b.m_own && a.m_forged == b.m_forged;
    }

private:
    // What makes two publications one exam: the time, the text and the codes.
    static QByteArray examKey(const ExamAsPublished &exam);

    QByteArray m_exam;
    QVector<Seen> m_own;
    QVector<Seen> m_forged;
};
