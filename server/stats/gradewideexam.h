// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A grade-wide exam as one exam: the kept exams of its labs merged, its
// figures for the whole grade, per class (部门) and per lab, and its ranking
// across the grade. The 年级汇总 window and the grade's PDF report read
// every figure from here.
#include "stats/examstatistics.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

// A row of the grade's ranking: the result, the lab that kept it and its
// place across the grade.
struct GradeRankedRow
{
    ArchivedRow row;
    QString lab;
    std::optional<int> place;
};

class GradeWideExam
{
    Q_DECLARE_TR_FUNCTIONS(GradeWideExam)
public:
    // The kept exams of one grade-wide exam (ExamArchive::gradeExamOf), by
    // lab. One exam is graded by one scale: that of the exam held first.
    explicit GradeWideExam(QVector<ArchivedExam> exams);

    // Sat in more than one kept exam: a grade-wide exam and not a class's own.
    bool isGradeWide() const { return m_exams.size() > 1; }
    const QVector<ArchivedExam> &exams() const { return m_exams; }
    // The sitting held first: its article, minutes and scale stand for the grade's.
    const ExamSitting &sitting() const { return m_asOneExam.sitting; }
    const GradingScale &scale() const { return m_asOneExam.sitting.scale; }

    const ExamStatistics &whole() const { return m_whole; }
    // By class and by lab, in name order (高一(2)班 before 高一(10)班).
    const QVector<NamedStatistics> &classes() const { return m_classes; }
    const QVector<NamedStatistics> &labs() const { return m_labs; }
    // Every row of every lab: those handed in by speed with their places
    // (the one rule of placesOf), the others after them, absentees last.
    const QVector<GradeRankedRow> &ranking() const { return m_ranking; }
    // The grade's rows in ranking order, as one exam with the grade's
    // scale, so the ranking's cells read as every exam's do (RankingModel).
    const ArchivedExam &asOneExam() const { return m_asOneExam; }

    // "文章《春晓》　2026-03-02 上午　考试时间 10分钟　4个机房　6个班　应考 …"
    QString titleLine() const;

private:
    QVector<ArchivedExam> m_exams;
    ExamStatistics m_whole;
    QVector<NamedStatistics> m_classes;
    QVector<NamedStatistics> m_labs;
    QVector<GradeRankedRow> m_ranking;
    ArchivedExam m_asOneExam;
};
