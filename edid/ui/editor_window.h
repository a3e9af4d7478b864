#pragma once
// frm_edid_edit: the EDID editor the WRITE side's "EDIT" opens. A tree of
// blocks and parts on the left, the selected part's form on the right, the
// resulting image as hex text with the changed bytes marked, and a check
// line that says what the WRITE side's check will say. Every edit can be
// undone; "Apply" hands the image back, "Cancel" drops it.
#include <QDialog>
#include <string>
#include <vector>

#include "edid/edit/edit_model.h"
#include "edid/ui/editor_form.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace t27 {

class HexWindow;

class EdidEditorWindow : public QDialog {
    Q_OBJECT
  public:
    EdidEditorWindow(QWidget* parent, const EdidModel& model);

    const EdidModel& model() const { return history_[static_cast<std::size_t>(at_)]; }
    // The image as it stands, checksums recomputed once anything was edited.
    std::string image() const { return model().serialize(); }
    bool changed() const { return image() != original_; }

    void cmd_edid_edit_undo_Click();
    void cmd_edid_edit_redo_Click();
    void cmd_edid_edit_apply_Click() { accept(); }
    void cmd_edid_edit_cancel_Click() { reject(); }

    void select(const EditorSelection& sel);
    // Makes an edit as a control of the form does.
    void submit(const std::string& merge, const EditorEdit& edit);

  private:
    void show_model();
    void build_tree();
    void update_hex();
    void update_check();
    QTreeWidgetItem* item_for(const EditorSelection& sel) const;

    std::vector<EdidModel> history_;
    int at_ = 0;
    std::string last_merge_;
    std::string original_;
    std::string shown_;  // the image the hex view showed last
    std::string tree_signature_;
    EditorSelection selected_;

    QTreeWidget* tree_ = nullptr;
    EditorForm* form_ = nullptr;
    HexWindow* hex_ = nullptr;
    QLabel* check_ = nullptr;
    QLabel* warn_ = nullptr;
    QWidget* warn_scroll_ = nullptr;
    QLabel* msg_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
};

}  // namespace t27
