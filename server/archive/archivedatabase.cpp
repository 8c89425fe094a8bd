// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedatabase.h"

#include "archive/archivedialect.h"
#include "archive/schema.h"
#include "archive/schoolupgrade.h"
#include "exchange/diskspace.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <QCoreApplication>
#endif

namespace {

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("kestrix-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool isLockError(const QString &detail)
{
    return detail.contains(QLatin1String("locked")) || detail.contains(QLatin1String("busy"));
}

// Why a school database could not be opened, in the examiner's words,
// from what libpq said.
QString connectionProblem(const QString &detail)
{
    const auto says = [&detail](const char *text) {
        return detail.contains(QLatin1String(text), Qt::CaseInsensitive);
    };
    if (says("password authentication failed") || says("no password supplied"))
        return QCoreApplication::translate(
                "ArchiveDatabase", "拒绝了登录（密码不对，或口令文件中没有这个用户的密码）");
    if (says("no pg_hba.conf entry"))
        return QCoreApplication::translate(
                "ArchiveDatabase",
                "不接受这台计算机的连接（服务器的 pg_hba.conf 中没有允许这台计算机、"
                "这个用户和数据库的一行，请管理员添加后重新加载）");
    if (says("SSL support is not compiled in"))
        return QCoreApplication::translate("ArchiveDatabase",
                                           "要求加密连接，而这个版本的考试服务器不能加密"
                                           "（请从地址中去掉 sslmode，或改为 sslmode=prefer）");
    if (says("server does not support SSL"))
        return QCoreApplication::translate("ArchiveDatabase",
                                           "不支持加密连接（地址中的 sslmode 要求加密，"
                                           "请管理员在服务器上开启 SSL）");
    if (says("database") && says("does not exist"))
        return QCoreApplication::translate("ArchiveDatabase", "上没有这个数据库");
    if (says("role") && says("does not exist"))
        return QCoreApplication::translate("ArchiveDatabase", "上没有这个用户");
    if (says("could not connect") || says("connection refused") || says("timeout expired")
        || says("could not translate host name") || says("no route to host"))
        return QCoreApplication::translate("ArchiveDatabase",
                                           "无法连接（服务器没有开启、地址不对或网络不通）");
    return QCoreApplication::translate("ArchiveDatabase", "无法打开");
}

// Why a statement on a school database failed, in the examiner's words,
// from what the server or libpq said; empty when there is no more to say
// than the detail.
QString statementCause(const QString &detail)
{
    const auto says = [&detail](const char *text) {
        return detail.contains(QLatin1String(text), Qt::CaseInsensitive);
    };
    if (says("lock timeout"))
        return QCoreApplication::translate("ArchiveDatabase", "数据表正被别的程序锁住，请稍后再试");
    if (says("statement timeout"))
        return QCoreApplication::translate("ArchiveDatabase", "服务器太久没有回答，请稍后再试");
    // Qt's driver says nothing at all of some connections lost.
    if (detail.trimmed().isEmpty() || says("terminating connection")
        || says("server closed the connection") || says("no connection to the server")
        || says("connection to server") || says("could not receive data")
        || says("could not send data"))
        return QCoreApplication::translate("ArchiveDatabase",
                                           "与服务器的连接断开了（服务器重启、停止或网络中断），"
                                           "下次使用时重新连接");
    return {};
}

// The statement, run; its error text when it failed.
QString run(QSqlQuery &query, const QString &statement)
{
    return query.exec(statement) ? QString() : query.lastError().text();
}

// Whether two names lead to one file: the same canonical path (letter case
// as the file system takes it), or on Unix the same inode (a hard link).
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    if (!first.exists() || !second.exists())
        return false;
    if (first == second)
        return true;
#ifdef Q_OS_UNIX
    struct stat one
    {
    }, other {};
    return ::stat(QFile::encodeName(a).constData(), &one) == 0
            && ::stat(QFile::encodeName(b).constData(), &other) == 0 && one.st_dev == other.st_dev
            && one.st_ino == other.st_ino;
#else
    return false;
#endif
}

// A backup must not replace a database this console has open: the archive
// itself, its journal, or the results table.
bool openAsDatabase(const QString &target)
{
    for (const QString &connection : QSqlDatabase::connectionNames()) {
        const QString open = QSqlDatabase::database(connection, false).databaseName();
        for (const QString &suffix : { QString(), QStringLiteral("-journal"),
                                       QStringLiteral("-wal"), QStringLiteral("-shm") }) {
            if (!open.isEmpty() && sameFile(target, open + suffix))
                return true;
        }
    }
    return false;
}

}  // namespace

