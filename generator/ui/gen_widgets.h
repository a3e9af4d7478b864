#pragma once
// Small widget helpers shared by the generator's windows.
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <functional>
#include <string>

#include "common/colours.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "common/twips.h"
#include "protocol/engine.h"

namespace t27 {

inline QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height));
}

// The background colour of a button; the value stays readable for tests in
// the "t27_colour" property.
inline void paint_button(QPushButton* b, Colour c) {
    b->setProperty("t27_colour", static_cast<uint>(c));
    b->setStyleSheet(QStringLiteral("background-color: %1;").arg(to_qcolor(c).name()));
}

inline QLabel* make_label(QWidget* parent, const char* name, const char* text, const QRect& r) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(r);
    return l;
}

// Key presses of one widget: `on_key` gets the key code and answers whether
// the key was used up; keys it leaves are typed as usual.
class KeyFilter : public QObject {
  public:
    KeyFilter(QObject* watched, std::function<bool(int)> on_key)
        : QObject(watched), on_key_(std::move(on_key)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && on_key_(static_cast<QKeyEvent*>(e)->key()))
            return true;
        return QObject::eventFilter(o, e);
    }

  private:
    std::function<bool(int)> on_key_;
};

// Runs `on_focus` whenever the widget gains the focus.
class FocusInFilter : public QObject {
  public:
    FocusInFilter(QObject* watched, std::function<void()> on_focus)
        : QObject(watched), on_focus_(std::move(on_focus)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) on_focus_();
        return QObject::eventFilter(o, e);
    }

  private:
    std::function<void()> on_focus_;
};

inline bool is_enter_key(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace t27
