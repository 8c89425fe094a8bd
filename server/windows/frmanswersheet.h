// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FrmAnswerSheet: one examinee's answer sheet for the examiner. The
// published text with every position coloured as the client colours it
// (right blue, wrong red, what was typed there raised beside it and in its
// tooltip) and what was not typed greyed and underlined,
// the figures scored again beside the record's, where a slip shifted the
// typing and what aligning would score, the time, the session and
// the row's doubts; with a keystroke timeline, the speed curve and the
// replay on tabs beside the sheet. Its letters grow with the window, for a
// projector; Esc closes it.
#include "class/answersheetpage.h"

#include <QWidget>

class QLabel;
class QTextEdit;

class FrmAnswerSheet : public QWidget
{
    Q_OBJECT

public:
    explicit FrmAnswerSheet(const AnswerSheetPage &page, QWidget *parent = nullptr);

    // The letters' height in pixels for a window this wide.
    static int letterPixels(int windowWidth);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillSheet(const AnswerSheetPage &page);

    QLabel *m_figures = nullptr;
    QLabel *m_slip = nullptr;  // only when the typing slipped
    QTextEdit *m_sheet = nullptr;
};