ArchiveDatabase::ArchiveDatabase(const ArchivePlace &place, Tables tables)
    : m_connection(newConnectionName()), m_place(place), m_tables(tables)
{
    const bool existed = place.isSchool() || QFileInfo(place.text()).size() > 0;
    QSqlDatabase db = QSqlDatabase::addDatabase(place.driverName(), m_connection);
    if (const QString problem = place.configure(db, kBusyMillis); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    if (!db.open()) {
        const QString detail = db.lastError().text();
        refuse(place.isSchool() ? connectionProblem(detail) : fileReason(tr("无法打开")), detail);
        return;
    }
    // Everything that could refuse the archive is read before anything is written.
    if (existed) {
        if (!place.isSchool()) {
            if (const QString problem = sqliteFileProblem(); !problem.isEmpty()) {
                refuse(problem);
                return;
            }
        }
        const QStringList tables = db.tables();
        if (!tables.isEmpty() && !tables.contains(QStringLiteral("archive_schema"))) {
            refuse(tr("不是考试存档（其中是别的数据表）"));
            return;
        }
    }
    QSqlQuery query(db);
    for (const QString &statement : ArchiveDialect::of(db).openingStatements()) {
        if (const QString detail = run(query, statement); !detail.isEmpty()) {
            refuse(fileReason(QCoreApplication::translate("ArchiveDatabase", "无法写入")), detail);
            return;
        }
    }
    if (const QString problem = migrate(); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    if (const QString detail = readRole(); !detail.isEmpty()) {
        refuse(QCoreApplication::translate("ArchiveDatabase", "无法读取登录的用户"), detail);
        return;
    }
    ArchiveTransaction::checkpoint(db);
    m_open = true;
}

ArchiveDatabase::~ArchiveDatabase()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

void ArchiveDatabase::close()
{
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::database(m_connection, false).close();
    m_open = false;
}

QSqlDatabase ArchiveDatabase::connection() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString ArchiveDatabase::refuse(const QString &reason, const QString &detail)
{
    // A school archive that is away leaves the exams in the file, to be sent later.
    m_startProblem = m_place.isSchool()
            ? tr("学校存档 %1 %2。").arg(m_place.shown(), reason)
            : tr("考试存档 %1 %2，本次不能存档考试（考试照常进行）。").arg(m_place.shown(), reason);
    if (!detail.isEmpty())
        m_startProblem += tr("\n详情：") + detail;
    close();
    return m_startProblem;
}

QString ArchiveDatabase::failed(const QString &what, const QString &detail) const
{
    if (m_place.isSchool()) {
        if (const QString cause = statementCause(detail); !cause.isEmpty()) {
            QString text = QCoreApplication::translate("ArchiveDatabase", "%1 %2：%3。")
                                   .arg(what, m_place.shown(), cause);
            if (!detail.trimmed().isEmpty())
                text += QCoreApplication::translate("ArchiveDatabase", "\n详情：")
                        + detail.simplified();
            return text;
        }
    }
    QString text = tr("%1 %2：%3").arg(what, m_place.shown(), detail);
    if (isLockError(detail))
        text += tr("\n考试存档正被其他程序使用，请关闭那个程序后再试。");
    else if (const QString disk = diskProblem(); !disk.isEmpty())
        text += u'\n' + disk;
    return text;
}

QString ArchiveDatabase::diskProblem() const
{
    return m_place.isSchool() ? QString() : diskspace::problem(m_place.text());
}

QString ArchiveDatabase::fileReason(const QString &reason) const
{
    // A full or read-only disk fails every step of opening; it is not the file's fault.
    const QString disk = diskProblem();
    return disk.isEmpty() ? reason : tr("无法使用（%1）").arg(disk);
}

QString ArchiveDatabase::writeRefused(const ArchiveTransaction &transaction,
                                      const QString &what) const
{
    if (!m_open)
        return m_startProblem;
    if (!transaction.beginProblem().isEmpty())
        return failed(what, transaction.beginProblem());
    return {};
}

QString ArchiveDatabase::sqliteFileProblem()
{
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        const QString detail = query.lastError().text();
        if (isLockError(detail))
            return tr("正被其他程序使用");
        if (detail.contains(QLatin1String("not a database")))
            return tr("不是数据库文件");
        return fileReason(tr("已损坏（") + detail + u'）');
    }
    if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
        return fileReason(tr("已损坏（完整性检查未通过）"));
    return {};
}

std::optional<int> ArchiveDatabase::schemaVersion(QString &problem)
{
    if (!connection().tables().contains(QStringLiteral("archive_schema")))
        return 0;
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT version FROM archive_schema")) || !query.next()) {
        problem = query.lastError().text();
        return std::nullopt;
    }
    return query.value(0).toInt();
}

