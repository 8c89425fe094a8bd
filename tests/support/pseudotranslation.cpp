// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudotranslation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>

namespace {

const QChar kOpen = QChar(0x27E6);
const QChar kClose = QChar(0x27E7);

bool isChinese(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

// Chinese outside every (possibly nested) ⟦ ⟧.
bool hasUnwrappedChinese(const QString &text)
{
    int depth = 0;
    for (const QChar c : text) {
        if (c == kOpen)
            ++depth;
        else if (c == kClose && depth > 0)
            --depth;
        else if (depth == 0 && isChinese(c))
            return true;
    }
    return false;
}

QString nameOf(const QObject *object)
{
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                          : object->objectName();
}

void addModelTexts(const QAbstractItemModel *model, QStringList &texts)
{
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString()
              << model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
    // The first rows are enough to meet every kind of cell a view shows.
    for (int row = 0; row < qMin(model->rowCount(), 50); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            texts << model->data(index).toString()
                  << model->data(index, Qt::ToolTipRole).toString();
        }
}

QStringList textsOf(const QWidget *widget)
{
    QStringList texts { widget->windowTitle(), widget->toolTip(), widget->statusTip(),
                        widget->whatsThis() };
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        texts << label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        texts << button->text();
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        texts << group->title();
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        texts << line->placeholderText();
    // A read-only box shows what the program wrote: a report, a note.
    if (const auto *edit = qobject_cast<const QTextEdit *>(widget))
        texts << edit->placeholderText() << (edit->isReadOnly() ? edit->toPlainText() : QString());
    if (const auto *edit = qobject_cast<const QPlainTextEdit *>(widget))
        texts << edit->placeholderText() << (edit->isReadOnly() ? edit->toPlainText() : QString());
    if (const auto *menu = qobject_cast<const QMenu *>(widget))
        texts << menu->title();
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    if (const auto *tabs = qobject_cast<const QTabBar *>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (const auto *view = qobject_cast<const QAbstractItemView *>(widget); view && view->model())
        addModelTexts(view->model(), texts);
    if (const auto *graphics = qobject_cast<const QGraphicsView *>(widget);
        graphics && graphics->scene())
        for (const QGraphicsItem *item : graphics->scene()->items()) {
            if (const auto *text = qgraphicsitem_cast<const QGraphicsTextItem *>(item))
                texts << text->toPlainText();
            if (const auto *simple = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(item))
                texts << simple->text();
        }
    for (const QAction *action : widget->actions())
        texts << action->text() << action->toolTip();
    return texts;
}

}  // namespace

QString PseudoTranslator::translate(const char *, const char *sourceText, const char *, int) const
{
    if (!sourceText || !*sourceText)
        return {};
    return kOpen + QString::fromUtf8(sourceText) + kClose;
}

namespace {

PseudoTranslator &wrapping()
{
    static PseudoTranslator translator;
    return translator;
}

QTranslator &compiled()
{
    static QTranslator translator;
    return translator;
}

}  // namespace

bool installCatalogue(const QString &file)
{
    if (file.isEmpty())
        return QCoreApplication::installTranslator(&wrapping());
    return compiled().load(file) && QCoreApplication::installTranslator(&compiled());
}

void removeCatalogue()
{
    QCoreApplication::removeTranslator(&wrapping());
    QCoreApplication::removeTranslator(&compiled());
}

QStringList untranslatedAmong(const QStringList &texts)
{
    // A language offered by its own name is named so in every language, and
    // the export folder's name on disk is the same in every language.
    const QString ownName = QStringLiteral("中文");
    const QString exportFolder = QStringLiteral("成绩导出");
    QStringList left;
    for (const QString &text : texts)
        if (text != ownName && hasUnwrappedChinese(QString(text).remove(exportFolder)))
            left << text;
    return left;
}

QStringList untranslatedTexts(const QWidget *window)
{
    QList<const QWidget *> widgets { window };
    for (const QWidget *child : window->findChildren<QWidget *>())
        widgets << child;
    QStringList left;
    for (const QWidget *widget : widgets)
        for (const QString &text : untranslatedAmong(textsOf(widget)))
            left << nameOf(widget) + QStringLiteral(": ") + text;
    left.removeDuplicates();
    return left;
}

bool noneLeftUntranslated(const QStringList &left)
{
    for (const QString &text : left)
        qWarning().noquote() << "untranslated:" << text;
    return left.isEmpty();
}

void CatalogueTest::initTestCase_data()
{
    QTest::addColumn<QString>("catalogue");  // empty: the wrapping one
    QTest::newRow("wrapped") << QString();
    if (!m_englishCatalogue.isEmpty())
        QTest::newRow("English") << m_englishCatalogue;
}

void CatalogueTest::init()
{
    QFETCH_GLOBAL(QString, catalogue);
    QVERIFY(installCatalogue(catalogue));
}

void CatalogueTest::cleanup()
{
    removeCatalogue();
}
