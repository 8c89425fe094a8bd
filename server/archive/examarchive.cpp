// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/examarchive.h"

#include "archive/archivedcolumns.h"
#include "archive/archivedialect.h"
#include "archive/archivetransaction.h"
#include "archive/boundstatement.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <QCoreApplication>

using namespace archivecolumns;

namespace {

// NULL for an exam without a publication: the unique index allows many.
QVariant publicationValue(const QString &publication)
{
    return publication.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(publication);
}

QString cannotWrite()
{
    return QCoreApplication::translate("ExamArchive", "无法写入考试存档");
}

QString noSuchExam()
{
    return QCoreApplication::translate("ExamArchive", "考试存档中没有这场考试。");
}

}  // namespace

QString ExamArchive::writeSitting(const ExamSitting &sitting)
{
    ArchiveTransaction transaction(connection());
    if (const QString refused = writeRefused(transaction, cannotWrite()); !refused.isEmpty())
        return refused;
    QSqlQuery query(connection());
    QString detail = query.exec(QStringLiteral("DELETE FROM sitting")) ? QString()
                                                                       : query.lastError().text();
    if (detail.isEmpty())
        detail = boundstatement::run(
                query,
                QStringLiteral("INSERT INTO sitting (opened_at, closed_at, article_name, "
                               "article_text, exam_minutes) VALUES (?, ?, ?, ?, ?)"),
                { timeValue(sitting.openedAt), timeValue(sitting.closedAt), sitting.articleName,
                  sitting.articleText, sitting.examMinutes });
    if (!detail.isEmpty())
        return failed(cannotWrite(), detail);
    if (const QString detail = transaction.commit(); !detail.isEmpty())
        return failed(cannotWrite(), detail);
    return {};
}

ExamSitting ExamArchive::sittingUnderWay()
{
    ExamSitting sitting;
    if (!isOpen())
        return sitting;
    QSqlQuery query(connection());
    if (query.exec(QStringLiteral("SELECT opened_at, closed_at, article_name, article_text, "
                                  "exam_minutes FROM sitting"))
        && query.next()) {
        sitting.openedAt = timeOf(query.value(0));
        sitting.closedAt = timeOf(query.value(1));
        sitting.articleName = query.value(2).toString();
        sitting.articleText = query.value(3).toString();
        sitting.examMinutes = static_cast<qint16>(query.value(4).toInt());
    }
    return sitting;
}

QString ExamArchive::noteLoginOpened(const ExamSitting &published)
{
    const ExamSitting noted = sittingUnderWay();
    ExamSitting sitting = published;
    // Opening again after a close continues the same exam.
    if (noted.openedAt.isValid())
        sitting.openedAt = noted.openedAt;
    if (sitting.articleName.isEmpty())
        sitting.articleName = noted.articleName;
    sitting.closedAt = QDateTime();
    return writeSitting(sitting);
}

QString ExamArchive::noteLoginClosed(const QDateTime &when)
{
    ExamSitting sitting = sittingUnderWay();
    sitting.closedAt = when;
    return writeSitting(sitting);
}

