// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/schema.h"

#include "archive/archivedcolumns.h"
#include "grading/gradingscale.h"

namespace archiveschema {

namespace {

// Each exam belongs to the role that kept it. On a server the role is the
// lab: every lab reads all exams, keeps its own and changes or deletes
// only those, and only the owner of the tables changes the tables or the
// schema's version. Exams kept before belong to the owner, who may give
// them to their labs. A file has one user; the column is there to keep
// the tables the same.
QString ownRow()
{
    return QStringLiteral("lab_role = current_user");
}

// A row of `table` belongs to the lab whose exam it is part of.
QString ownExam(const QString &table)
{
    return QStringLiteral("EXISTS (SELECT 1 FROM exams WHERE exams.id = %1.exam_id AND exams.%2)")
            .arg(table, ownRow());
}

QStringList labRights(const ArchiveDialect &dialect)
{
    if (!dialect.isPostgres())
        return { QStringLiteral("ALTER TABLE exams ADD COLUMN lab_role TEXT") };
    const QString own = ownRow();
    return {
        QStringLiteral("ALTER TABLE exams ADD COLUMN lab_role TEXT NOT NULL DEFAULT current_user"),
        QStringLiteral("ALTER TABLE exams ENABLE ROW LEVEL SECURITY"),
        QStringLiteral("ALTER TABLE exam_rows ENABLE ROW LEVEL SECURITY"),
        QStringLiteral("CREATE POLICY exams_read ON exams FOR SELECT USING (true)"),
        QStringLiteral("CREATE POLICY exams_keep ON exams FOR INSERT WITH CHECK (%1)").arg(own),
        QStringLiteral("CREATE POLICY exams_change ON exams FOR UPDATE USING (%1) WITH CHECK (%1)")
                .arg(own),
        QStringLiteral("CREATE POLICY exams_delete ON exams FOR DELETE USING (%1)").arg(own),
        QStringLiteral("CREATE POLICY exam_rows_read ON exam_rows FOR SELECT USING (true)"),
        QStringLiteral("CREATE POLICY exam_rows_own ON exam_rows USING (%1) WITH CHECK (%1)")
                .arg(ownExam(QStringLiteral("exam_rows"))),
        QStringLiteral("GRANT SELECT ON archive_schema TO %1").arg(labsRole()),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON exams, exam_rows TO %1")
                .arg(labsRole()),
    };
}

// The state words consoles wrote, each with the code it becomes.
QString codesOfWords()
{
    QString cases;
    for (const ExamineeState state : kExamineeStates) {
        const QString code = archivecolumns::stateCode(state);
        for (const QString &word : storedStateWords(state))
            cases += QStringLiteral(" WHEN '%1' THEN '%2'").arg(word, code);
    }
    return cases;
}

// Each row's state as a code, its doubts one to a row of their own table,
// no longer the words the window shows and one joined text. The doubts are
// split where the console joined them. A state word no console wrote
// becomes NULL, which reads by the time typed, and is named among the
// row's doubts.
QStringList rowsAsData(const ArchiveDialect &dialect)
{
    const QString find = dialect.isPostgres() ? QStringLiteral("strpos") : QStringLiteral("instr");
    QStringList statements {
        QStringLiteral("CREATE TABLE row_doubts ("
                       "exam_id BIGINT NOT NULL, row_position INTEGER NOT NULL, "
                       "position INTEGER NOT NULL, doubt TEXT NOT NULL, "
                       "PRIMARY KEY (exam_id, row_position, position), "
                       "FOREIGN KEY (exam_id, row_position) "
                       "REFERENCES exam_rows (exam_id, position))"),
        QStringLiteral("WITH RECURSIVE parts (exam_id, row_position, position, doubt, rest) AS ("
                       "SELECT exam_id, position, -1, CAST('' AS TEXT), doubts || '；' "
                       "FROM exam_rows WHERE doubts <> '' "
                       "UNION ALL SELECT exam_id, row_position, position + 1, "
                       "substr(rest, 1, %1(rest, '；') - 1), substr(rest, %1(rest, '；') + 1) "
                       "FROM parts WHERE rest <> '') "
                       "INSERT INTO row_doubts (exam_id, row_position, position, doubt) "
                       "SELECT exam_id, row_position, position, doubt FROM parts "
                       "WHERE position >= 0 AND doubt <> ''")
                .arg(find),
        QStringLiteral("INSERT INTO row_doubts (exam_id, row_position, position, doubt) "
                       "SELECT exam_id, position, (SELECT COALESCE(MAX(d.position) + 1, 0) "
                       "FROM row_doubts AS d WHERE d.exam_id = exam_rows.exam_id "
                       "AND d.row_position = exam_rows.position), "
                       "'存档中的状态“' || state || '”无法识别' FROM exam_rows "
                       "WHERE state <> '' AND (CASE state%1 END) IS NULL")
                .arg(codesOfWords()),
        QStringLiteral("UPDATE exam_rows SET state = CASE state%1 END").arg(codesOfWords()),
        QStringLiteral("ALTER TABLE exam_rows DROP COLUMN doubts"),
    };
    if (dialect.isPostgres())
        statements += {
            QStringLiteral("ALTER TABLE row_doubts ENABLE ROW LEVEL SECURITY"),
            QStringLiteral("CREATE POLICY row_doubts_read ON row_doubts FOR SELECT USING (true)"),
            QStringLiteral("CREATE POLICY row_doubts_own ON row_doubts USING (%1) WITH CHECK (%1)")
                    .arg(ownExam(QStringLiteral("row_doubts"))),
            QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON row_doubts TO %1")
                    .arg(labsRole()),
        };
    return statements;
}

}  // namespace

QStringList migration(int from, const ArchiveDialect &dialect)
{
    switch (from) {
    case 0:
        return {
            QStringLiteral("CREATE TABLE archive_schema (version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO archive_schema (version) VALUES (0)"),
            QStringLiteral("CREATE TABLE exams ("
                           "id BIGINT NOT NULL PRIMARY KEY, "
                           "exam_key VARCHAR(64) NOT NULL UNIQUE, "
                           "opened_at VARCHAR(32), closed_at VARCHAR(32), "
                           "archived_at VARCHAR(32) NOT NULL, "
                           "article_name TEXT, article_text TEXT, "
                           "exam_minutes INTEGER NOT NULL, roster TEXT)"),
            QStringLiteral("CREATE TABLE exam_rows ("
                           "exam_id BIGINT NOT NULL REFERENCES exams (id), "
                           "position INTEGER NOT NULL, "
                           "department TEXT, exam_number TEXT, name TEXT, "
                           "speed DOUBLE PRECISION NOT NULL, accuracy_line TEXT, "
                           "time_pass INTEGER NOT NULL, rec_no INTEGER NOT NULL, "
                           "state TEXT, doubts TEXT, "
                           "PRIMARY KEY (exam_id, position))"),
            // The exam under way: when login opened and closed, at most one row.
            QStringLiteral("CREATE TABLE sitting ("
                           "opened_at VARCHAR(32), closed_at VARCHAR(32), article_name TEXT, "
                           "article_text TEXT, exam_minutes INTEGER)"),
            // An examinee's history is looked up by exam number and name.
            QStringLiteral("CREATE INDEX exam_rows_examinee ON exam_rows (exam_number, name)"),
        };
    case 1: {
        // Each exam keeps the scale it was graded with; those kept before
        // had the standard one.
        QString standard = GradingScale::standard().toText();
        standard.replace(u'\'', QStringLiteral("''"));
        return {
            QStringLiteral("ALTER TABLE exams ADD COLUMN grading TEXT"),
            QStringLiteral("UPDATE exams SET grading = '%1'").arg(standard),
        };
    }
    case 2:
        // The lab and the teacher that kept each exam; in the file, when
        // it was sent to the school (NULL: waiting). Exams kept before are
        // sent only when the examiner asks, marked with an empty text.
        return {
            QStringLiteral("ALTER TABLE exams ADD COLUMN lab TEXT"),
            QStringLiteral("ALTER TABLE exams ADD COLUMN teacher TEXT"),
            QStringLiteral("ALTER TABLE exams ADD COLUMN sent_at VARCHAR(32)"),
            QStringLiteral("UPDATE exams SET sent_at = ''"),
            QStringLiteral("CREATE INDEX exams_waiting ON exams (sent_at)"),
        };
    case 3:
        // The publication each exam was published as: one copy per
        // publication, whatever its rows looked like when it was kept.
        // Exams published without one keep NULL, which the index allows
        // any number of times.
        return {
            QStringLiteral("ALTER TABLE exams ADD COLUMN publication VARCHAR(64)"),
            QStringLiteral("CREATE UNIQUE INDEX exams_publication ON exams (publication)"),
        };
    case 4:
        // The classes to filter 历次考试 by are read along this index.
        return {
            QStringLiteral("CREATE INDEX exam_rows_department ON exam_rows (department)"),
        };
    case 5:
        // Each examinee's newest exam, which the list of examinees asks for
        // every row, is read from this index alone; it serves the lookups
        // by exam number and name that the index it replaces served.
        return {
            QStringLiteral("CREATE INDEX exam_rows_examinee_exam "
                           "ON exam_rows (exam_number, name, exam_id)"),
            QStringLiteral("DROP INDEX exam_rows_examinee"),
        };
    case 6:
        // Ids given by the database, never by reading the largest one:
        // consoles keeping at once under snapshot isolation read the same.
        if (dialect.isPostgres())
            return {
                QStringLiteral("ALTER TABLE exams ALTER COLUMN id "
                               "ADD GENERATED BY DEFAULT AS IDENTITY"),
                QStringLiteral("SELECT setval(pg_get_serial_sequence('exams', 'id'), "
                               "COALESCE(MAX(id), 0) + 1, false) FROM exams"),
            };
        // SQLite gives ids only to a column declared INTEGER PRIMARY KEY, so
        // the table is made anew with its rows and ids; AUTOINCREMENT never
        // gives the id of a deleted exam again.
        return {
            QStringLiteral("CREATE TABLE exams_7 ("
                           "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "exam_key VARCHAR(64) NOT NULL UNIQUE, "
                           "opened_at VARCHAR(32), closed_at VARCHAR(32), "
                           "archived_at VARCHAR(32) NOT NULL, "
                           "article_name TEXT, article_text TEXT, "
                           "exam_minutes INTEGER NOT NULL, roster TEXT, grading TEXT, "
                           "lab TEXT, teacher TEXT, sent_at VARCHAR(32), "
                           "publication VARCHAR(64))"),
            QStringLiteral("INSERT INTO exams_7 SELECT id, exam_key, opened_at, closed_at, "
                           "archived_at, article_name, article_text, exam_minutes, roster, "
                           "grading, lab, teacher, sent_at, publication FROM exams"),
            QStringLiteral("DROP TABLE exams"),
            QStringLiteral("ALTER TABLE exams_7 RENAME TO exams"),
            QStringLiteral("CREATE INDEX exams_waiting ON exams (sent_at)"),
            QStringLiteral("CREATE UNIQUE INDEX exams_publication ON exams (publication)"),
        };
    case 7:
        return labRights(dialect);
    case 8:
        return rowsAsData(dialect);
    default:
        return {};
    }
}

}  // namespace archiveschema
