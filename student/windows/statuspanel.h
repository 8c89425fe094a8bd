// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One panel of the status bar: a text with a key, reporting clicks.
#include <QDateTime>
#include <QLabel>
#include <QLocale>

class StatusPanel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString key READ key)
public:
    StatusPanel(const QString &key, const QString &text, QWidget *parent = nullptr);

    QString key() const { return m_key; }

signals:
    void clicked(const QString &key);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_key;
};

// The date and time as the locale writes them by default, with seconds
// always shown: the panel changes every second, so it must not look frozen.
QString statusDateTimeText(const QDateTime &when, const QLocale &locale);
