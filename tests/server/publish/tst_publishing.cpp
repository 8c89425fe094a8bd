// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 允许登录 stopped after each of its steps (a kill), then the console
// started again: the folder holds no exam or the whole new one, and the
// console's record names the exam a client could have got.
#include "publish/exampublishing.h"
#include "publish/logingate.h"
#include "exchange/gbk.h"
#include "testfiles.h"

#include <QCryptographicHash>
#include <QSet>
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
        QTest::addColumn<bool>("codesKnown");  // the kept exam's login codes are there
        // Six steps: withdraw se.dll, keep fb.txt, fbdlm.txt, te.txt, pb.txt, se.dll.
        QTest::newRow("before anything") << 0 << true << false << true;
        QTest::newRow("after se.dll withdrawn") << 1 << false << false << true;
        // Nobody could get this exam, so nobody signed with its codes.
        QTest::newRow("after fb.txt") << 2 << false << true << false;
        QTest::newRow("after fbdlm.txt") << 3 << false << true << true;
        QTest::newRow("after te.txt") << 4 << false << true << true;
        QTest::newRow("after pb.txt") << 5 << false << true << true;
        QTest::newRow("after se.dll") << 6 << true << true << true;
    }

    void killAtEveryStepLeavesOneExam()
    {
        QFETCH(int, stepsDone);
        QFETCH(bool, openAfterRestart);
        QFETCH(bool, newExamKept);
        QFETCH(bool, codesKnown);
        QTemporaryDir app;
        QTemporaryDir exchange;
        const QByteArray oldText = gbk::encode(u"旧的考试内容\r\n");
        const QByteArray newText = gbk::encode(u"新的考试内容\r\n");
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), oldText));
        QVERIFY(writeFile(app.filePath(u"time.txt"_qs), "20\r\n"));
        const QVector<CodedExaminee> listed { { u"一班"_qs, u"01"_qs, u"甲"_qs, {} } };
        // The old exam is running with login codes: login is open on it.
        QString oldId;
        {
            LoginGate gate(app.path(), exchange.path());
            QCOMPARE(gate.open(20, listed), QString());
            oldId = gate.examAsPublished()->publication.id;
        }
        // The examiner saved the next article; the next publishing is killed.
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), newText));
        const Publication next { Publication::newId(), true };
        ExamPublishing publishing(app.path(), exchange.path(), 30, next,
                                  LoginCodes::issue(next.id, listed));
        const auto steps = publishing.steps();
        QCOMPARE(int(steps.size()), 6);
        for (int step = 0; step < stepsDone; ++step)
            QCOMPARE(steps.at(size_t(step))(), QString());

        const LoginGate restarted(app.path(), exchange.path());
        QCOMPARE(restarted.isOpen(), openAfterRestart);
        QVERIFY(restarted.examAsPublished());
        const ExamAsPublished &kept = *restarted.examAsPublished();
        QCOMPARE(kept.publication.id, newExamKept ? next.id : oldId);
        QCOMPARE(kept.textDigest, sha1Hex(newExamKept ? newText : oldText));
        QCOMPARE(kept.examMinutes, qint16(newExamKept ? 30 : 20));
        QCOMPARE(restarted.loginCodes().publicationId(),
                 codesKnown ? kept.publication.id : QString());
        QCOMPARE(restarted.loginCodes().examinees().size(), codesKnown ? 1 : 0);
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
        QCOMPARE(gate.republish().problem, QString());
        QCOMPARE(gate.examAsPublished()->publication.id, id);
        // Each 允许登录 is a publication of its own.
        QCOMPARE(gate.close(), QString());
        QVERIFY(!QFile::exists(exchange.filePath(u"pb.txt"_qs)));
        QCOMPARE(gate.open(20), QString());
        QVERIFY(gate.examAsPublished()->publication.id != id);
    }

    void republishingHoldsTheFolderToTheExam_data()
    {
        QTest::addColumn<QString>("name");
        // Written over the file; "-" deletes it, "/" makes it a folder, "=" leaves it.
        QTest::addColumn<QByteArray>("put");
        QTest::addColumn<bool>("restored");
        const QByteArray other = "0123456789abcdef0123456789abcdef";
        QTest::newRow("untouched") << u"te.txt"_qs << QByteArray("=") << false;
        QTest::newRow("te.txt aaaa") << u"te.txt"_qs << QByteArray("aaaa") << true;
        QTest::newRow("te.txt, last byte")
                << u"te.txt"_qs << gbk::encode(u"考试内容\r\r"_qs) << true;
        QTest::newRow("te.txt, a byte more")
                << u"te.txt"_qs << gbk::encode(u"考试内容\r\n\n"_qs) << true;
        QTest::newRow("pb.txt, another id") << u"pb.txt"_qs << "\"" + other + "\"\r\n#TRUE#\r\n"
                                            << true;
        // "ID" stands for the publication's id.
        QTest::newRow("pb.txt, codes off")
                << u"pb.txt"_qs << QByteArray("\"ID\"\r\n#FALSE#\r\n") << true;
        QTest::newRow("se.dll deleted") << u"se.dll"_qs << QByteArray("-") << true;
        QTest::newRow("se.dll an empty folder") << u"se.dll"_qs << QByteArray("/") << true;
    }

    void republishingHoldsTheFolderToTheExam()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, put);
        QFETCH(bool, restored);
        QTemporaryDir app;
        QTemporaryDir exchange;
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), gbk::encode(u"考试内容\r\n"_qs)));
        LoginGate gate(app.path(), exchange.path());
        QCOMPARE(gate.open(20, { { u"一班"_qs, u"01"_qs, u"甲"_qs, {} } }), QString());
        const QString id = gate.examAsPublished()->publication.id;
        const QByteArray settings = readFile(exchange.filePath(u"se.dll"_qs));
        const QString path = exchange.filePath(name);
        if (put == "-" || put == "/")
            QVERIFY(QFile::remove(path) && (put == "-" || QDir().mkdir(path)));
        else if (put != "=")
            QVERIFY(writeFile(path, put.replace("ID", id.toLatin1())));
        // The article saved for the next sitting changes nothing published.
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), "next\r\n"));
        const LoginGate::Republishing first = gate.republish();
        QCOMPARE(first.problem, QString());
        QCOMPARE(first.restored, restored ? QStringList { name } : QStringList());
        QCOMPARE(readFile(exchange.filePath(u"te.txt"_qs)), gbk::encode(u"考试内容\r\n"_qs));
        QCOMPARE(readFile(exchange.filePath(u"pb.txt"_qs)),
                 "\"" + id.toLatin1() + "\"\r\n#TRUE#\r\n");
        QCOMPARE(readFile(exchange.filePath(u"se.dll"_qs)), settings);
        // Told once: the folder as published again needs nothing.
        QCOMPARE(gate.republish().restored, QStringList());
        // 禁止登录 withdrew the files: none is written back.
        QCOMPARE(gate.close(), QString());
        QCOMPARE(gate.republish().restored, QStringList());
        QCOMPARE(filesIn(exchange.path()), QStringList());
    }

    void folderAtAPublishedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("holdsAFile");
        for (const QString &name : { u"se.dll"_qs, u"te.txt"_qs, u"pb.txt"_qs }) {
            QTest::addRow("%s, empty", qPrintable(name)) << name << false;
            QTest::addRow("%s, holding a file", qPrintable(name)) << name << true;
        }
    }

    void folderAtAPublishedName()
    {
        QFETCH(QString, name);
        QFETCH(bool, holdsAFile);
        QTemporaryDir app;
        QTemporaryDir exchange;
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), gbk::encode(u"考试内容\r\n"_qs)));
        QVERIFY(QDir(exchange.path()).mkpath(holdsAFile ? name + u"/x"_qs : name));
        LoginGate gate(app.path(), exchange.path());
        const QString problem = gate.open(20);
        QVERIFY2(problem.contains(QDir::toNativeSeparators(exchange.filePath(name))) == holdsAFile,
                 qPrintable(problem));
        QCOMPARE(gate.isOpen(), !holdsAFile);
        QCOMPARE(readFile(exchange.filePath(u"te.txt"_qs)),
                 holdsAFile ? QByteArray() : gbk::encode(u"考试内容\r\n"_qs));
        // Nothing half-published: no file at all beside the folder kept.
        if (holdsAFile)
            QCOMPARE(QDir(exchange.path()).entryList(QDir::Files), QStringList());
    }

    void codesAreReadableAndPerPublication()
    {
        QTemporaryDir app;
        QTemporaryDir exchange;
        QVERIFY(writeFile(app.filePath(u"test.txt"_qs), gbk::encode(u"考试内容\r\n")));
        QVector<CodedExaminee> listed;
        for (int i = 0; i < 200; ++i)
            listed.append({ u"一班"_qs, QString::number(i), u"学生"_qs, {} });
        LoginGate gate(app.path(), exchange.path());
        QCOMPARE(gate.open(20, listed), QString());
        QSet<QString> codes;
        for (const CodedExaminee &examinee : gate.loginCodes().examinees()) {
            QVERIFY(examinee.code.size() >= 6);
            // Nothing a reader takes for another sign on paper; Z, B and V typed are
            // read as 2, 8 and U, so only these three of their pairs are drawn.
            for (const QChar lookAlike : u"0O1IL5SZBV"_qs)
                QVERIFY2(!examinee.code.contains(lookAlike), qPrintable(examinee.code));
            codes.insert(examinee.code);
        }
        QVERIFY(codes.size() > 190);
        const auto published =
                Publication::fromRecordLines(readFile(exchange.filePath(u"pb.txt"_qs)));
        QVERIFY(published && published->codesRequired);
        const QString id = gate.examAsPublished()->publication.id;
        // A restarted console knows them; they name their publication.
        QCOMPARE(LoginGate(app.path(), exchange.path()).loginCodes().examinees().size(), 200);
        QVERIFY(LoginCodes::load(app.filePath(LoginCodes::fileName()), Publication::newId())
                        .isEmpty());
        // The next exam without a list: the classic login, no codes kept.
        QCOMPARE(gate.close(), QString());
        QCOMPARE(gate.open(20), QString());
        QVERIFY(gate.loginCodes().isEmpty());
        QVERIFY(!Publication::fromRecordLines(readFile(exchange.filePath(u"pb.txt"_qs)))
                         ->codesRequired);
        QVERIFY(LoginCodes::load(app.filePath(LoginCodes::fileName()), id).isEmpty());
    }

    void codeOfTheTypedIdentity_data()
    {
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("as listed") << u"一班"_qs << u"a01"_qs << u"张三"_qs << u"AAAAAA"_qs;
        QTest::newRow("number in capitals, full width")
                << u"一班"_qs << u"Ａ01 "_qs << u"张三"_qs << u"AAAAAA"_qs;
        QTest::newRow("another department typed")
                << u"1班"_qs << u"a01"_qs << u"张三"_qs << u"AAAAAA"_qs;
        QTest::newRow("another name") << u"一班"_qs << u"a01"_qs << u"李四"_qs << QString();
        QTest::newRow("not listed") << u"一班"_qs << u"a09"_qs << u"张三"_qs << QString();
        QTest::newRow("namesake, told by department")
                << u"二班"_qs << u"07"_qs << u"王五"_qs << u"CCCCCC"_qs;
        QTest::newRow("namesake, no department fits")
                << u"三班"_qs << u"07"_qs << u"王五"_qs << QString();
    }

    void codeOfTheTypedIdentity()
    {
        QFETCH(QString, department);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, code);
        QTemporaryDir app;
        const QString path = app.filePath(LoginCodes::fileName());
        const QString id = Publication::newId();
        // Written as the console writes them, read back as a restart does.
        QVERIFY(writeFile(
                path,
                gbk::encode(u"\"%1\"\r\n"
                            "\"一班\"\r\n\"a01\"\r\n\"张三\"\r\n\"AAAAAA\"\r\n"
                            "\"一班\"\r\n\"07\"\r\n\"王五\"\r\n\"BBBBBB\"\r\n"
                            "\"二班\"\r\n\"07\"\r\n\"王五\"\r\n\"CCCCCC\"\r\n"_qs.arg(id))));
        const LoginCodes codes = LoginCodes::load(path, id);
        QCOMPARE(codes.examinees().size(), 3);
        QCOMPARE(codes.codeOf(department, number, name), code);
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
