// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/settingspanel.h"

#include "windows/classiccontrols.h"
#include "windows/gradingscaledialog.h"
#include "windows/judgingstandarddialog.h"
#include "windows/schoolarchivedialog.h"
#include "windows/twips.h"

#include "exchange/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace {

constexpr qreal kTextPoints = 10.5;

}  // namespace

SettingsPanel::SettingsPanel(console::ExamSettingsController &controller,
                             console::SchoolController &school, const ConsoleHooks &hooks,
                             Messages *messages, QWidget *parent)
    : QGroupBox(parent),
      m_controller(controller),
      m_school(school),
      m_hooks(hooks),
      m_messages(messages)
{
    setObjectName(QStringLiteral("FrameSet"));
    setFlat(true);
    setStyleSheet(QStringLiteral("QGroupBox#FrameSet { border: none; }"));
    setGeometry(twips::rect(120, 960, 9855, 6495));
    placed(this, Widens | Heightens);
    // The labels without a font of their own have the window's.
    buildTimeFrame(parent->font());
    buildTextFrame(parent->font());
    buildDataLine(parent->font());

    QPushButton *save = placed(
            classic::button(this, "CmdSave", tr("保存设置"), twips::rect(6480, 6000, 1455, 375)),
            MovesRight | MovesDown);
    connect(save, &QPushButton::clicked, this, &SettingsPanel::save);
    QPushButton *cancel = placed(
            classic::button(this, "CmdCancel", tr("取消"), twips::rect(8400, 6000, 1455, 375)),
            MovesRight | MovesDown);
    connect(cancel, &QPushButton::clicked, this, &SettingsPanel::cancel);

    connect(&m_controller, &console::ExamSettingsController::examTextChanged, this,
            &SettingsPanel::showExamText);
    showMinutes();
}

template <typename Control>
Control *SettingsPanel::placed(Control *control, int follow)
{
    m_placed.append({ control, control->geometry(), follow });
    return control;
}

void SettingsPanel::place(const QSize &grown)
{
    for (const Placed &placed : m_placed) {
        QRect at = placed.classic;
        at.translate(placed.follow & MovesRight ? grown.width() : 0,
                     placed.follow & MovesDown ? grown.height() : 0);
        at.setSize(at.size()
                   + QSize(placed.follow & Widens ? grown.width() : 0,
                           placed.follow & Heightens ? grown.height() : 0));
        placed.widget->setGeometry(at);
    }
    // The folders are elided to the labels' new widths.
    if (isVisible())
        showFolders();
}

