#pragma once
// A stand-in for the input methods, and one typing window
// over a temporary working folder holding te.txt.
#include "fakemessages.h"
#include "student/windows/frmmain.h"
#include "gbk.h"
#include "exam/inputmethods.h"
#include "messages.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

class FakeInputMethods : public InputMethods
{
public:
    explicit FakeInputMethods(QList<int> *activated) : m_activated(activated) { }
    QStringList entries() const override
    {
        return { plainKeyboardEntry(), QStringLiteral("拼音"), QStringLiteral("五笔") };
    }
    void activate(int index) override { m_activated->append(index); }

private:
    QList<int> *m_activated;
};

struct TypingExam
{
    // No target leaves te.txt out.
    explicit TypingExam(const std::optional<QString> &target, int minutes = 10,
                        const QString &serverIP = QStringLiteral("127.0.0.1"))
    {
        QFile file(folder.filePath(QStringLiteral("te.txt")));
        if (target && (!file.open(QIODevice::WriteOnly) || file.write(gbk::encode(*target)) < 0))
            qFatal("cannot write te.txt");
        file.close();
        FrmMainServices services;
        services.inputMethods = std::make_unique<FakeInputMethods>(&activated);
        services.messages = messages;
        services.runTimers = false;
        const Examinee examinee { serverIP, QStringLiteral("计算机系"), QStringLiteral("2026001"),
                                  QStringLiteral("张三"), qint16(minutes) };
        frm = std::make_unique<FrmMain>(examinee, folder.path(), std::move(services));
        frm->show();
        if (!QTest::qWaitForWindowExposed(frm.get()))
            qFatal("window not shown");
    }
    template <typename T>
    T *child(const char *name) const
    {
        T *widget = frm->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QPlainTextEdit *txtWrite() const { return child<QPlainTextEdit>("TxtWrite"); }

    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> messages = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> frm;
};