QString ArchiveDatabase::migrate()
{
    const ArchiveDialect dialect = ArchiveDialect::of(connection());
    QSqlQuery lock(connection());
    if (const QString statement = dialect.migrationLock(); !statement.isEmpty()) {
        if (const QString detail = run(lock, statement); !detail.isEmpty())
            return QCoreApplication::translate("ArchiveDatabase", "无法读取存档版本（") + detail
                    + u'）';
    }
    const QString problem = migrateLocked();
    if (const QString statement = dialect.migrationUnlock(); !statement.isEmpty())
        run(lock, statement);
    return problem;
}

QString ArchiveDatabase::migrateLocked()
{
    QString detail;
    const std::optional<int> found = schemaVersion(detail);
    // The tables belong to the school's owner role; a lab cannot make or
    // upgrade them, nor read the version of tables it has no rights on.
    const bool labOnly = m_place.isSchool() && m_tables == Tables::Use;
    if (!found && labOnly && detail.contains(QLatin1String("permission denied")))
        return notSetUp(tr("这个账号无权读取存档版本"));
    if (!found)
        return tr("无法读取存档版本（") + detail + u'）';
    m_versionFound = *found;
    if (*found > archiveschema::kVersion)
        return tr("由较新版本的考试服务器建立（存档版本%1，本程序只能使用到版本%2）")
                .arg(*found)
                .arg(archiveschema::kVersion);
    if (labOnly && *found < archiveschema::kVersion)
        return notSetUp(
                tr("存档版本%1，本程序需要版本%2").arg(*found).arg(archiveschema::kVersion));
    for (int version = *found; version < archiveschema::kVersion; ++version) {
        // Each step and its version number in one transaction: a step that
        // fails leaves the tables as they were.
        ArchiveTransaction transaction(connection());
        if (!transaction.beginProblem().isEmpty())
            return fileReason(tr("无法升级（") + transaction.beginProblem() + u'）');
        QSqlQuery query(connection());
        QStringList statements =
                archiveschema::migration(version, ArchiveDialect::of(connection()));
        statements << QStringLiteral("UPDATE archive_schema SET version = %1").arg(version + 1);
        for (const QString &statement : statements) {
            if (detail = run(query, statement); !detail.isEmpty())
                break;
        }
        if (detail.isEmpty())
            detail = transaction.commit();
        if (!detail.isEmpty())
            return fileReason(tr("无法升级到版本%1（%2）").arg(version + 1).arg(detail));
    }
    return {};
}

QString ArchiveDatabase::notSetUp(const QString &why)
{
    return tr("还没有建好考试存档的数据表，或这个账号不是 %1 的成员（%2）。"
              "请学校的信息技术管理员用数据库所有者的账号运行一次考试服务器的"
              "升级命令 %3（见说明书9.6）")
            .arg(archiveschema::labsRole(), why, schoolupgrade::option());
}

QString ArchiveDatabase::readRole()
{
    if (!m_place.isSchool())
        return {};
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT current_user")) || !query.next())
        return query.lastError().text();
    m_role = query.value(0).toString();
    return {};
}

QString ArchiveDatabase::backUpTo(const QString &target)
{
    if (!m_open)
        return m_startProblem;
    if (m_place.isSchool())
        return tr("学校存档在数据库服务器上，请由管理员用 pg_dump 备份。");
    if (openAsDatabase(target))
        return tr("不能备份到 %1：这是控制台正在使用的数据库，请另选一个文件")
                .arg(QDir::toNativeSeparators(target));
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QString detail;
    {
        // A connection of its own: the copy is one read transaction, a
        // consistent picture even while the console keeps an exam.
        const QString name = newConnectionName();
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        m_place.configure(copy, kBusyMillis);
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
        detail = tr("无法替换已有的文件");
    if (detail.isEmpty() && !QFile::rename(partial, target))
        detail = tr("无法把副本改名为目标文件");
    if (detail.isEmpty())
        return {};
    QFile::remove(partial);
    return tr("无法把考试存档备份到 %1：%2").arg(QDir::toNativeSeparators(target), detail);
}
