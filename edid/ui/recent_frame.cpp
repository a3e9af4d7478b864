#include "edid/ui/recent_frame.h"

#include <QEvent>

#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "common/ui/qt_widgets.h"

namespace t27 {

RecentFrame::RecentFrame(QWidget* parent) : QGroupBox(QStringLiteral("Previuos Files"), parent) {
    setObjectName(QStringLiteral("fra_pre_f"));
    setAutoFillBackground(true);
    for (int i = 0; i < edid_recent_file_count; ++i) {
        auto* l = make_widget<ClickLabel>(this, QStringLiteral("lab_pre_f_%1").arg(i),
                                          twips_rect(120, 300 + 300 * i, 5160, 285));
        l->setAutoFillBackground(true);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        connect(l, &ClickLabel::clicked, this, [this, i] { emit entry_clicked(i); });
        labels_[static_cast<std::size_t>(i)] = l;
    }
    lab_pre_f_MouseMove(-1);
}

void RecentFrame::set_entries(const RecentList& list) {
    for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setText(to_qt(list[i]));
}

void RecentFrame::lab_pre_f_MouseMove(int hovered) {
    const QColor frame_back = palette().color(QPalette::Window);
    for (int i = 0; i < edid_recent_file_count; ++i) {
        ClickLabel* l = labels_[static_cast<std::size_t>(i)];
        const bool on = i == hovered;
        QPalette p = l->palette();
        p.setColor(QPalette::Window, on ? to_qcolor(recent_hover_back) : frame_back);
        p.setColor(QPalette::WindowText, to_qcolor(on ? recent_hover_text : 0));
        l->setPalette(p);
        l->setProperty("t27_hover", on);
    }
}

bool RecentFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        for (int i = 0; i < edid_recent_file_count; ++i)
            if (watched == labels_[static_cast<std::size_t>(i)]) lab_pre_f_MouseMove(i);
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace t27
