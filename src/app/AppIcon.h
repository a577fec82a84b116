#pragma once
// The application's icon, the same drawing as the menu entry's, for every window.

#include <QIcon>

// The icon at 48, 128 and 256 pixels; Qt scales the nearest for other sizes.
QIcon applicationIcon();
