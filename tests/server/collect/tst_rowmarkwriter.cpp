// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The rows' marks written on the writer's thread: in the order handed over,
// a failure told, and the next set written where it can be.
#include "collect/resultstore.h"
#include "collect/rowmarkwriter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QVector<MarkedRow> marked(const QString &name, ExamineeState state, const QString &doubt)
{
    MarkedRow row;
    row.row.recNo = 1;
    row.row.department = QStringLiteral("一班");
    row.row.examNumber = QStringLiteral("03");
    row.row.name = name;
    row.marks.state = state;
    if (!doubt.isEmpty())
        row.marks.doubts << doubt;
    return { row };
}

}  // namespace

class TestRowMarkWriter : public QObject
{
    Q_OBJECT

private slots:
    void failureToldThenLaterSetsKeptInOrder()
    {
        QTemporaryDir folder;
        // A folder where the database should be: it cannot be opened.
        const QString blocked = folder.filePath(u"cj.mdb"_qs);
        QVERIFY(QDir().mkpath(blocked));
        {
            RowMarkWriter writer(blocked);
            QSignalSpy failed(&writer, &RowMarkWriter::failed);
            writer.keep(marked(u"丙"_qs, ExamineeState::Finished, {}));
            QTRY_COMPARE(failed.count(), 1);
            QVERIFY(!failed.first().first().toString().isEmpty());
        }
        QVERIFY(QDir(blocked).removeRecursively());

        RowMarkWriter writer(blocked);
        QSignalSpy failed(&writer, &RowMarkWriter::failed);
        const QVector<MarkedRow> last = marked(u"丙"_qs, ExamineeState::Typing, u"签名不符"_qs);
        writer.keep(marked(u"丙"_qs, ExamineeState::Finished, {}));
        writer.keep(last);
        writer.waitForKept();
        ResultStore store(blocked);
        QCOMPARE(RowMarkTable(store.database()).load(), std::optional(last));
        QCoreApplication::processEvents();
        QCOMPARE(failed.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRowMarkWriter)
#include "tst_rowmarkwriter.moc"
