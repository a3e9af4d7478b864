#include "edid/ui/editor_window.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextCursor>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/qt/qt_text.h"
#include "edid/edit/edit_check.h"
#include "edid/edit/edit_ops.h"
#include "edid/edit/edit_schema.h"
#include "edid/hex_text.h"
#include "edid/ui/hex_window.h"
#include "edid/ui/side_panel.h"
#include "edid/unit/window_text.h"

namespace t27 {

namespace {

constexpr int block_role = Qt::UserRole;
constexpr int part_role = Qt::UserRole + 1;
constexpr int item_role = Qt::UserRole + 2;

inline constexpr Colour changed_colour = colour::red;
inline constexpr Colour warning_colour = 0x0060C0;  // dark orange

QTreeWidgetItem* node(QTreeWidgetItem* parent, const std::string& label, int b, int p, int i) {
    auto* n = new QTreeWidgetItem(parent, QStringList{to_qt(label)});
    n->setData(0, block_role, b);
    n->setData(0, part_role, p);
    n->setData(0, item_role, i);
    return n;
}

}  // namespace

EdidEditorWindow::EdidEditorWindow(QWidget* parent, const EdidModel& model)
    : QDialog(parent), history_{model}, original_(model.serialize()) {
    setObjectName(QStringLiteral("frm_edid_edit"));
    setWindowTitle(QStringLiteral("EDID Editor"));
    resize(1060, 760);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tree_edid_edit"));
    tree_->setHeaderHidden(true);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!item) return;
        select({item->data(0, block_role).toInt(), item->data(0, part_role).toInt(),
                item->data(0, item_role).toInt()});
    });

    form_ = new EditorForm(
        this, [this](const std::string& merge, const EditorEdit& e) { submit(merge, e); });
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(form_);
    hex_ = new HexWindow(this);
    hex_->setObjectName(QStringLiteral("rtxt_edid_edit_hex"));
    hex_->setReadOnly(true);

    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(scroll);
    right->addWidget(hex_);
    right->setSizes({430, 250});
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(tree_);
    split->addWidget(right);
    split->setSizes({330, 730});

    check_ = new QLabel(this);
    check_->setObjectName(QStringLiteral("lab_edid_edit_check"));
    warn_ = new QLabel(this);
    warn_->setObjectName(QStringLiteral("lab_edid_edit_warn"));
    warn_->setWordWrap(true);
    msg_ = new QLabel(this);
    msg_->setObjectName(QStringLiteral("lab_edid_edit_msg"));
    msg_->setWordWrap(true);
    set_label_colour(msg_, edid_error_colour);
    set_label_colour(warn_, warning_colour);

    undo_ = new QPushButton(QStringLiteral("Undo"), this);
    undo_->setObjectName(QStringLiteral("cmd_edid_edit_undo"));
    redo_ = new QPushButton(QStringLiteral("Redo"), this);
    redo_->setObjectName(QStringLiteral("cmd_edid_edit_redo"));
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(QStringLiteral("cmd_edid_edit_apply"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmd_edid_edit_cancel"));
    connect(undo_, &QPushButton::clicked, this, [this] { cmd_edid_edit_undo_Click(); });
    connect(redo_, &QPushButton::clicked, this, [this] { cmd_edid_edit_redo_Click(); });
    connect(apply, &QPushButton::clicked, this, [this] { cmd_edid_edit_apply_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmd_edid_edit_cancel_Click(); });
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { cmd_edid_edit_undo_Click(); });
    connect(new QShortcut(QKeySequence::Redo, this), &QShortcut::activated, this,
            [this] { cmd_edid_edit_redo_Click(); });

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(undo_);
    buttons->addWidget(redo_);
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    auto* v = new QVBoxLayout(this);
    v->addWidget(split, 1);
    v->addWidget(check_);
    // However many warnings an edit brings, the tree, form and hex keep their room.
    auto* warn_scroll = new QScrollArea(this);
    warn_scroll->setObjectName(QStringLiteral("scr_edid_edit_warn"));
    warn_scroll->setWidgetResizable(true);
    warn_scroll->setFrameShape(QFrame::NoFrame);
    warn_scroll->setMaximumHeight(4 * fontMetrics().lineSpacing() + 6);
    warn_scroll->setWidget(warn_);
    warn_scroll_ = warn_scroll;
    v->addWidget(warn_scroll);
    v->addWidget(msg_);
    v->addLayout(buttons);

    selected_ = {0, -1, -1};
    show_model();
}

void EdidEditorWindow::submit(const std::string& merge, const EditorEdit& edit) {
    EdidModel next = model();
    const EdidEdit r = edit(next);
    if (!r.ok()) {
        msg_->setText(to_qt(r.why));
        show_model();  // the control goes back to what the image holds
        return;
    }
    msg_->clear();
    history_.resize(static_cast<std::size_t>(at_) + 1);
    // Typing into one box is one step, not one per key.
    if (!merge.empty() && merge == last_merge_ && at_ > 0) {
        history_.back() = std::move(next);
    } else {
        history_.push_back(std::move(next));
        ++at_;
    }
    last_merge_ = merge;
    show_model();
}

void EdidEditorWindow::cmd_edid_edit_undo_Click() {
    if (at_ == 0) return;
    --at_;
    last_merge_.clear();
    msg_->clear();
    show_model();
}

