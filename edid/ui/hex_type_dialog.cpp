#include "edid/ui/hex_type_dialog.h"

#include <QGroupBox>
#include <QPushButton>

#include "common/ui/qt_widgets.h"

namespace t27 {

HexTypeDialog::HexTypeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_diag"));
    setWindowTitle(QStringLiteral("EDID"));
    setFixedSize(twips_to_px(4200), twips_to_px(2100));
    auto* frame =
        make_widget<QGroupBox>(this, QStringLiteral("fra_hex_type"),
                               twips_rect(150, 120, 3900, 1200), QStringLiteral("HEX Type"));
    opt_[0] = make_widget<QRadioButton>(frame, QStringLiteral("opt_hex_type_0"),
                                        twips_rect(150, 330, 3600, 300),
                                        QStringLiteral("save simple-type HEX"));
    opt_[1] = make_widget<QRadioButton>(frame, QStringLiteral("opt_hex_type_1"),
                                        twips_rect(150, 720, 3600, 300),
                                        QStringLiteral("save C-language-type HEX"));
    auto* ok = make_widget<QPushButton>(this, QStringLiteral("cmd_ok"),
                                        twips_rect(1500, 1440, 1200, 420), QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, [this] { cmd_ok_Click(); });
}

void HexTypeDialog::cmd_ok_Click() {
    hex_type_ = opt_[0]->isChecked() ? EdidHexType::simple : EdidHexType::c_language;
    accept();
}

}  // namespace t27
