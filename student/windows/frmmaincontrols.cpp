// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The typing window's controls: their names, texts, fonts and geometry, and
// the timers. What they do is in frmmain.cpp.
#include "windows/frmmain.h"

#include "windows/pageview.h"
#include "windows/statuspanel.h"
#include "windows/typingbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace {

// Pixel geometry at 15 twips per pixel: the client area is 11160 x 7650
// twips, the text area 8300 x 2700.
constexpr int kClientWidth = 744;
constexpr int kClientHeight = 510;
constexpr int kTextWidth = 553;
constexpr int kTextHeight = 180;
constexpr int kScrollWidth = 17;

// 12-point Song, with the CJK faces that stand in for it where it is missing.
QFont songFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                       QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC") });
    font.setPointSize(12);
    return font;
}

QLabel *framedLabel(QWidget *window, const QString &frameName, const QString &title,
                    const QString &labelName, int top)
{
    auto *frame = new QGroupBox(title, window);
    frame->setObjectName(frameName);
    frame->setGeometry(8, top, 120, 56);
    auto *label = new QLabel(frame);
    label->setObjectName(labelName);
    label->setGeometry(8, 24, 104, 24);
    return label;
}

QTimer *newTimer(QObject *window, const QString &name, int millis)
{
    auto *timer = new QTimer(window);
    timer->setObjectName(name);
    timer->setInterval(millis);
    return timer;
}

}  // namespace

void FrmMain::buildWindow()
{
    setFixedSize(kClientWidth, kClientHeight);

    m_department = framedLabel(this, QStringLiteral("Frame1"), QStringLiteral("部门"),
                               QStringLiteral("LblBanName"), 8);
    m_examNumber = framedLabel(this, QStringLiteral("Frame2"), QStringLiteral("考号"),
                               QStringLiteral("LblXueHao"), 70);
    m_name = framedLabel(this, QStringLiteral("Frame3"), QStringLiteral("姓名"),
                         QStringLiteral("LblXingMing"), 132);

    auto *frame4 = new QGroupBox(this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    frame4->setGeometry(8, 194, 120, 288);
    m_inputMethodLabel = new QLabel(QStringLiteral("选择输入法："), frame4);
    m_inputMethodLabel->setObjectName(QStringLiteral("Label3"));
    m_inputMethodLabel->setGeometry(8, 12, 104, 22);
    m_inputMethods = new QComboBox(frame4);
    m_inputMethods->setObjectName(QStringLiteral("Combo1"));
    m_inputMethods->setGeometry(8, 36, 104, 26);
    m_endExam = new QPushButton(QStringLiteral("结束考试"), frame4);
    m_endExam->setObjectName(QStringLiteral("CmdExit"));
    m_endExam->setGeometry(8, 240, 104, 34);
    // Enter on the focused button presses it.
    m_endExam->setAutoDefault(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setGeometry(136, 6, 600, 476);
    auto *typingTab = new QWidget;
    m_tabs->addTab(typingTab, QStringLiteral("打字测试"));
    m_tabs->addTab(new QWidget, QStringLiteral("系统设置"));

    auto *label1 = new QLabel(QStringLiteral("目标文字"), typingTab);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(10, 12, 120, 22);
    auto *label2 = new QLabel(QStringLiteral("剩余时间"), typingTab);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(390, 10, 70, 24);
    label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_timeLeft = new QLabel(QStringLiteral("00 : 00"), typingTab);
    m_timeLeft->setObjectName(QStringLiteral("LblTime"));
    m_timeLeft->setGeometry(466, 8, 114, 28);
    m_timeLeft->setAlignment(Qt::AlignCenter);
    m_timeLeft->setAutoFillBackground(true);
    QPalette timePalette = m_timeLeft->palette();
    timePalette.setColor(QPalette::Window, QColor(0x80, 0x80, 0xFF));
    timePalette.setColor(QPalette::WindowText, timePalette.color(QPalette::HighlightedText));
    m_timeLeft->setPalette(timePalette);
    QFont timeFont = m_timeLeft->font();
    timeFont.setPointSize(14);
    timeFont.setBold(true);
    m_timeLeft->setFont(timeFont);

    m_page = new PageView(typingTab);
    m_page->setObjectName(QStringLiteral("LblGetText"));
    m_page->setFont(songFont());
    m_page->setGeometry(10, 40, kTextWidth, kTextHeight);

    m_pageScroll = new QScrollBar(Qt::Vertical, typingTab);
    m_pageScroll->setObjectName(QStringLiteral("VScroll1"));
    m_pageScroll->setGeometry(10 + kTextWidth, 40, kScrollWidth, kTextHeight);

    m_infoLine = new QLabel(typingTab);
    m_infoLine->setObjectName(QStringLiteral("LblInfo"));
    m_infoLine->setGeometry(10, 226, kTextWidth + kScrollWidth, 22);

    m_typingBox = new TypingBox(typingTab);
    m_typingBox->setObjectName(QStringLiteral("TxtWrite"));
    m_typingBox->setFont(songFont());
    m_typingBox->setGeometry(10, 252, kTextWidth + kScrollWidth, kTextHeight);

    buildStatusBar();
    buildTimers();

    // The tab strip comes first, so it holds the focus while the typing box
    // is disabled and Enter there starts the exam.
    setTabOrder(m_tabs, m_typingBox);
    setTabOrder(m_typingBox, m_inputMethods);
    setTabOrder(m_inputMethods, m_endExam);
}

void FrmMain::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setGeometry(0, kClientHeight - 22, kClientWidth, 22);
    const struct
    {
        const char *key;
        QString text;
        int stretch;
    } panels[] = {
        { "time", QString(), 2 },
        { "notice", QStringLiteral("Kestrix 打字考试系统"), 2 },
        { "url", QStringLiteral("访问网站 kestrix.example.org"), 3 },
        { "help", QString(), 2 },  // the exam's note
    };
    for (const auto &panel : panels) {
        auto *label = new StatusPanel(QLatin1String(panel.key), panel.text, m_statusBar);
        label->setObjectName(QLatin1String("Panel") + QString::number(m_panels.size() + 1));
        m_statusBar->addWidget(label, panel.stretch);
        m_panels.append(label);
    }
    m_panels[kWebsitePanel]->setCursor(Qt::PointingHandCursor);
}

void FrmMain::buildTimers()
{
    // The exam clock and the status bar's clock tick every second, the
    // prompt blinks every half second.
    m_examTick = newTimer(this, QStringLiteral("Timer1"), 1000);
    m_statusTick = newTimer(this, QStringLiteral("Timer2"), 1000);
    m_promptTick = newTimer(this, QStringLiteral("Timer3"), 500);
}
