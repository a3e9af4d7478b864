#pragma once
// frm_diag: which kind of .hex file to save.
#include <QDialog>
#include <QRadioButton>

#include "edid/edid_writers.h"

namespace t27 {

class HexTypeDialog : public QDialog {
    Q_OBJECT
  public:
    explicit HexTypeDialog(QWidget* parent = nullptr);
    // What OK recorded; C-language unless simple was chosen.
    EdidHexType hex_type() const { return hex_type_; }
    void cmd_ok_Click();

  private:
    QRadioButton* opt_[2] = {};
    EdidHexType hex_type_ = EdidHexType::c_language;
};

}  // namespace t27
