#pragma once
// The picture of the endless test's moving arrow.
#include <QPixmap>
#include <QSize>

namespace t27 {

// A right-pointing arrow filling `size`, on a transparent ground.
QPixmap cable_arrow_pixmap(QSize size);

}  // namespace t27
