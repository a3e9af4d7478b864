#include "edid/ui/copy_sink_window.h"

#include <QPushButton>

#include "common/ui/qt_widgets.h"
#include "edid/unit/edid_items.h"

namespace t27 {

CopySinkWindow::CopySinkWindow(QWidget* parent, const EdidPictures& pictures,
                               const QStringList& names, int target)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frm_copy_sink"));
    setWindowTitle(QStringLiteral("Copy HDMI Sink EDID to..."));
    setFixedSize(twips_to_px(5100), twips_to_px(900));
    imgcbo_copy_sink_ = make_widget<QComboBox>(this, QStringLiteral("imgcbo_copy_sink"),
                                               twips_rect(150, 200, 3600, 480));
    EdidPictures::prepare(imgcbo_copy_sink_);
    for (int i = 0; i < names.size(); ++i)
        imgcbo_copy_sink_->addItem(pictures.icon(edid_copy_sink_image(i + 1)), names[i]);
    if (target >= 1 && target <= imgcbo_copy_sink_->count())
        imgcbo_copy_sink_->setCurrentIndex(target - 1);
    auto* cmd_copy = make_widget<QPushButton>(
        this, QStringLiteral("cmd_copy"), twips_rect(3870, 200, 1080, 480), QStringLiteral("COPY"));
    connect(cmd_copy, &QPushButton::clicked, this, [this] { cmd_copy_Click(); });
}

void CopySinkWindow::set_name(int n, const QString& name) {
    if (n >= 1 && n <= imgcbo_copy_sink_->count()) imgcbo_copy_sink_->setItemText(n - 1, name);
}

void CopySinkWindow::cmd_copy_Click() {
    if (imgcbo_copy_sink_->currentIndex() >= 0) emit copy(imgcbo_copy_sink_->currentIndex() + 1);
}

}  // namespace t27
