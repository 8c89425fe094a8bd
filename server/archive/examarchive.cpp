// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/examarchive.h"

#include "archive/schema.h"
#include "numbers.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("kestrix-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

QVariant timeValue(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toUTC().toString(Qt::ISODate))
                          : QVariant(QMetaType::fromType<QString>());
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromString(value.toString(), Qt::ISODate);
}

// A scale that no longer reads (edited by hand) grades with the standard one.
GradingScale scaleOf(const QVariant &text)
{
    return GradingScale::fromText(text.toString()).scale.value_or(GradingScale::standard());
}

bool isLockError(const QString &detail)
{
    return detail.contains(QLatin1String("locked")) || detail.contains(QLatin1String("busy"));
}

// The statement, run; its error text when it failed.
QString run(QSqlQuery &query, const QString &statement)
{
    return query.exec(statement) ? QString() : query.lastError().text();
}

}  // namespace

ExamArchive::ExamArchive(const QString &path) : m_connection(newConnectionName()), m_path(path)
{
    const bool existed = QFileInfo(path).size() > 0;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMillis));
    if (!db.open()) {
        refuse(QStringLiteral("无法打开"), db.lastError().text());
        return;
    }
    // Everything that could refuse the file is read before anything is written.
    if (existed) {
        if (const QString problem = sqliteFileProblem(); !problem.isEmpty()) {
            refuse(problem);
            return;
        }
        const QStringList tables = db.tables();
        if (!tables.isEmpty() && !tables.contains(QStringLiteral("archive_schema"))) {
            refuse(QStringLiteral("不是考试存档（其中是别的数据表）"));
            return;
        }
    }
    QSqlQuery query(db);
    // The log makes each kept exam atomic; every write is checkpointed into
    // the file itself (so that a copy of it is whole), and each commit
    // reaches the disk before the results table is cleared.
    if (const QString detail = run(query, QStringLiteral("PRAGMA journal_mode=WAL"));
        !detail.isEmpty()) {
        refuse(QStringLiteral("无法写入"), detail);
        return;
    }
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    if (const QString problem = migrate(); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    m_open = true;
}

ExamArchive::~ExamArchive()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

void ExamArchive::close()
{
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::database(m_connection, false).close();
    m_open = false;
}

QSqlDatabase ExamArchive::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString ExamArchive::refuse(const QString &reason, const QString &detail)
{
    m_startProblem = QStringLiteral("考试存档 %1 %2，本次不能存档考试（考试照常进行）。")
                             .arg(QDir::toNativeSeparators(m_path), reason);
    if (!detail.isEmpty())
        m_startProblem += QStringLiteral("\n详情：") + detail;
    close();
    return m_startProblem;
}

QString ExamArchive::failed(const QString &what, const QString &detail) const
{
    QString text = QStringLiteral("%1 %2：%3").arg(what, QDir::toNativeSeparators(m_path), detail);
    if (isLockError(detail))
        text += QStringLiteral("\n考试存档正被其他程序使用，请关闭那个程序后再试。");
    return text;
}

QString ExamArchive::sqliteFileProblem()
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        const QString detail = query.lastError().text();
        if (isLockError(detail))
            return QStringLiteral("正被其他程序使用");
        if (detail.contains(QLatin1String("not a database")))
            return QStringLiteral("不是数据库文件");
        return QStringLiteral("已损坏（") + detail + u'）';
    }
    if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
        return QStringLiteral("已损坏（完整性检查未通过）");
    return {};
}

std::optional<int> ExamArchive::schemaVersion(QString &problem)
{
    if (!database().tables().contains(QStringLiteral("archive_schema")))
        return 0;
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT version FROM archive_schema")) || !query.next()) {
        problem = query.lastError().text();
        return std::nullopt;
    }
    return query.value(0).toInt();
}

