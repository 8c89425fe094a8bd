// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 年级汇总: a grade-wide exam as one exam. Its figures for the whole grade,
// each class and each lab, and its ranking across the grade, from the one
// model the grade's PDF report also reads; the report written from here.
#include "stats/gradewideexam.h"
#include "windows/consolehooks.h"

#include <QCoreApplication>
#include <QDialog>

class QTableView;
class QTextBrowser;
class GradeRankingModel;
class Messages;

class FrmGradeExam : public QDialog
{
    Q_DECLARE_TR_FUNCTIONS(FrmGradeExam)
public:
    FrmGradeExam(GradeWideExam exam, const ConsoleHooks &hooks, Messages *messages,
                 QWidget *parent);

protected:
    QTextBrowser *statistics() const { return m_statistics; }
    QTableView *ranking() const { return m_ranking; }
    void writePdfReport();

private:
    void tell(const QString &text);

    GradeWideExam m_exam;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    QTextBrowser *m_statistics = nullptr;
    GradeRankingModel *m_rankingRows = nullptr;
    QTableView *m_ranking = nullptr;
};
