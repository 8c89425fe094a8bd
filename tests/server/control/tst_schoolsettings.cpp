// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's place in the school: its setting stored and in force, the
// password entry written into libpq's file, and what the console says
// while exams wait for a server that does not answer.
#include "testfiles.h"

#include "archive/pgpassfile.h"
#include "control/schoolcontroller.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using console::SchoolController;
using console::SchoolSetting;
using console::SchoolSettings;

class TestSchoolSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { qunsetenv("KESTRIX_ARCHIVE"); }

    void storedAndInForce()
    {
        QTemporaryDir dir;
        const SchoolSettings settings(dir.path());
        // Nothing stored: this computer, named by its machine and account.
        QCOMPARE(settings.inForce(),
                 (SchoolSetting {
                         {}, SchoolSettings::defaultLab(), SchoolSettings::defaultTeacher() }));
        const SchoolSetting chosen { u" postgresql://kestrix@10.0.0.5/school "_qs, u"三号机房"_qs,
                                     u"李老师"_qs };
        QCOMPARE(settings.save(chosen), QString());
        QCOMPARE(settings.inForce(),
                 (SchoolSetting { u"postgresql://kestrix@10.0.0.5/school"_qs, u"三号机房"_qs,
                                  u"李老师"_qs }));
        QCOMPARE(readFile(dir.filePath(SchoolSettings::fileName())),
                 QByteArray(
                         "postgresql://kestrix@10.0.0.5/school\r\n\xc8\xfd\xba\xc5\xbb\xfa\xb7\xbf"
                         "\r\n\xc0\xee\xc0\xcf\xca\xa6\r\n"));
        // The environment's place over the stored one.
        qputenv("KESTRIX_ARCHIVE", "postgresql://it@server/all");
        QVERIFY(SchoolSettings::placeFromEnvironment());
        QCOMPARE(settings.inForce().place, u"postgresql://it@server/all"_qs);
        QCOMPARE(settings.inForce().lab, u"三号机房"_qs);
        // Refused, and what was stored stays.
        QVERIFY(!settings.save({ u"/srv/cjda.db"_qs, {}, {} }).isEmpty());
        QVERIFY(!settings.save({ {}, u"机房😀"_qs, {} }).isEmpty());
        qunsetenv("KESTRIX_ARCHIVE");
        QCOMPARE(settings.inForce().place, u"postgresql://kestrix@10.0.0.5/school"_qs);
    }

    void passwordEntryReplacedAndPrivate()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"postgresql/pgpass.conf"_qs);
        QCOMPARE(
                pgpassfile::writeEntry(file, u"postgresql://kestrix@10.0.0.5/school"_qs, u"a:b"_qs),
                QString());
        QVERIFY(QDir().mkpath(dir.path()));
        QVERIFY(writeFile(file, readFile(file) + "other:5432:*:someone:secret\n"));
        QCOMPARE(pgpassfile::writeEntry(file, u"postgresql://kestrix@10.0.0.5/school"_qs,
                                        u"新\\口令"_qs),
                 QString());
        QCOMPARE(QString::fromUtf8(readFile(file)),
                 u"other:5432:*:someone:secret\n10.0.0.5:5432:school:kestrix:新\\\\口令\n"_qs);
#ifdef Q_OS_UNIX
        // Windows keeps a user's files in their own profile instead.
        QCOMPARE(QFile::permissions(file) & 0x0077, QFileDevice::Permissions());
#endif
        QVERIFY(!pgpassfile::writeEntry(file, u"postgresql://10.0.0.5/school"_qs, u"x"_qs)
                         .isEmpty());
    }

    void waitingExamsSaidWhileTheServerIsAway()
    {
        QTemporaryDir dir;
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QCOMPARE(SchoolSettings(dir.path())
                         .save({ QStringLiteral("postgresql://kestrix@127.0.0.1:%1/school")
                                         .arg(port),
                                 u"三号机房"_qs,
                                 {} }),
                 QString());
        ExamArchive local(dir.filePath(u"cjda.db"_qs));
        ExamSitting sitting;
        sitting.key = u"k"_qs;
        sitting.examMinutes = 10;
        QCOMPARE(local.keep(sitting, {}).problem, QString());
        SchoolController school(local, dir.path());
        QVERIFY(school.sendsToSchool());
        const SchoolOutbox::Report report = school.send();
        QCOMPARE(report.waiting, 1);
        QVERIFY2(
                school.status().startsWith(u"1 场考试尚未上传到学校存档（学校存档 postgresql://"_qs)
                        && school.status().contains(u"无法连接"_qs),
                qPrintable(school.status()));
        QVERIFY(SchoolController::testConnection(u"/srv/cjda.db"_qs).contains(u"postgresql://"_qs));
    }
};

QTEST_GUILESS_MAIN(TestSchoolSettings)
#include "tst_schoolsettings.moc"