QString ExamArchive::migrate()
{
    QString detail;
    const std::optional<int> found = schemaVersion(detail);
    if (!found)
        return QStringLiteral("无法读取存档版本（") + detail + u'）';
    if (*found > archiveschema::kVersion)
        return QStringLiteral("由较新版本的考试服务器建立（存档版本%1，本程序只能使用到版本%2）")
                .arg(*found)
                .arg(archiveschema::kVersion);
    QSqlDatabase db = database();
    for (int version = *found; version < archiveschema::kVersion; ++version) {
        // Each step and its version number in one transaction: a step that
        // fails leaves the tables as they were.
        if (!db.transaction())
            return QStringLiteral("无法升级（") + db.lastError().text() + u'）';
        QSqlQuery query(db);
        QStringList statements = archiveschema::migration(version);
        statements << QStringLiteral("UPDATE archive_schema SET version = %1").arg(version + 1);
        for (const QString &statement : statements) {
            if (detail = run(query, statement); !detail.isEmpty())
                break;
        }
        if (detail.isEmpty() && !db.commit())
            detail = db.lastError().text();
        if (!detail.isEmpty()) {
            db.rollback();
            return QStringLiteral("无法升级到版本%1（%2）").arg(version + 1).arg(detail);
        }
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return {};
}

QString ExamArchive::writeSitting(const ExamSitting &sitting)
{
    if (!m_open)
        return m_startProblem;
    QSqlDatabase db = database();
    if (!db.transaction())
        return failed(QStringLiteral("无法写入考试存档"), db.lastError().text());
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral("DELETE FROM sitting"));
    if (ok) {
        query.prepare(QStringLiteral(
                "INSERT INTO sitting (opened_at, closed_at, article_name, article_text, "
                "exam_minutes) VALUES (?, ?, ?, ?, ?)"));
        query.bindValue(0, timeValue(sitting.openedAt));
        query.bindValue(1, timeValue(sitting.closedAt));
        query.bindValue(2, sitting.articleName);
        query.bindValue(3, sitting.articleText);
        query.bindValue(4, sitting.examMinutes);
        ok = query.exec();
    }
    const QString detail = ok ? QString() : query.lastError().text();
    if (ok && db.commit())
        return {};
    db.rollback();
    return failed(QStringLiteral("无法写入考试存档"),
                  detail.isEmpty() ? db.lastError().text() : detail);
}

