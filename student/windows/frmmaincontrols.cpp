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

#include <algorithm>

namespace {

// Pixel geometry at 15 twips per pixel: the client area is at least
// 11160 x 7650 twips, the typing box 8300 x 2700. The target text area is at
// least as large as the typing box and grows with what its lines need.
constexpr int kClientWidth = 744;
constexpr int kClientHeight = 510;
constexpr int kTextWidth = 553;
constexpr int kTextHeight = 180;
constexpr int kScrollWidth = 17;
constexpr int kStatusHeight = 22;

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
    m_department = framedLabel(this, QStringLiteral("Frame1"), tr("部门"),
                               QStringLiteral("LblBanName"), 8);
    m_examNumber = framedLabel(this, QStringLiteral("Frame2"), tr("考号"),
                               QStringLiteral("LblXueHao"), 70);
    m_name = framedLabel(this, QStringLiteral("Frame3"), tr("姓名"), QStringLiteral("LblXingMing"),
                         132);

    m_sideFrame = new QGroupBox(this);
    m_sideFrame->setObjectName(QStringLiteral("Frame4"));
    m_inputMethodLabel = new QLabel(tr("选择输入法："), m_sideFrame);
    m_inputMethodLabel->setObjectName(QStringLiteral("Label3"));
    m_inputMethodLabel->setGeometry(8, 12, 104, 22);
    m_inputMethods = new QComboBox(m_sideFrame);
    m_inputMethods->setObjectName(QStringLiteral("Combo1"));
    m_inputMethods->setGeometry(8, 36, 104, 26);
    m_endExam = new QPushButton(tr("结束考试"), m_sideFrame);
    m_endExam->setObjectName(QStringLiteral("CmdExit"));
    // Enter on the focused button presses it.
    m_endExam->setAutoDefault(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    auto *typingTab = new QWidget;
    m_tabs->addTab(typingTab, tr("打字测试"));
    m_tabs->addTab(new QWidget, tr("系统设置"));

    auto *label1 = new QLabel(tr("目标文字"), typingTab);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(10, 12, 120, 22);
    m_timeCaption = new QLabel(tr("剩余时间"), typingTab);
    m_timeCaption->setObjectName(QStringLiteral("Label2"));
    m_timeCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_timeLeft = new QLabel(QStringLiteral("00 : 00"), typingTab);
    m_timeLeft->setObjectName(QStringLiteral("LblTime"));
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
    connect(m_page, &PageView::pageSizeChanged, this, &FrmMain::placeControls);

    m_pageScroll = new QScrollBar(Qt::Vertical, typingTab);
    m_pageScroll->setObjectName(QStringLiteral("VScroll1"));

    m_infoLine = new QLabel(typingTab);
    m_infoLine->setObjectName(QStringLiteral("LblInfo"));

    m_typingBox = new TypingBox(typingTab);
    m_typingBox->setObjectName(QStringLiteral("TxtWrite"));
    m_typingBox->setFont(songFont());

    buildStatusBar();
    buildTimers();
    placeControls();

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
    const struct
    {
        const char *key;
        QString text;
        int stretch;
    } panels[] = {
        { "time", QString(), 2 },
        { "notice", tr("Kestrix 打字考试系统"), 2 },
        { "url", tr("访问网站 kestrix.example.org"), 3 },
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

void FrmMain::placeControls()
{
    const QSize page = m_page->pageSize();
    const int textWidth = std::max(kTextWidth, page.width());
    const int textHeight = std::max(kTextHeight, page.height());
    const int wider = textWidth - kTextWidth;
    const int taller = textHeight - kTextHeight;
    const int clientWidth = kClientWidth + wider;
    const int clientHeight = kClientHeight + taller;
    setFixedSize(clientWidth, clientHeight);

    m_sideFrame->setGeometry(8, 194, 120, 288 + taller);
    m_endExam->setGeometry(8, 240 + taller, 104, 34);
    m_tabs->setGeometry(136, 6, 600 + wider, 476 + taller);
    m_timeCaption->setGeometry(390 + wider, 10, 70, 24);
    m_timeLeft->setGeometry(466 + wider, 8, 114, 28);

    m_page->setGeometry(10, 40, textWidth, textHeight);
    m_pageScroll->setGeometry(10 + textWidth, 40, kScrollWidth, textHeight);
    const int below = 40 + textHeight;
    m_infoLine->setGeometry(10, below + 6, textWidth + kScrollWidth, 22);
    m_typingBox->setGeometry(10, below + 32, textWidth + kScrollWidth, kTextHeight);
    m_statusBar->setGeometry(0, clientHeight - kStatusHeight, clientWidth, kStatusHeight);
}

void FrmMain::buildTimers()
{
    // The exam clock and the status bar's clock tick every second, the
    // prompt blinks every half second.
    m_examTick = newTimer(this, QStringLiteral("Timer1"), 1000);
    m_statusTick = newTimer(this, QStringLiteral("Timer2"), 1000);
    m_promptTick = newTimer(this, QStringLiteral("Timer3"), 500);
}
