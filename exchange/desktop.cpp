#include "desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

namespace desktop {

void useChineseStandardTexts(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

void showCentred(QWidget &window)
{
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.frameGeometry().center() + window.pos());
}

}  // namespace desktop