ExamSitting ExamArchive::sittingUnderWay()
{
    ExamSitting sitting;
    if (!m_open)
        return sitting;
    QSqlQuery query(database());
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

ExamArchive::Kept ExamArchive::keep(const ExamSitting &sitting, const QVector<ArchivedRow> &rows)
{
    if (!m_open)
        return { m_startProblem };
    QSqlDatabase db = database();
    if (!db.transaction())
        return { failed(QStringLiteral("无法写入考试存档"), db.lastError().text()) };
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT id FROM exams WHERE exam_key = ?"));
    query.bindValue(0, sitting.key);
    bool ok = query.exec();
    if (ok && query.next()) {
        const qint64 id = query.value(0).toLongLong();
        // Kept before a crash, with the table not yet cleared: one copy.
        if (query.exec(QStringLiteral("DELETE FROM sitting")) && db.commit())
            return { {}, id, true };
        db.rollback();
        return { failed(QStringLiteral("无法写入考试存档"), query.lastError().text()) };
    }
    qint64 id = 1;
    if (ok && (ok = query.exec(QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM exams")))
        && query.next())
        id = query.value(0).toLongLong();
    if (ok) {
        query.prepare(QStringLiteral(
                "INSERT INTO exams (id, exam_key, opened_at, closed_at, archived_at, "
                "article_name, article_text, exam_minutes, roster, grading) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const QVariantList values { id,
                                    sitting.key,
                                    timeValue(sitting.openedAt),
                                    timeValue(sitting.closedAt),
                                    timeValue(sitting.archivedAt.isValid()
                                                      ? sitting.archivedAt
                                                      : QDateTime::currentDateTimeUtc()),
                                    sitting.articleName,
                                    sitting.articleText,
                                    sitting.examMinutes,
                                    sitting.roster,
                                    sitting.scale.toText() };
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        ok = query.exec();
    }
    if (ok)
        ok = query.prepare(QStringLiteral(
                "INSERT INTO exam_rows (exam_id, position, department, exam_number, name, "
                "speed, accuracy_line, time_pass, rec_no, state, doubts) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int position = 0; ok && position < rows.size(); ++position) {
        const ArchivedRow &row = rows[position];
        const QVariantList values { id,        position,  row.department,   row.examNumber,
                                    row.name,  row.speed, row.accuracyLine, row.timePass,
                                    row.recNo, row.state, row.doubts };
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        ok = query.exec();
    }
    if (ok)
        ok = query.exec(QStringLiteral("DELETE FROM sitting"));
    const QString detail = ok ? QString() : query.lastError().text();
    if (ok && db.commit()) {
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return { {}, id, false };
    }
    const QString why = detail.isEmpty() ? db.lastError().text() : detail;
    db.rollback();
    return { failed(QStringLiteral("无法写入考试存档"), why) };
}

ArchiveRead<QVector<ExamSummary>> ExamArchive::exams()
{
    if (!m_open)
        return { std::nullopt, m_startProblem };
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(
                QStringLiteral("SELECT id, COALESCE(opened_at, archived_at) AS held, article_name, "
                               "exam_minutes, grading FROM exams ORDER BY held DESC, id DESC")))
        return { std::nullopt,
                 failed(QStringLiteral("无法读取考试存档"), query.lastError().text()) };
    QVector<ExamSummary> exams;
    QHash<qint64, int> indexOf;
    QVector<GradingScale> scales;
    while (query.next()) {
        ExamSummary exam;
        exam.id = query.value(0).toLongLong();
        exam.when = timeOf(query.value(1));
        exam.articleName = query.value(2).toString();
        exam.examMinutes = static_cast<qint16>(query.value(3).toInt());
        indexOf.insert(exam.id, int(exams.size()));
        exams.append(exam);
        scales.append(scaleOf(query.value(4)));
    }
    // The pass rate needs each row graded by its exam's own scale.
    QVector<int> passed(exams.size(), 0);
    QVector<int> started(exams.size(), 0);
    if (!query.exec(QStringLiteral("SELECT exam_id, speed, accuracy_line, time_pass, department "
                                   "FROM exam_rows")))
        return { std::nullopt,
                 failed(QStringLiteral("无法读取考试存档"), query.lastError().text()) };
    while (query.next()) {
        const int index = indexOf.value(query.value(0).toLongLong(), -1);
        if (index < 0)
            continue;
        ExamSummary &exam = exams[index];
        const double speed = query.value(1).toDouble();
        ++exam.examinees;
        exam.meanSpeed += speed;
        if (const QString department = query.value(4).toString();
            !exam.departments.contains(department))
            exam.departments.append(department);
        // The pass rate is of those who started, as in the statistics.
        if (query.value(3).toInt() > 0)
            ++started[index];
        if (scales[index].passes(scales[index].gradeOfResult(
                    speed, query.value(2).toString(), static_cast<qint16>(query.value(3).toInt()))))
            ++passed[index];
    }
    for (int i = 0; i < exams.size(); ++i) {
        if (exams[i].examinees) {
            exams[i].meanSpeed /= exams[i].examinees;
            exams[i].passRate = started[i] ? double(passed[i]) / started[i] : 0;
        }
    }
    return { exams, {} };
}

QVector<ArchivedRow> ExamArchive::readRows(qint64 id, QString &problem)
{
    QVector<ArchivedRow> rows;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT department, exam_number, name, speed, accuracy_line, "
                                 "time_pass, rec_no, state, doubts FROM exam_rows "
                                 "WHERE exam_id = ? ORDER BY position"));
    query.bindValue(0, id);
    if (!query.exec()) {
        problem = query.lastError().text();
        return rows;
    }
    while (query.next()) {
        ArchivedRow row;
        row.department = query.value(0).toString();
        row.examNumber = query.value(1).toString();
        row.name = query.value(2).toString();
        row.speed = query.value(3).toDouble();
        row.accuracyLine = query.value(4).toString();
        row.timePass = static_cast<qint16>(query.value(5).toInt());
        row.recNo = query.value(6).toInt();
        row.state = query.value(7).toString();
        row.doubts = query.value(8).toString();
        rows.append(row);
    }
    return rows;
}

ArchiveRead<ArchivedExam> ExamArchive::exam(qint64 id)
{
    if (!m_open)
        return { std::nullopt, m_startProblem };
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT exam_key, opened_at, closed_at, archived_at, "
                                 "article_name, article_text, exam_minutes, roster, grading "
                                 "FROM exams WHERE id = ?"));
    query.bindValue(0, id);
    if (!query.exec())
        return { std::nullopt,
                 failed(QStringLiteral("无法读取考试存档"), query.lastError().text()) };
    if (!query.next())
        return { std::nullopt, QStringLiteral("考试存档中没有这场考试。") };
    ArchivedExam exam;
    exam.id = id;
    exam.sitting.key = query.value(0).toString();
    exam.sitting.openedAt = timeOf(query.value(1));
    exam.sitting.closedAt = timeOf(query.value(2));
    exam.sitting.archivedAt = timeOf(query.value(3));
    exam.sitting.articleName = query.value(4).toString();
    exam.sitting.articleText = query.value(5).toString();
    exam.sitting.examMinutes = static_cast<qint16>(query.value(6).toInt());
    exam.sitting.roster = query.value(7).toString();
    exam.sitting.scale = scaleOf(query.value(8));
    QString problem;
    exam.rows = readRows(id, problem);
    if (!problem.isEmpty())
        return { std::nullopt, failed(QStringLiteral("无法读取考试存档"), problem) };
    return { exam, {} };
}

