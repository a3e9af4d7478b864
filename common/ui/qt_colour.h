#pragma once
// The program's colours as the widgets take them.
#include <QColor>

#include "common/colours.h"

namespace t27 {

inline QColor to_qcolor(Colour c) {
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

}  // namespace t27
