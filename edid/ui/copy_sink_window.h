#pragma once
// frm_copy_sink: copy the attached sink's EDID into one of the user slots.
#include <QComboBox>
#include <QDialog>
#include <QStringList>

#include "edid/ui/edid_pictures.h"

namespace t27 {

class CopySinkWindow : public QDialog {
    Q_OBJECT
  public:
    // `names`: the texts of READ items 13-22 (c1-c10); `target`: 1-10.
    CopySinkWindow(QWidget* parent, const EdidPictures& pictures, const QStringList& names,
                   int target);
    QComboBox* combo() const { return imgcbo_copy_sink_; }
    // Slot n's item text after the copy renamed it.
    void set_name(int n, const QString& name);
    void cmd_copy_Click();

  signals:
    // COPY with target n (1-10) selected.
    void copy(int n);

  private:
    QComboBox* imgcbo_copy_sink_ = nullptr;
};

}  // namespace t27
