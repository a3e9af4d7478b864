#pragma once
#include <QComboBox>
#include <functional>

namespace t27 {

// A combo box that lets its owner bring the entries up to date just before
// the list opens (the COM list: an adapter plugged in since).
class PopupCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;

    std::function<void()> before_popup;

    void showPopup() override {
        if (before_popup) before_popup();
        QComboBox::showPopup();
    }
};

}  // namespace t27
