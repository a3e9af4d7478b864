#pragma once
// The right-hand side of the EDID editor: the selected part's fields as
// combo boxes, spin boxes, check boxes and text boxes, plus what the part
// allows beyond its fields (the VIC check list, a descriptor's kind, a timing
// from the table, adding and removing data blocks). Every change goes out as
// an edit; the window owns the model and the undo history.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"

class QFormLayout;
class QVBoxLayout;

namespace t27 {

struct EditorSelection {
    int block = -1;
    int part = -1;  // -1: the block itself
    int item = -1;  // a listed item of the part, -1: the part itself

    bool operator==(const EditorSelection& o) const {
        return block == o.block && part == o.part && item == o.item;
    }
};

using EditorEdit = std::function<EdidEdit(EdidModel&)>;

class EditorForm : public QWidget {
    Q_OBJECT
  public:
    // `merge` names the control an edit came from: consecutive edits from
    // the same control (typing a name) make one undo step.
    using Submit = std::function<void(const std::string& merge, const EditorEdit& edit)>;

    EditorForm(QWidget* parent, Submit submit);

    // Shows `sel` of `m`. Widgets are only rebuilt when the set of controls
    // changes, so the box being typed in keeps its focus.
    void show_selection(const EdidModel& m, const EditorSelection& sel);

  private:
    void rebuild(const EdidModel& m, const EditorSelection& sel);
    void refresh(const EdidModel& m);
    void add_field(const EdidField& f, PartRef at);
    void add_block_controls(const EdidModel& m, int b);
    void add_part_controls(const EdidModel& m, PartRef at);
    void add_vic_list(const EdidModel& m, PartRef at);
    void add_timing_picker(PartRef at, bool add_new);
    void add_timing_rates(PartRef at);
    std::string signature(const EdidModel& m, const EditorSelection& sel) const;

    Submit submit_;
    QVBoxLayout* layout_ = nullptr;
    QWidget* body_ = nullptr;
    QFormLayout* fields_ = nullptr;
    EditorSelection sel_;
    std::string signature_;
    // Re-reads every control from the model after an edit or an undo.
    std::vector<std::function<void(const EdidModel&)>> refreshers_;
};

}  // namespace t27