QString ExamArchive::keyOf(const QByteArray &publishedDigest, const QVector<ResultRow> &rows)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(publishedDigest);
    for (const ResultRow &row : rows) {
        const QStringList fields { QString::number(row.recNo),
                                   row.department,
                                   row.examNumber,
                                   row.name,
                                   QString::number(row.speed, 'g', 17),
                                   row.accuracyLine,
                                   QString::number(row.timePass) };
        const QString line = QChar(0x1e) + fields.join(QChar(0x1f));
        hash.addData(line.toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

ExamArchive::Kept ExamArchive::keep(const ExamSitting &sitting, const QVector<ArchivedRow> &rows,
                                    Outbox outbox)
{
    ArchiveTransaction transaction(connection());
    if (const QString refused = writeRefused(transaction, cannotWrite()); !refused.isEmpty())
        return { refused };
    QSqlQuery query(connection());
    QString detail;
    for (const QString &statement : ArchiveDialect::of(connection()).keepLock()) {
        if (detail.isEmpty() && !query.exec(statement))
            detail = query.lastError().text();
    }
    // Of a publication, the copy kept first stands: a clear repeated
    // after a failure or a kill may find its rows collected anew.
    if (detail.isEmpty())
        detail = boundstatement::run(
                query,
                QStringLiteral(
                        "SELECT id FROM exams WHERE exam_key = ? OR publication = ? ORDER BY id"),
                { sitting.key, publicationValue(sitting.publication) });
    if (detail.isEmpty() && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        // Kept before a crash, with the table not yet cleared: one copy.
        if (endSitting(query) && transaction.commit().isEmpty())
            return { {}, id, true };
        return { failed(cannotWrite(), query.lastError().text()) };
    }
    qint64 id = 0;
    if (detail.isEmpty()) {
        // The id is the database's own, given by the insert.
        const QVariantList values { sitting.key,
                                    timeValue(sitting.openedAt),
                                    timeValue(sitting.closedAt),
                                    timeValue(sitting.archivedAt.isValid()
                                                      ? sitting.archivedAt
                                                      : QDateTime::currentDateTimeUtc()),
                                    sitting.articleName,
                                    sitting.articleText,
                                    sitting.examMinutes,
                                    sitting.roster,
                                    sitting.scale.toText(),
                                    sitting.lab,
                                    sitting.teacher,
                                    publicationValue(sitting.publication),
                                    outbox == Outbox::Waits
                                            ? QVariant(QMetaType::fromType<QString>())
                                            : QVariant(QStringLiteral("")) };
        detail = boundstatement::run(
                query,
                QStringLiteral("INSERT INTO exams (exam_key, opened_at, closed_at, archived_at, "
                               "article_name, article_text, exam_minutes, roster, grading, lab, "
                               "teacher, publication, sent_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                               "?, ?, ?, ?, ?) RETURNING id"),
                values);
        if (detail.isEmpty() && query.next())
            id = query.value(0).toLongLong();
        else if (detail.isEmpty())
            detail = tr("数据库没有给出这场考试的编号");
    }
    if (detail.isEmpty())
        detail = writeRows(connection(), id, rows);
    if (detail.isEmpty() && !endSitting(query))
        detail = query.lastError().text();
    if (!detail.isEmpty())
        return { failed(cannotWrite(), detail) };
    if (detail = transaction.commit(); !detail.isEmpty())
        return { failed(cannotWrite(), detail) };
    return { {}, id, false };
}

bool ExamArchive::endSitting(QSqlQuery &query)
{
    // A school database has no exam under way, and a lab no right to that table.
    return place().isSchool() || query.exec(QStringLiteral("DELETE FROM sitting"));
}

ArchiveRead<QVector<ArchivedExam>> ExamArchive::exams()
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM exams ORDER BY id DESC").arg(examColumns())))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    QVector<ArchivedExam> exams;
    while (query.next())
        exams.append(examAt(query));
    if (!query.exec(QStringLiteral("SELECT exam_id, %1 FROM exam_rows ORDER BY exam_id, position")
                            .arg(rowColumns())))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    addRowsTo(query, exams);
    if (!readDoubtsOf(query, exams))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    // Newest first; of two held at once, the one kept later.
    std::stable_sort(exams.begin(), exams.end(), [](const ArchivedExam &a, const ArchivedExam &b) {
        return a.sitting.heldAt() > b.sitting.heldAt();
    });
    return { exams, {} };
}

ArchiveRead<ArchivedExam> ExamArchive::exam(qint64 id)
{
    ArchiveRead<ArchivedExam> read = examWithoutRows(id);
    if (!read.value)
        return read;
    QVector<ArchivedExam> exams { std::move(*read.value) };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!readRowsOf(query, exams))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    return { std::move(exams.first()), {} };
}

ArchiveRead<ArchivedExam> ExamArchive::examWithoutRows(qint64 id)
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    if (const QString detail = boundstatement::run(
                query, QStringLiteral("SELECT %1 FROM exams WHERE id = ?").arg(examColumns()),
                { id });
        !detail.isEmpty())
        return { std::nullopt, failed(cannotRead(), detail) };
    if (!query.next())
        return { std::nullopt, noSuchExam() };
    return { examAt(query), {} };
}

