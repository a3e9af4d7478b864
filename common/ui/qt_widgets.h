#pragma once
// Creating a named, placed widget in one line: every control carries its
// design name as objectName, and positions come in twips.
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

#include "common/twips.h"

namespace t27 {

inline QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height));
}

// new W(args..., parent), named and placed.
template <typename W, typename... Args>
W* make_widget(QWidget* parent, const QString& name, const QRect& geometry, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

}  // namespace t27