ArchiveRead<QVector<HistoryPoint>> ExamArchive::history(const QString &examNumber,
                                                        const QString &name)
{
    if (!m_open)
        return { std::nullopt, m_startProblem };
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
            "SELECT e.id, COALESCE(e.opened_at, e.archived_at) AS held, e.article_name, "
            "e.grading, r.speed, r.accuracy_line, r.time_pass "
            "FROM exam_rows r JOIN exams e ON e.id = r.exam_id "
            "WHERE r.exam_number = ? AND r.name = ? ORDER BY held, e.id"));
    query.bindValue(0, examNumber.trimmed());
    query.bindValue(1, name.trimmed());
    if (!query.exec())
        return { std::nullopt,
                 failed(QStringLiteral("无法读取考试存档"), query.lastError().text()) };
    QVector<HistoryPoint> points;
    QHash<QString, GradingScale> scales;  // most exams share one scale
    while (query.next()) {
        HistoryPoint point;
        point.examId = query.value(0).toLongLong();
        point.when = timeOf(query.value(1));
        point.articleName = query.value(2).toString();
        const QString scaleText = query.value(3).toString();
        if (!scales.contains(scaleText))
            scales.insert(scaleText, scaleOf(scaleText));
        const GradingScale &scale = scales[scaleText];
        point.speed = query.value(4).toDouble();
        const QString accuracyLine = query.value(5).toString();
        point.accuracy = numbers::parseNumber(accuracyLine).value_or(0);
        point.grade = scale.nameOf(scale.gradeOfResult(
                point.speed, accuracyLine, static_cast<qint16>(query.value(6).toInt())));
        points.append(point);
    }
    return { points, {} };
}

QString ExamArchive::regrade(qint64 id, const GradingScale &scale)
{
    if (!m_open)
        return m_startProblem;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE exams SET grading = ? WHERE id = ?"));
    query.bindValue(0, scale.toText());
    query.bindValue(1, id);
    if (!query.exec())
        return failed(QStringLiteral("无法写入考试存档"), query.lastError().text());
    if (query.numRowsAffected() == 0)
        return QStringLiteral("考试存档中没有这场考试。");
    QSqlQuery(database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return {};
}

QString ExamArchive::remove(qint64 id)
{
    if (!m_open)
        return m_startProblem;
    QSqlDatabase db = database();
    if (!db.transaction())
        return failed(QStringLiteral("无法删除存档的考试"), db.lastError().text());
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM exam_rows WHERE exam_id = ?"));
    query.bindValue(0, id);
    bool ok = query.exec();
    if (ok) {
        query.prepare(QStringLiteral("DELETE FROM exams WHERE id = ?"));
        query.bindValue(0, id);
        ok = query.exec();
    }
    const bool found = ok && query.numRowsAffected() > 0;
    const QString detail = ok ? QString() : query.lastError().text();
    if (found && db.commit()) {
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return {};
    }
    db.rollback();
    if (ok && !found)
        return QStringLiteral("考试存档中没有这场考试。");
    return failed(QStringLiteral("无法删除存档的考试"),
                  detail.isEmpty() ? db.lastError().text() : detail);
}

QString ExamArchive::backUpTo(const QString &target)
{
    if (!m_open)
        return m_startProblem;
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QString detail;
    {
        // A connection of its own: the copy is one read transaction, a
        // consistent picture even while the console keeps an exam.
        const QString name = newConnectionName();
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        copy.setDatabaseName(m_path);
        copy.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMillis));
        if (!copy.open()) {
            detail = copy.lastError().text();
        } else {
            QSqlQuery query(copy);
            query.prepare(QStringLiteral("VACUUM INTO ?"));
            query.bindValue(0, partial);
            if (!query.exec())
                detail = query.lastError().text();
        }
        copy = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    if (detail.isEmpty() && QFile::exists(target) && !QFile::remove(target))
        detail = QStringLiteral("无法替换已有的文件");
    if (detail.isEmpty() && !QFile::rename(partial, target))
        detail = QStringLiteral("无法把副本改名为目标文件");
    if (detail.isEmpty())
        return {};
    QFile::remove(partial);
    return QStringLiteral("无法把考试存档备份到 %1：%2")
            .arg(QDir::toNativeSeparators(target), detail);
}

double ArchivedRow::accuracy() const
{
    return numbers::parseNumber(accuracyLine).value_or(0);
}
