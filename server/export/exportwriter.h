// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every results workbook goes out the same way: into the export folder
// (made when absent) under a new name, and the examiner is told where it
// is and which cells had to change.
#include "export/resultexporter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

struct WorkbookExport
{
    QString problem;  // why there is no workbook; empty when written
    QString workbook;  // the workbook's path
    QString message;  // where it is and which cells it had to change
};

class ExportWriter
{
    Q_DECLARE_TR_FUNCTIONS(ExportWriter)
public:
    // The workbook is named after the exam: the day it was held and its
    // article; its title also tells the time, the minutes and the classes.
    ExportWriter(QString folder, QDateTime heldAt, QString articleName, qint16 examMinutes = 0)
        : m_folder(std::move(folder)),
          m_heldAt(std::move(heldAt)),
          m_articleName(std::move(articleName)),
          m_examMinutes(examMinutes)
    {
    }

    // The rows as ResultExporter::write takes them, in a new workbook.
    WorkbookExport write(const QVector<ExportedRow> &rows, const GradingScale &scale,
                         const QString &titleNote = {}) const;

private:
    QString m_folder;
    QDateTime m_heldAt;
    QString m_articleName;
    qint16 m_examMinutes = 0;
};
