// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both programs do with the desktop when they start.
class QWidget;

namespace desktop {

// Whether GBK files can be read and written here; when not, says why in a
// message box, and the program should end rather than write empty files.
bool gbkReady();

// Shows the window in the middle of its screen.
void showCentred(QWidget &window);

}  // namespace desktop