void EdidEditorWindow::cmd_edid_edit_redo_Click() {
    if (at_ + 1 >= static_cast<int>(history_.size())) return;
    ++at_;
    last_merge_.clear();
    msg_->clear();
    show_model();
}

void EdidEditorWindow::select(const EditorSelection& sel) {
    // The hex view goes to the block chosen.
    if (sel.block >= 0 && sel.block != selected_.block && sel.block < model().block_count()) {
        QTextCursor c(hex_->document());
        c.setPosition(
            static_cast<int>(edid_box_position(hex_->text(), edid_text_offset(128 * sel.block))));
        hex_->setTextCursor(c);
        QScrollBar* bar = hex_->verticalScrollBar();
        bar->setValue(bar->value() + hex_->cursorRect(c).top());
    }
    selected_ = sel;
    last_merge_.clear();
    if (QTreeWidgetItem* item = item_for(sel); item && tree_->currentItem() != item) {
        const QSignalBlocker b(tree_);
        tree_->setCurrentItem(item);
    }
    form_->show_selection(model(), selected_);
}

void EdidEditorWindow::show_model() {
    const EdidModel& m = model();
    // A selection the edit removed falls back to its block.
    if (selected_.block >= m.block_count()) selected_ = {0, -1, -1};
    if (selected_.part >= static_cast<int>(m.block(selected_.block).parts.size()))
        selected_ = {selected_.block, -1, -1};
    build_tree();
    form_->show_selection(m, selected_);
    update_hex();
    update_check();
    undo_->setEnabled(at_ > 0);
    redo_->setEnabled(at_ + 1 < static_cast<int>(history_.size()));
}

void EdidEditorWindow::build_tree() {
    const EdidModel& m = model();
    std::string sig;
    for (int b = 0; b < m.block_count(); ++b) {
        sig += block_label(m, b) + "\n";
        for (int p = 0; p < static_cast<int>(m.block(b).parts.size()); ++p) {
            sig += " " + part_label(m, b, p) + "\n";
            for (const EdidListItem& i : part_list_items(m.part(b, p)))
                sig += "  " + i.label + "\n";
        }
    }
    if (sig != tree_signature_) {
        tree_signature_ = sig;
        const QSignalBlocker blocker(tree_);
        tree_->clear();
        for (int b = 0; b < m.block_count(); ++b) {
            auto* block = new QTreeWidgetItem(tree_, QStringList{to_qt(block_label(m, b))});
            block->setData(0, block_role, b);
            block->setData(0, part_role, -1);
            block->setData(0, item_role, -1);
            for (int p = 0; p < static_cast<int>(m.block(b).parts.size()); ++p) {
                QTreeWidgetItem* part = node(block, part_label(m, b, p), b, p, -1);
                const auto items = part_list_items(m.part(b, p));
                for (int i = 0; i < static_cast<int>(items.size()); ++i)
                    node(part, items[static_cast<std::size_t>(i)].label, b, p, i);
            }
            block->setExpanded(true);
        }
    }
    if (QTreeWidgetItem* item = item_for(selected_)) {
        const QSignalBlocker blocker(tree_);
        tree_->setCurrentItem(item);
    }
}

QTreeWidgetItem* EdidEditorWindow::item_for(const EditorSelection& sel) const {
    if (sel.block < 0 || sel.block >= tree_->topLevelItemCount()) return nullptr;
    QTreeWidgetItem* item = tree_->topLevelItem(sel.block);
    if (sel.part >= 0 && sel.part < item->childCount()) {
        item = item->child(sel.part);
        if (sel.item >= 0 && sel.item < item->childCount()) item = item->child(sel.item);
    }
    return item;
}

void EdidEditorWindow::update_hex() {
    const std::string now = image();
    const int scroll = hex_->verticalScrollBar()->value();
    hex_->set_text(edid_text_format(now, 0, EdidSeparatorRule::after_every_block));
    for (std::size_t p = 0; p < now.size(); ++p)
        if (p >= original_.size() || now[p] != original_[p])
            hex_->colour_range(edid_text_offset(static_cast<int>(p)), 2, changed_colour);
    hex_->verticalScrollBar()->setValue(scroll);
    // Bring what this step changed into view; a checksum alone does not count.
    std::size_t first = 0;
    while (first < now.size() && first < shown_.size() &&
           (now[first] == shown_[first] || first % 128 == 127))
        ++first;
    if (!shown_.empty() && first < now.size()) {
        QTextCursor c(hex_->document());
        c.setPosition(static_cast<int>(
            edid_box_position(hex_->text(), edid_text_offset(static_cast<int>(first)))));
        hex_->setTextCursor(c);
        hex_->ensureCursorVisible();
    }
    shown_ = now;
}

void EdidEditorWindow::update_check() {
    check_->setText(to_qt("Check: " + edid_check_line(image())));
    std::string lines;
    for (const std::string& w : edid_model_warnings(model()))
        lines += (lines.empty() ? "" : "\n") + w;
    for (const std::string& w : model().warnings()) lines += (lines.empty() ? "" : "\n") + w;
    for (const std::string& n : model().notes())
        lines += (lines.empty() ? "" : "\n") + std::string("also: ") + n;
    warn_->setText(to_qt(lines));
    warn_->setVisible(!lines.empty());
    warn_scroll_->setVisible(!lines.empty());
}

}  // namespace t27