void SettingsPanel::buildTimeFrame(const QFont &windowFont)
{
    QGroupBox *timeFrame = classic::frame(this, "Frame1", tr("考试时间设置"));
    timeFrame->setGeometry(twips::rect(0, 0, 9855, 855));
    placed(timeFrame, Widens);
    classic::label(timeFrame, "Label3", tr("考试时间（分钟）："), twips::rect(360, 405, 2055, 255),
                   classic::simSun(kTextPoints));
    m_examMinutes = new QComboBox(timeFrame);
    m_examMinutes->setObjectName(QStringLiteral("CmbTestTime"));
    m_examMinutes->setGeometry(twips::rect(2280, 360, 855, 300));
    m_examMinutes->setEditable(true);
    m_examMinutes->setInsertPolicy(QComboBox::NoInsert);
    // What is typed stays as typed: completion would make "3" into "30".
    m_examMinutes->setCompleter(nullptr);
    m_examMinutes->addItems({ QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("15"),
                              QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30") });

    // The exchange folder, for labs whose machines have no D: drive or keep
    // the FTP service's folder elsewhere.
    classic::label(timeFrame, "Label6", tr("交换文件夹："), twips::rect(3600, 405, 1215, 255),
                   windowFont);
    m_exchangeFolder = placed(classic::label(timeFrame, "LblExchange", QString(),
                                             twips::rect(4800, 405, 3600, 255), windowFont),
                              Widens);
    QPushButton *chooseExchange = placed(classic::button(timeFrame, "CmdExchange", tr("更改文件夹"),
                                                         twips::rect(8520, 360, 1095, 300)),
                                         MovesRight);
    connect(chooseExchange, &QPushButton::clicked, this, &SettingsPanel::chooseExchangeFolder);
}

void SettingsPanel::buildTextFrame(const QFont &windowFont)
{
    QGroupBox *textFrame = classic::frame(this, "Frame2", tr("考试内容设置"));
    textFrame->setGeometry(twips::rect(0, 960, 9855, 4935));
    placed(textFrame, Widens | Heightens);
    classic::label(textFrame, "Label4", tr("考试内容"), twips::rect(240, 360, 735, 255),
                   windowFont);
    // The frame's line runs under its title: the button goes below it.
    QRect chooseArea = twips::rect(8520, 240, 1095, 300);
    chooseArea.moveTop(std::max(chooseArea.top(), textFrame->contentsRect().top()));
    QPushButton *choose =
            placed(classic::button(textFrame, "CmdChFile", tr("更改内容"), chooseArea), MovesRight);
    connect(choose, &QPushButton::clicked, this, &SettingsPanel::chooseArticle);
    m_examText = new QPlainTextEdit(textFrame);
    m_examText->setObjectName(QStringLiteral("TxtType"));
    m_examText->setGeometry(twips::rect(240, 600, 9375, 3855));
    placed(m_examText, Widens | Heightens);
    m_examText->setReadOnly(true);
    m_examText->setFont(classic::simSun(kTextPoints));
    m_examText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placed(classic::label(textFrame, "Label5", tr("文字总数："), twips::rect(240, 4600, 975, 255),
                          windowFont),
           MovesDown);
    m_textLength =
            placed(classic::label(textFrame, "LblWordCount", QString(),
                                  twips::rect(1260, 4560, 975, 255), classic::simSun(kTextPoints)),
                   MovesDown);
    classic::paintCounter(m_textLength, QPalette::WindowText);
    // How the text is scored, beside its length: the line below the frame
    // is the data folder's, which the manual tells the examiner to read.
    QPushButton *grading = placed(classic::button(textFrame, "CmdGrading", tr("评分标准"),
                                                  twips::rect(8520, 4560, 1095, 300)),
                                  MovesRight | MovesDown);
    connect(grading, &QPushButton::clicked, this, &SettingsPanel::editGradingScale);
    // What marks a record as doubtful, beside how it is scored.
    QPushButton *judging = placed(classic::button(textFrame, "CmdJudging", tr("判定标准"),
                                                  twips::rect(5400, 4560, 1095, 300)),
                                  MovesRight | MovesDown);
    connect(judging, &QPushButton::clicked, this, &SettingsPanel::editJudgingStandard);
    // Where the kept exams go: this computer or the school's database.
    QPushButton *archivePlace =
            placed(classic::button(textFrame, "CmdSchoolArchive", tr("考试存档位置"),
                                   twips::rect(6600, 4560, 1815, 300)),
                   MovesRight | MovesDown);
    connect(archivePlace, &QPushButton::clicked, this, &SettingsPanel::editSchoolArchive);
    buildLoginCodesChoice(textFrame);
}

void SettingsPanel::buildLoginCodesChoice(QWidget *frame)
{
    m_loginCodes = new QCheckBox(tr("要求登录码"), frame);
    m_loginCodes->setObjectName(QStringLiteral("ChkLoginCodes"));
    m_loginCodes->setGeometry(twips::rect(2520, 4560, 2055, 300));
    placed(m_loginCodes, MovesDown);
    m_loginCodes->setToolTip(tr("允许登录时为名单中的每位考生生成登录码（打印后发给考生），"
                                "考生登录时须填写，成绩带签名，同学无法冒名交卷。\n"
                                "只对载入了名单的考试起作用；没有名单时考生照常登录。"));
}

void SettingsPanel::showLoginCodesChoice()
{
    m_loginCodes->setChecked(m_controller.loginCodesRequired());
}

QString SettingsPanel::saveLoginCodesChoice()
{
    if (m_loginCodes->isChecked() == m_controller.loginCodesRequired())
        return {};
    return m_controller.saveLoginCodesRequired(m_loginCodes->isChecked());
}

void SettingsPanel::buildDataLine(const QFont &windowFont)
{
    // Where the settings and results are, for backups and for the examiner
    // who looks for last term's cj.mdb.
    placed(classic::label(this, "LabelData", tr("数据文件夹："), twips::rect(0, 6060, 1215, 255),
                          windowFont),
           MovesDown);
    m_dataFolder = placed(classic::label(this, "LblDataFolder", QString(),
                                         twips::rect(1140, 6060, 3900, 255), windowFont),
                          MovesDown | Widens);
    QPushButton *open = placed(classic::button(this, "CmdOpenData", tr("打开文件夹"),
                                               twips::rect(5100, 6000, 1215, 375)),
                               MovesRight | MovesDown);
    connect(open, &QPushButton::clicked, this, &SettingsPanel::openDataFolder);
}

void SettingsPanel::showFolders()
{
    const auto show = [](QLabel *label, const QString &text, const QString &tip) {
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
        label->setToolTip(tip);
    };
    const QString inUse = QDir::toNativeSeparators(m_controller.folders().exchange);
    const QString next = QDir::toNativeSeparators(m_controller.nextExchangeFolder());
    if (next == inUse)
        show(m_exchangeFolder, inUse, inUse);
    else
        show(m_exchangeFolder, next + tr("（重新启动后生效）"),
             tr("正在使用：%1\n重新启动考试服务器后使用：%2").arg(inUse, next));
    const console::ConsoleFolders &folders = m_controller.folders();
    const QString data = QDir::toNativeSeparators(folders.application);
    show(m_dataFolder, data,
         tr("设置：%1\n成绩（%2）：%3")
                 .arg(data, QFileInfo(folders.database).fileName(),
                      QDir::toNativeSeparators(QFileInfo(folders.database).absolutePath())));
}

void SettingsPanel::open()
{
    show();
    showFolders();
    showLoginCodesChoice();
    const examarticle::Reading stored = m_controller.readStoredExamText();
    if (stored.text)
        showTextLength();
    else
        tell(stored.problem);
}

void SettingsPanel::chooseExchangeFolder()
{
    if (const QString locked = m_controller.exchangeFolderLocked(); !locked.isEmpty()) {
        tell(locked);
        return;
    }
    const QString chosen = m_hooks.chooseFolder(this, m_controller.folders().exchange);
    if (chosen.isEmpty())
        return;
    const QString problem = m_controller.saveExchangeFolder(chosen);
    showFolders();
    tell(problem.isEmpty() ? console::ExamSettingsController::exchangeFolderSaved(chosen)
                           : problem);
}

void SettingsPanel::openDataFolder()
{
    const QString folder = m_controller.folders().application;
    if (!m_hooks.openUrl(QUrl::fromLocalFile(folder)))
        tell(tr("没有找到能打开文件夹的程序。数据文件夹在：\n%1")
                     .arg(QDir::toNativeSeparators(folder)));
}

void SettingsPanel::chooseArticle()
{
    const QString chosen = m_hooks.chooseArticle(this, m_controller.articleFolder());
    if (const QString problem = m_controller.chooseArticle(chosen); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    showTextLength();
}

void SettingsPanel::editGradingScale()
{
    auto *dialog = new GradingScaleDialog(m_controller, m_messages, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SettingsPanel::editJudgingStandard()
{
    auto *dialog = new JudgingStandardDialog(m_controller, m_messages, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SettingsPanel::editSchoolArchive()
{
    auto *dialog = new SchoolArchiveDialog(m_school, m_messages, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SettingsPanel::save()
{
    if (const QString problem = m_controller.saveSettings(m_examMinutes->currentText());
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    if (const QString problem = saveLoginCodesChoice(); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    emit closed();
}

void SettingsPanel::cancel()
{
    showMinutes();
    emit closed();
}

void SettingsPanel::showMinutes()
{
    m_examMinutes->setEditText(QString::number(m_controller.examMinutes()));
}

void SettingsPanel::showExamText(const QString &text)
{
    // The box shows lines; the count is of the text as the files have it.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_examText->setPlainText(shown);
}

void SettingsPanel::showTextLength()
{
    m_textLength->setText(QString::number(m_controller.examText().size()));
}

void SettingsPanel::tell(const QString &text)
{
    if (!text.isEmpty())
        m_messages->inform(this, text);
}
