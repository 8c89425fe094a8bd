// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A class with login codes over a real FTP service: the console issues a
// code to each listed examinee and prints the slips, examinees log in with
// the code from their slip, and a classmate's forgeries (unsigned, and
// signed with a wrong code) are marked and lock nobody out.
#include "childwidget.h"
#include "exchange/examdigest.h"
#include "fakes.h"
#include "ftpservice.h"
#include "exchange/identity.h"
#include "exchange/publication.h"
#include "exchange/recordsignature.h"
#include "retakeexaminee.h"
#include "testfiles.h"
#include "testrecords.h"
#include "exchange/transcode.h"
#include "transfer/resultupload.h"
#include "windows/frmlogin.h"

#include "class/classtablemodel.h"
#include "watchedconsole.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWaitMillis = 20000;

// Each name on the slips with the code beside it, as pdftotext reads them.
QHash<QString, QString> codesOnSlips(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_qs, { u"-raw"_qs, pdf, u"-"_qs });
    pdftotext.waitForFinished(30000);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QHash<QString, QString> codes;
    static const QRegularExpression slip(u"姓名：(\\S+).*?登录码：([A-Z0-9 ]+)"_qs,
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto match = slip.globalMatch(text); match.hasNext();) {
        const auto found = match.next();
        codes.insert(found.captured(1), found.captured(2).remove(u' '));
    }
    return codes;
}

}  // namespace

class TestCodesExam : public QObject
{
    Q_OBJECT

private slots:
    void classWithCodes();

private:
    // Logs in with the real login window; the examinee, or empty when refused.
    std::optional<Examinee> logIn(const QString &number, const QString &name, const QString &code);

    FtpService m_service;
    QTemporaryDir m_clients;
    FakeMessages m_clientBoxes;
};

std::optional<Examinee> TestCodesExam::logIn(const QString &number, const QString &name,
                                             const QString &code)
{
    const QString folder = m_clients.filePath(number);
    QDir().mkpath(folder);
    FrmLogin login(folder, &m_clientBoxes);
    login.show();
    childOf<QLineEdit>(&login, "TxtIP")->setText(m_service.address());
    childOf<QLineEdit>(&login, "TxtBanName")->setText(u"一班"_qs);
    childOf<QLineEdit>(&login, "TxtXueHao")->setText(number);
    childOf<QLineEdit>(&login, "TxtXingMing")->setText(name);
    QSignalSpy loggedIn(&login, &FrmLogin::loggedIn);
    // The code is asked for once the client knows the exam requires one.
    auto *codeBox = childOf<QLineEdit>(&login, "TxtLoginCode");
    if (codeBox->isVisible())
        return std::nullopt;
    childOf<QAbstractButton>(&login, "CmdLogin")->click();
    if (!QTest::qWaitFor([&] { return codeBox->isVisible(); }, kWaitMillis))
        return std::nullopt;
    codeBox->setText(code);
    if (const QString shots = qEnvironmentVariable("KESTRIX_SCREENSHOTS"); !shots.isEmpty())
        login.grab().save(shots + u"/client-login-code.png"_qs);
    childOf<QAbstractButton>(&login, "CmdLogin")->click();
    if (!QTest::qWaitFor([&] { return loggedIn.count() == 1; }, kWaitMillis))
        return std::nullopt;
    return loggedIn.first().first().value<Examinee>();
}

