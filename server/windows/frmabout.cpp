// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmabout.h"

#include "windows/pictures.h"
#include "windows/twips.h"

#include "kestrixversion.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QCoreApplication>

namespace {

constexpr int kLabelHeight = 255;

QFont labelFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("宋体") });
    font.setPointSizeF(10.5);
    return font;
}

}  // namespace

QString FrmAbout::versionText()
{
    return QStringLiteral("%1.%2").arg(KESTRIX_VERSION_MAJOR).arg(KESTRIX_VERSION_MINOR);
}

FrmAbout::FrmAbout(std::function<bool(const QUrl &)> openUrl, const QString &licenceFile)
    : QWidget(nullptr,
              Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("关于Kestrix"));
    setFixedSize(twips::px(4680), twips::px(4680));

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twips::rect(360, 120, 1530, 1530));
    image->setPixmap(pictures::productPicture());

    addLabel("Label1", tr("名称：Kestrix"), 2160, 720, 2295);
    addLabel("Label2", tr("版本："), 2160, 1080, 735);
    addLabel("LblVersion", versionText(), 2760, 1080, 1815);
    addLabel("Label4", tr("作者：Kestrix开发组"), 2160, 1440, 2415);
    addLabel("Label7", tr("联系电话：请通过电子邮件联系"), 360, 1800, 4095);
    addLink("Label5", tr("电子邮件：support@kestrix.example.org"), supportMail(), 360, 2160, 4215);
    addLink("Label6", tr("网    站：https://kestrix.example.org"), website(), 360, 2520, 4215);

    const bool shipped = QFileInfo::exists(licenceFile);
    const QUrl fullText = shipped ? QUrl::fromLocalFile(licenceFile) : licenceWebPage();
    QLabel *licence = addLabel("LblLicence", QString(), 360, 2880, 4095);
    licence->setWordWrap(true);
    licence->setFixedHeight(twips::px(1680));
    licence->setTextFormat(Qt::RichText);
    // The link names the file; its whole path is in the tooltip.
    licence->setText(
            tr("许可证：GPL-3.0-or-later（GNU通用公共许可证第3版或更新版本）。"
               "本软件是自由软件，不提供任何担保。<br>全文：<a href=\"%1\">%2</a>")
                    .arg(fullText.toString().toHtmlEscaped(),
                         (shipped ? licenceFileName() : fullText.toString()).toHtmlEscaped()));
    licence->setToolTip(shipped ? QDir::toNativeSeparators(licenceFile) : fullText.toString());
    licence->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(licence, &QLabel::linkActivated, this,
            [this](const QString &link) { m_openUrl(QUrl(link)); });
}

void FrmAbout::showInFrontOf(const QWidget *window)
{
    if (!isVisible()) {
        show();
        const QRect screen = window->screen()->availableGeometry();
        move(screen.center() - rect().center());
    }
    raise();
    activateWindow();
}

QLabel *FrmAbout::addLabel(const char *name, const QString &text, int left, int top, int width)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(labelFont());
    // A fallback font may need a little more than the designed height.
    const int height = qMax(twips::px(kLabelHeight), label->fontMetrics().height() + 4);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips::px(left), twips::px(top), twips::px(width), height);
    return label;
}

QLabel *FrmAbout::addLink(const char *name, const QString &text, const QUrl &url, int left, int top,
                          int width)
{
    // The whole line is the link, as the examiner expects of a contact line.
    QLabel *label = addLabel(name, QString(), left, top, width);
    label->setTextFormat(Qt::RichText);
    label->setText(
            QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(url.toString().toHtmlEscaped(),
                         text.toHtmlEscaped().replace(QLatin1Char(' '), QLatin1String("&nbsp;"))));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setToolTip(url.toString());
    connect(label, &QLabel::linkActivated, this,
            [this](const QString &link) { m_openUrl(QUrl(link)); });
    return label;
}
