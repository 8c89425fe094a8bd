// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/replayview.h"

#include "windows/sheetformats.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace {

QString clockText(qint32 ms)
{
    const int seconds = ms / 1000;
    return QCoreApplication::translate("ReplayView", "%1分%2秒")
            .arg(seconds / 60)
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Inserts the pieces' characters from `from` on, each in its colour.
void insertPieces(QTextCursor &cursor, const QVector<TypedPiece> &pieces, qsizetype from)
{
    qsizetype start = 0;
    for (const TypedPiece &piece : pieces) {
        const qsizetype end = start + piece.text.size();
        if (end > from)
            cursor.insertText(piece.text.mid(std::max<qsizetype>(from - start, 0)),
                              markFormat(piece.right ? AnswerSheetPage::Mark::Right
                                                     : AnswerSheetPage::Mark::Wrong));
        start = end;
    }
}

}  // namespace

ReplayView::ReplayView(const TypingReplay &replay, const QString &compared, qint32 endMs,
                       QWidget *parent)
    : QWidget(parent), m_replay(replay), m_compared(compared), m_playhead(endMs)
{
    setObjectName(QStringLiteral("ReplayView"));
    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("TxtReplay"));
    m_text->setReadOnly(true);
    m_play = new QPushButton(tr("播放"), this);
    m_play->setObjectName(QStringLiteral("CmdPlay"));
    m_speeds = new QButtonGroup(this);
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_play);
    for (const int factor : { 1, 4, 16 }) {
        auto *button = new QPushButton(QStringLiteral("%1×").arg(factor), this);
        button->setObjectName(QStringLiteral("CmdSpeed%1").arg(factor));
        button->setCheckable(true);
        button->setChecked(factor == 1);
        m_speeds->addButton(button, factor);
        bar->addWidget(button);
    }
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("SldReplay"));
    m_slider->setRange(0, endMs / 100);  // tenths of a second
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("LblReplayTime"));
    bar->addWidget(m_slider, 1);
    bar->addWidget(m_time);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text, 1);
    layout->addLayout(bar);
    m_playTimer.setInterval(kTickMillis);
    connect(m_play, &QPushButton::clicked, this, &ReplayView::playOrPause);
    connect(m_speeds, &QButtonGroup::idClicked, this, &ReplayView::chooseSpeed);
    connect(m_slider, &QSlider::valueChanged, this, &ReplayView::seekTo);
    connect(&m_playTimer, &QTimer::timeout, this, &ReplayView::tick);
    showMoment();
}

void ReplayView::playOrPause()
{
    if (m_playhead.playing()) {
        m_playhead.pause();
        m_playTimer.stop();
    } else {
        m_playhead.play();
        m_playTimer.start();
    }
    showMoment();
}

void ReplayView::chooseSpeed(int factor)
{
    m_playhead.setSpeedFactor(factor);
}

void ReplayView::seekTo(int tenths)
{
    m_playhead.seek(tenths * 100);
    showMoment();
}

void ReplayView::tick()
{
    m_playhead.advance(kTickMillis);
    if (!m_playhead.playing())
        m_playTimer.stop();
    showMoment();
}

void ReplayView::showMoment()
{
    const QString text = m_replay.textAt(m_playhead.atMs());
    if (text != m_shownText) {
        const QVector<TypedPiece> pieces = typedPieces(m_compared, text);
        // The usual step: text added at the end. Earlier places keep their colours.
        const bool grown = text.startsWith(m_shownText);
        QTextCursor cursor(m_text->document());
        if (!grown)
            m_text->clear();
        cursor.movePosition(QTextCursor::End);
        insertPieces(cursor, pieces, grown ? m_shownText.size() : 0);
        m_shownText = text;
        m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->maximum());
    }
    m_play->setText(m_playhead.playing() ? tr("暂停") : tr("播放"));
    const QSignalBlocker still(m_slider);
    m_slider->setValue(m_playhead.atMs() / 100);
    m_time->setText(clockText(m_playhead.atMs()) + QStringLiteral(" / ")
                    + clockText(m_playhead.endMs()));
}