void TestCodesExam::classWithCodes()
{
    QVERIFY(m_service.start());
    QTemporaryDir consoleFolder;
    const QDir exchange(m_service.folder());
    QDir(consoleFolder.path()).mkpath(u"article"_qs);
    const QString article = consoleFolder.filePath(u"article/a.txt"_qs);
    const QString roster = consoleFolder.filePath(u"名单.csv"_qs);
    const QString slips = consoleFolder.filePath(u"登录码.pdf"_qs);
    QVERIFY(writeFile(article, QByteArray("0123456789\r\n").repeated(30)));
    QVERIFY(writeFile(roster, u"部门,考号,姓名\n一班,01,甲\n一班,02,乙\n一班,03,丙\n"_qs.toUtf8()));
    FakeMessages boxes;
    QList<QUrl> opened;
    ConsoleHooks hooks;
    hooks.chooseArticle = [&](QWidget *, const QString &) { return article; };
    hooks.chooseRoster = [&](QWidget *, const QString &) { return roster; };
    hooks.chooseSaveFile = [&](QWidget *, const QString &, const QString &) { return slips; };
    hooks.openUrl = [&](const QUrl &url) {
        opened << url;
        return true;
    };
    WatchedConsole console({ consoleFolder.path(), consoleFolder.path(), exchange.path(),
                             consoleFolder.filePath(u"cj.mdb"_qs), consoleFolder.path() },
                           hooks, &boxes);
    console.show();
    const auto click = [&](const char *name) { childOf<QAbstractButton>(&console, name)->click(); };

    click("roster");
    console.controller().liveClass().waitForRoster();
    click("set");
    click("CmdChFile");
    childOf<QComboBox>(&console, "CmbTestTime")->setEditText(u"10"_qs);
    childOf<QCheckBox>(&console, "ChkLoginCodes")->setChecked(true);
    if (const QString shots = qEnvironmentVariable("KESTRIX_SCREENSHOTS"); !shots.isEmpty())
        console.grab().save(shots + u"/console-settings-codes.png"_qs);
    click("CmdSave");
    if (const QString shots = qEnvironmentVariable("KESTRIX_SCREENSHOTS"); !shots.isEmpty())
        console.grab().save(shots + u"/console-codes-before-login.png"_qs);

    // The slips, printed before login opens, are all the examinees get.
    click("codes");
    QCOMPARE(opened, QList<QUrl> { QUrl::fromLocalFile(slips) });
    if (const QString shots = qEnvironmentVariable("KESTRIX_SCREENSHOTS"); !shots.isEmpty())
        QFile::copy(slips, shots + u"/login-slips.pdf"_qs);
    const QHash<QString, QString> codes = codesOnSlips(slips);
    QCOMPARE(QStringList(codes.keys()).size(), 3);
    for (const QString &code : codes)
        QVERIFY2(QRegularExpression(u"^[2346789ACEFGHKMNPRTUWXY]{10}$"_qs).match(code).hasMatch(),
                 qPrintable(code));
    boxes.informed.clear();
    click("BeginStop");
    QVERIFY2(boxes.informed.isEmpty(), qPrintable(boxes.informed.join(u'\n')));
    const auto publication =
            Publication::fromRecordLines(readFile(exchange.filePath(u"pb.txt"_qs)));
    QVERIFY(publication && publication->codesRequired);

    // 甲 logs in with the code on the slip.
    QString wrong = codes.value(u"甲"_qs);
    wrong[0] = wrong[0] == u'A' ? u'C' : u'A';
    const auto jia = logIn(u"01"_qs, u"甲"_qs, codes.value(u"甲"_qs));
    QVERIFY(jia);
    QVERIFY(!jia->recordKey.isEmpty());

    // A classmate uploads a finished record for 丙 without a signature, and
    // one for 乙 signed with a code of their own making.
    const auto forge = [&](const QString &number, const QString &name, const QString &code,
                           const QByteArray &digest = "d1") {
        ResultRecord record = sampleRecord(u"一班"_qs, number, name, 240, 100, 60);
        record.progress =
                ResultProgress { 9, u"s"_qs + number, ResultProgress::Phase::Finished, 880 };
        record.answerSheet = AnswerSheet { digest, 10, 0, u"0123456789\r\n"_qs };
        record.sections.push_back(publication->section());
        if (!code.isEmpty())
            record = recordsignature::signedRecord(
                    record,
                    recordsignature::keyFor(code, publication->id,
                                            identity::personKey(u"一班"_qs, number, name)));
        ResultUpload upload(m_clients.filePath(u"classmate"_qs));
        upload.save(record, Examinee { m_service.address(), u"一班"_qs, number, name, 10 });
        return QTest::qWaitFor([&] { return upload.state() == ResultUpload::State::Delivered; },
                               kWaitMillis);
    };
    QDir().mkpath(m_clients.filePath(u"classmate"_qs));
    QVERIFY(forge(u"03"_qs, u"丙"_qs, QString()));
    QVERIFY(forge(u"02"_qs, u"乙"_qs, wrong));

    // The console marks both and counts neither as finished.
    console.controller().collectQuietly();
    console.controller().waitForCollection();
    const QAbstractItemModel *grid = childOf<QTableView>(&console, "DataGrid1")->model();
    int marked = 0;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QString tip =
                grid->index(row, ClassTableModel::State).data(Qt::ToolTipRole).toString();
        if (!tip.contains(u"签名不符：可能是伪造的成绩"_qs))
            continue;
        ++marked;
        QCOMPARE(grid->index(row, ClassTableModel::State).data().toString(), u"存疑"_qs);
    }
    QCOMPARE(marked, 2);
    QVERIFY2(childOf<QLabel>(&console, "LblLiveCounts")->text().contains(u"已交卷 0"_qs),
             qPrintable(childOf<QLabel>(&console, "LblLiveCounts")->text()));
    if (const QString shots = qEnvironmentVariable("KESTRIX_SCREENSHOTS"); !shots.isEmpty())
        console.grab().save(shots + u"/console-signature-doubt.png"_qs);

    // The victims log in with their codes and start afresh: no "你已交卷",
    // no resume offered from the forged records.
    m_clientBoxes.asked.clear();
    QVERIFY(logIn(u"03"_qs, u"丙"_qs, codes.value(u"丙"_qs)));
    QVERIFY(logIn(u"02"_qs, u"乙"_qs, codes.value(u"乙"_qs)));
    QVERIFY2(m_clientBoxes.asked.isEmpty(), qPrintable(m_clientBoxes.asked.join(u'\n')));

    // 丙 hands in, signed with the code; the client keeps it as its checkpoint.
    QVERIFY(forge(u"03"_qs, u"丙"_qs, codes.value(u"丙"_qs),
                  examDigest(readFile(exchange.filePath(u"te.txt"_qs)))));
    QVERIFY(QFile::copy(exchange.filePath(u"一班-03-丙.zip"_qs),
                        m_clients.filePath(u"03/resume.zip"_qs)));
    console.controller().collectQuietly();
    console.controller().waitForCollection();
    // A leave a classmate wrote lets nobody in; the one 重考 writes lets 丙 in.
    QVERIFY(writeFile(exchange.filePath(u"一班-03-丙.retake"_qs),
                      transcodeBytes("\"s03\"\r\n", kExchangeKey)));
    QVERIFY(!logIn(u"03"_qs, u"丙"_qs, codes.value(u"丙"_qs)));
    QCOMPARE(m_clientBoxes.informed.value(m_clientBoxes.informed.size() - 1),
             u"你已交卷，不能再次考试。如需重考，请联系监考老师。"_qs);
    ClassViewRow bing;
    for (const ClassViewRow &row : console.controller().liveClass().live().rows())
        bing = row.name == u"丙" ? row : bing;
    QCOMPARE(retakeExaminee(console.controller(), bing), QString());
    QVERIFY(logIn(u"03"_qs, u"丙"_qs, codes.value(u"丙"_qs)));
}

QTEST_MAIN(TestCodesExam)
#include "tst_codesexam.moc"
