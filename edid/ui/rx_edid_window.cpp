#include "edid/ui/rx_edid_window.h"

#include "common/ui/qt_widgets.h"

namespace t27 {

RxEdidWindow::RxEdidWindow(QWidget* parent, const EdidPictures& pictures, const QStringList& names,
                           int current)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frm_rx_edid"));
    setWindowTitle(QStringLiteral("Rx EDID Select from..."));
    setFixedSize(twips_to_px(3900), twips_to_px(900));
    imgcbo_rx_edid_ = make_widget<QComboBox>(this, QStringLiteral("imgcbo_rx_edid"),
                                             twips_rect(150, 200, 3600, 480));
    EdidPictures::prepare(imgcbo_rx_edid_);
    imgcbo_rx_edid_->addItem(pictures.icon(1), QStringLiteral("HDMI Sink"));
    for (int i = 0; i < names.size(); ++i) imgcbo_rx_edid_->addItem(pictures.icon(i + 2), names[i]);
    if (current >= 1 && current <= imgcbo_rx_edid_->count())
        imgcbo_rx_edid_->setCurrentIndex(current - 1);
    connect(imgcbo_rx_edid_, QOverload<int>::of(&QComboBox::activated), this,
            [this](int i) { emit chosen(i + 1); });
}

void RxEdidWindow::imgcbo_rx_edid_Click(int index) {
    if (index < 1 || index > imgcbo_rx_edid_->count()) return;
    imgcbo_rx_edid_->setCurrentIndex(index - 1);
    emit chosen(index);
}

}  // namespace t27
