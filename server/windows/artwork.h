#pragma once
// The console's pictures, drawn in code: the toolbar images (keys help,
// set, clearlast, begin, fresh, stop, roster) and the product picture of the About box.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace artwork {

// A 32 x 32 toolbar image; a null icon for an unknown key.
QIcon toolbarImage(const QString &imageKey);
QPixmap productPicture(int side);

}  // namespace artwork
