// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A catalogue that wraps every text it is asked for in ⟦ ⟧: a window shown
// under it reveals each text that never went through the translator, as
// Chinese outside the brackets.
#include <QObject>
#include <QStringList>
#include <QTranslator>

class QWidget;

class PseudoTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};

// Installs the wrapping catalogue (an empty `file`) or the compiled
// catalogue `file` until removeCatalogue(); false when `file` does not load.
bool installCatalogue(const QString &file);
void removeCatalogue();

// Every text a person could read in the window and its children (captions,
// buttons, menus and their actions, tooltips, placeholders, choices, tabs,
// table headers and cells, text drawn in charts) that holds a Chinese
// character outside ⟦ ⟧, prefixed with the widget's objectName or class.
// What a person types (line boxes, editable text boxes) is theirs, not read.
QStringList untranslatedTexts(const QWidget *window);

// The texts among `texts` that hold Chinese outside ⟦ ⟧.
QStringList untranslatedAmong(const QStringList &texts);

// A test of windows run once under each catalogue: under the wrapping one
// every text must have gone through the translator; under the English one
// (`englishCatalogue`, empty where the build made none) it must also have
// found its translation (a text whose class changed shows Chinese again).
class CatalogueTest : public QObject
{
    Q_OBJECT
public:
    explicit CatalogueTest(QString englishCatalogue)
        : m_englishCatalogue(std::move(englishCatalogue))
    {
    }

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

private:
    QString m_englishCatalogue;
};

// Whether `left` is empty; when not, each text is printed (a test's own
// message would be cut short).
bool noneLeftUntranslated(const QStringList &left);
