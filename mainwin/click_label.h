#pragma once
#include <QLabel>
#include <QMouseEvent>

namespace t27 {

// A label that acts on a click, as the link label and the pictures do.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && isEnabled() && rect().contains(e->position().toPoint()))
            emit clicked();
        QLabel::mouseReleaseEvent(e);
    }
};

}  // namespace t27