QString ExamArchive::regrade(qint64 id, const GradingScale &scale)
{
    return setExamValue(id, QStringLiteral("grading"), scale.toText());
}

QString ExamArchive::setExamValue(qint64 id, const QString &column, const QVariant &value)
{
    ArchiveTransaction transaction(connection());
    if (const QString refused = writeRefused(transaction, cannotWrite()); !refused.isEmpty())
        return refused;
    QSqlQuery query(connection());
    if (const QString detail = boundstatement::run(
                query, QStringLiteral("UPDATE exams SET %1 = ? WHERE id = ?").arg(column),
                { value, id });
        !detail.isEmpty())
        return failed(cannotWrite(), detail);
    if (query.numRowsAffected() == 0)
        return notChanged(id);
    if (const QString detail = transaction.commit(); !detail.isEmpty())
        return failed(cannotWrite(), detail);
    return {};
}

QString ExamArchive::notChanged(qint64 id)
{
    // On a school's server the rows of another lab's exam are not the
    // lab's to change: a change finds none of them.
    const ArchiveRead<ArchivedExam> found = examWithoutRows(id);
    if (!found.value)
        return found.problem;
    if (const QString refused = changeRefused(found.value->sitting); !refused.isEmpty())
        return refused;
    return failed(cannotWrite(), tr("没有改动任何一行"));
}

QString ExamArchive::changeRefused(const ExamSitting &sitting, const QString &role, bool school)
{
    if (!school || sitting.labRole == role)
        return {};
    return tr("这场考试是机房“%1”保存的，只有那个机房能更改或删除它。").arg(sitting.lab);
}

QString ExamArchive::remove(qint64 id)
{
    const QString what = tr("无法删除存档的考试");
    ArchiveTransaction transaction(connection());
    if (const QString refused = writeRefused(transaction, what); !refused.isEmpty())
        return refused;
    QSqlQuery query(connection());
    QString detail;
    for (const char *statement :
         { "DELETE FROM row_doubts WHERE exam_id = ?", "DELETE FROM exam_rows WHERE exam_id = ?",
           "DELETE FROM exams WHERE id = ?" }) {
        if (detail.isEmpty())
            detail = boundstatement::run(query, QString::fromLatin1(statement), { id });
    }
    if (!detail.isEmpty())
        return failed(what, detail);
    // Nothing deleted: no such exam, or another lab's, whose rows the
    // server kept from this lab; the transaction is rolled back.
    if (query.numRowsAffected() == 0)
        return notChanged(id);
    if (const QString detail = transaction.commit(); !detail.isEmpty())
        return failed(what, detail);
    return {};
}

ArchiveRead<QVector<qint64>> ExamArchive::waiting()
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id FROM exams WHERE sent_at IS NULL ORDER BY id")))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    QVector<qint64> ids;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    return { ids, {} };
}

QString ExamArchive::markSent(qint64 id, const QDateTime &when)
{
    return setExamValue(id, QStringLiteral("sent_at"), timeValue(when));
}

QString ExamArchive::queueKeptBefore(const QString &lab)
{
    return runWrite(QStringLiteral("UPDATE exams SET sent_at = NULL, lab = ? WHERE sent_at = ''"),
                    { lab });
}

QString ExamArchive::holdWaiting()
{
    return runWrite(QStringLiteral("UPDATE exams SET sent_at = '' WHERE sent_at IS NULL"));
}

QString ExamArchive::runWrite(const QString &statement, const QVariantList &values)
{
    ArchiveTransaction transaction(connection());
    if (const QString refused = writeRefused(transaction, cannotWrite()); !refused.isEmpty())
        return refused;
    QSqlQuery query(connection());
    if (const QString detail = boundstatement::run(query, statement, values); !detail.isEmpty())
        return failed(cannotWrite(), detail);
    if (const QString detail = transaction.commit(); !detail.isEmpty())
        return failed(cannotWrite(), detail);
    return {};
}
