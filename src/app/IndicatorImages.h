#pragma once
// The pictures the windows show, drawn by the application itself.

#include <QPixmap>

namespace IndicatorImages {
QPixmap notConnected();   // 50 x 44: a plug pulled from its socket
QPixmap connected();      // 50 x 44: the plug in its socket
QPixmap productPicture(); // 374 x 195: a synchronizer unit
} // namespace IndicatorImages
