// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 允许登录 stopped after each of its steps (a kill), then the console
// started again: the folder holds no exam or the whole new one, and the
// console's record names the exam a client could have got.
#include "publish/exampublishing.h"
#include "publish/logingate.h"
#include "gbk.h"
#include "testfiles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray sha1Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

}  // namespace

class TestPublishing : public QObject
{
    Q_OBJECT

private slots:
    void killAtEveryStepLeavesOneExam_data()
    {
        QTest::addColumn<int>("stepsDone");
        QTest::addColumn<bool>("openAfterRestart");
        QTest::addColumn<bool>("newExamKept");
        // Five steps: withdraw se.dll, keep fb.txt, te.txt, pb.txt, se.dll.
        QTest::newRow("before anything") << 0 << true << false;
        QTest::newRow("after se.dll withdrawn") << 1 << false << false;
        QTest::newRow("after fb.txt") << 2 << false << true;
        QTest::newRow("after te.txt") << 3 << false << true;
        QTest::newRow("after pb.txt") << 4 << false << true;
        QTest::newRow("after se.dll") << 5 << true << true;
    }

    void killAtEveryStepLeavesOneExam()
    {
        QFETCH(int, stepsDone);
        QFETCH(bool, openAfterRestart);
        QFETCH(bool, newExamKept);
        QTemporaryDir app;
        QTemporaryDir exchange;
        const QByteArray oldText = gbk::encode(u"旧的考试内容\r\n");
        const QByteArray newText = gbk::encode(u"新的考试内容\r\n");
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), oldText));
        QVERIFY(writeFile(app.filePath(u"time.txt"_qs), "20\r\n"));
        // The old exam is running: login is open on it.
        QString oldId;
        {
            LoginGate gate(app.path(), exchange.path());
            QCOMPARE(gate.open(20), QString());
            oldId = gate.examAsPublished()->publication.id;
        }
        // The examiner saved the next article; the next publishing is killed.
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), newText));
        const Publication next { Publication::newId(), false };
        ExamPublishing publishing(app.path(), exchange.path(), 30, next);
        const auto steps = publishing.steps();
        QCOMPARE(int(steps.size()), 5);
        for (int step = 0; step < stepsDone; ++step)
            QCOMPARE(steps.at(size_t(step))(), QString());

        const LoginGate restarted(app.path(), exchange.path());
        QCOMPARE(restarted.isOpen(), openAfterRestart);
        QVERIFY(restarted.examAsPublished());
        const ExamAsPublished &kept = *restarted.examAsPublished();
        QCOMPARE(kept.publication.id, newExamKept ? next.id : oldId);
        QCOMPARE(kept.textDigest, sha1Hex(newExamKept ? newText : oldText));
        QCOMPARE(kept.examMinutes, qint16(newExamKept ? 30 : 20));
        if (!openAfterRestart)
            return;
        // What clients get is exactly the kept exam.
        QCOMPARE(sha1Hex(readFile(exchange.filePath(u"te.txt"_qs))), kept.textDigest);
        const auto published =
                Publication::fromRecordLines(readFile(exchange.filePath(u"pb.txt"_qs)));
        QVERIFY(published);
        QCOMPARE(published->id, kept.publication.id);
    }

    void republishingKeepsThePublication()
    {
        QTemporaryDir app;
        QTemporaryDir exchange;
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), gbk::encode(u"考试内容\r\n")));
        LoginGate gate(app.path(), exchange.path());
        QCOMPARE(gate.open(20), QString());
        const QString id = gate.examAsPublished()->publication.id;
        QCOMPARE(id.size(), 32);
        QVERIFY(QFile::remove(exchange.filePath(u"te.txt"_qs)));
        QCOMPARE(gate.republish(), QString());
        QCOMPARE(gate.examAsPublished()->publication.id, id);
        // Each 允许登录 is a publication of its own.
        QCOMPARE(gate.close(), QString());
        QVERIFY(!QFile::exists(exchange.filePath(u"pb.txt"_qs)));
        QCOMPARE(gate.open(20), QString());
        QVERIFY(gate.examAsPublished()->publication.id != id);
    }

    void publicationFileReadsOnlyWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<bool>("codes");
        const QByteArray id = "0123456789abcdef0123456789abcdef";
        QTest::newRow("without codes") << "\"" + id + "\"\r\n#FALSE#\r\n" << true << false;
        QTest::newRow("with codes") << "\"" + id + "\"\r\n#TRUE#\r\n" << true << true;
        QTest::newRow("cut short") << "\"" + id + "\"\r\n#TRUE#" << false << false;
        QTest::newRow("id one digit short") << "\"" + id.chopped(1) + "\"\r\n#TRUE#\r\n"
                                            << false << false;
        QTest::newRow("id not hex") << "\"" + id.chopped(1) + "g\"\r\n#TRUE#\r\n" << false << false;
        QTest::newRow("a third line") << "\"" + id + "\"\r\n#TRUE#\r\n1\r\n" << false << false;
    }

    void publicationFileReadsOnlyWhole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, reads);
        QFETCH(bool, codes);
        const auto publication = Publication::fromRecordLines(bytes);
        QCOMPARE(publication.has_value(), reads);
        if (reads)
            QCOMPARE(publication->codesRequired, codes);
    }
};

QTEST_GUILESS_MAIN(TestPublishing)
#include "tst_publishing.moc"
