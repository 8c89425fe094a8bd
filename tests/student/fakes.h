// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the input methods, and one typing window
// over a temporary working folder holding te.txt.
#include "childwidget.h"
#include "exam/inputmethods.h"
#include "fakemessages.h"
#include "exchange/gbk.h"
#include "exchange/messages.h"
#include "student/windows/frmmain.h"
#include "testfiles.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

class FakeInputMethods : public InputMethods
{
public:
    explicit FakeInputMethods(QList<int> *activated,
                              QStringList entries = { plainKeyboardEntry(), QStringLiteral("拼音"),
                                                      QStringLiteral("五笔") })
        : m_activated(activated), m_entries(std::move(entries))
    {
    }
    QStringList entries() const override { return m_entries; }
    void activate(int index) override { m_activated->append(index); }

private:
    QList<int> *m_activated;
    QStringList m_entries;
};

struct TypingExam
{
    // No target leaves te.txt out; no input methods puts in the fake.
    explicit TypingExam(const std::optional<QString> &target, int minutes = 10,
                        const QString &serverIP = QStringLiteral("127.0.0.1"),
                        std::unique_ptr<InputMethods> inputMethods = nullptr)
    {
        if (target && !writeFile(folder.filePath(QStringLiteral("te.txt")), gbk::encode(*target)))
            qFatal("cannot write te.txt");
        FrmMainServices services;
        services.inputMethods = inputMethods ? std::move(inputMethods)
                                             : std::make_unique<FakeInputMethods>(&activated);
        services.messages = messages;
        services.runTimers = false;
        const Examinee examinee { serverIP,
                                  QStringLiteral("计算机系"),
                                  QStringLiteral("2026001"),
                                  QStringLiteral("张三"),
                                  qint16(minutes),
                                  {},
                                  {},
                                  {} };
        frm = std::make_unique<FrmMain>(examinee, folder.path(), std::move(services));
        frm->show();
        if (!QTest::qWaitForWindowExposed(frm.get()))
            qFatal("window not shown");
    }
    QPlainTextEdit *txtWrite() const { return childOf<QPlainTextEdit>(frm.get(), "TxtWrite"); }

    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> messages = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> frm;
};
