#pragma once
// frm_rx_edid: which EDID the unit's HDMI input offers.
#include <QComboBox>
#include <QDialog>
#include <QStringList>

#include "edid/ui/edid_pictures.h"

namespace t27 {

class RxEdidWindow : public QDialog {
    Q_OBJECT
  public:
    // `names`: the texts of READ items 3-22 (d1-d10, c1-c10); `current`: the
    // Rx source index 1-21.
    RxEdidWindow(QWidget* parent, const EdidPictures& pictures, const QStringList& names,
                 int current);
    QComboBox* combo() const { return imgcbo_rx_edid_; }
    // The user chose item `index` (1-21).
    void imgcbo_rx_edid_Click(int index);

  signals:
    void chosen(int index);

  private:
    QComboBox* imgcbo_rx_edid_ = nullptr;
};

}  // namespace t27
