#include "edid/ui/edid_pictures.h"

#include <QPixmap>

#include "edid/unit/edid_items.h"

namespace t27 {

EdidPictures::EdidPictures(const QString& program_dir) {
    icons_.resize(edid_image_count + 1);
    for (int i = 1; i <= edid_image_count; ++i) {
        const QPixmap pm(program_dir + "/bmp/" + QString::fromStdString(edid_image_file(i)));
        if (!pm.isNull()) icons_[i] = QIcon(pm);
    }
}

QIcon EdidPictures::icon(int image) const {
    return image >= 1 && image <= edid_image_count ? icons_[image] : QIcon();
}

void EdidPictures::put_on(QPushButton* b, int image) const {
    b->setIcon(icon(image));
    b->setIconSize(QSize(width, height));
    b->setProperty("t27_image", image);
}

void EdidPictures::prepare(QComboBox* combo) { combo->setIconSize(QSize(width, height)); }

}  // namespace t27
