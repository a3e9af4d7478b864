#include "edid/ui/edid_tab.h"

#include <QFileInfo>
#include <QPointer>
#include <type_traits>

#include "common/file_names.h"
#include "common/path_part.h"
#include "common/qt/qt_text.h"
#include "common/ui/qt_widgets.h"
#include "edid/check_labels.h"
#include "edid/checksum_repair.h"
#include "edid/ui/copy_sink_window.h"
#include "edid/edid_check.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/unit/edid_items.h"
#include "edid/edid_writers.h"
#include "edid/ui/editor_window.h"
#include "edid/hex_text.h"
#include "edid/ui/hex_type_dialog.h"
#include "edid/ui/rx_edid_window.h"
#include "edid/unit/slot_exchange.h"
#include "edid/unit/unit_exchange.h"
#include "edid/unit/window_text.h"

namespace t27 {

static_assert(std::is_same_v<RecentList, decltype(MainState::recent_files)>,
              "the settings file and the EDID tab keep the same recent-files list");

namespace {

// Layout in twips inside the tab's frame.
constexpr int read_left = 120, write_left = 5790;
constexpr int row1 = 6150, row_step = 450;
constexpr int button_w = 1290, button_h = 390, button_step = 1350;

QString qs(const char* s) { return QString::fromLatin1(s); }

int item_of(const QComboBox* c) { return c->currentIndex() + 1; }

void set_item_text(QComboBox* c, int item, const std::string& text) {
    if (item >= 1 && item <= c->count()) c->setItemText(item - 1, to_qt(text));
}

}  // namespace

class EdidTab::RequestGuard {
  public:
    explicit RequestGuard(EdidTab& tab) : tab_(tab) {
        tab_.requesting_ = true;
        for (QWidget* w : std::initializer_list<QWidget*>{tab_.cmd_read_[0], tab_.cmd_read_[3],
                                                          tab_.cmd_write_[4], tab_.cmd_write_[6],
                                                          tab_.cmd_write_rename_}) {
            saved_.push_back({w, w->isEnabled()});
            w->setEnabled(false);
        }
    }
    ~RequestGuard() {
        for (auto& [w, on] : saved_)
            if (w) w->setEnabled(on);
        tab_.requesting_ = false;
    }

  private:
    EdidTab& tab_;
    std::vector<std::pair<QPointer<QWidget>, bool>> saved_;
};

EdidTab::EdidTab(MainWindow& window)
    : QWidget(window.tab_frame(tab_edid)),
      window_(window),
      pictures_(window.shipped_dir()),
      read_panel_(this, "read", read_left),
      write_panel_(this, "write", write_left) {
    setObjectName(qs("edid_tab"));
    setGeometry(window.tab_frame(tab_edid)->rect());
    run_modal = [](QDialog& d) { d.exec(); };
    build();
    show();  // also when the page joins a window that is already shown
    window_.set_page(tab_edid, this);
    window_.set_pending_handler(pending_slot_rename, [this] { cmd_write_rename_Click(); });
    window_.on_edid_second_entry = [this](const std::string& text) { set_second_entry(text); };
    // Built after a link (the tab is opened late): show what that link chose.
    if (!window_.edid_second_entry().empty()) set_second_entry(window_.edid_second_entry());
    // The window's members go before its children do, the poll timer among
    // them: after that, this page must not reach into the window.
    connect(&window_.tim_monitor(), &QObject::destroyed, this, [this] { window_gone_ = true; });
}

EdidTab::~EdidTab() {
    if (window_gone_) return;
    window_.set_page(tab_edid, nullptr);
    window_.set_pending_handler(pending_slot_rename, nullptr);
    window_.on_edid_second_entry = nullptr;
}

QPushButton* EdidTab::button(QPushButton*& slot, const QString& name, int left, int top, int width,
                             const QString& caption) {
    slot = make_widget<QPushButton>(this, name, twips_rect(left, top, width, button_h), caption);
    return slot;
}

void EdidTab::build() {
    imgcbo_read_ =
        make_widget<QComboBox>(this, qs("imgcbo_read"), twips_rect(read_left, 120, 3750, 390));
    imgcbo_write_ =
        make_widget<QComboBox>(this, qs("imgcbo_write"), twips_rect(write_left, 120, 3750, 390));
    EdidPictures::prepare(imgcbo_read_);
    EdidPictures::prepare(imgcbo_write_);
    for (int i = 1; i <= edid_read_item_count; ++i) {
        const EdidItem& it = edid_read_item(i);
        imgcbo_read_->addItem(pictures_.icon(it.image), qs(it.text));
    }
    for (int i = 1; i <= edid_write_item_count; ++i) {
        const EdidItem& it = edid_write_item(i);
        imgcbo_write_->addItem(pictures_.icon(it.image), qs(it.text));
    }

    for (const ButtonPlace& p : read_buttons()) {
        QPushButton* b = place_button(cmd_read_[static_cast<std::size_t>(p.index)],
                                      QStringLiteral("cmd_read_%1").arg(p.index), read_left, p);
        connect(b, &QPushButton::clicked, this, [this, i = p.index] { cmd_read_Click(i); });
    }
    pictures_.put_on(cmd_read_[3], edid_copy_sink_image(copy_target_));
    for (const ButtonPlace& p : write_buttons()) {
        QPushButton* b = place_button(cmd_write_[static_cast<std::size_t>(p.index)],
                                      QStringLiteral("cmd_write_%1").arg(p.index), write_left, p);
        connect(b, &QPushButton::clicked, this, [this, i = p.index] { cmd_write_Click(i); });
    }
    // The write button is a picture beside the target it writes to.
    cmd_write_[4]->setGeometry(twips_rect(write_left + 3870, 120, 1560, button_h));
    cmd_write_[4]->setIcon(QIcon(window_.shipped_dir() + "/bmp/edid_write.bmp"));
    cmd_write_[4]->setIconSize(QSize(EdidPictures::width * 2, EdidPictures::height));
    cmd_write_[4]->setToolTip(qs("Write blocks 0 and 1 to the chosen target"));
    pictures_.put_on(cmd_write_[6], rx_index_);
    set_write_enabled(false);

    txt_edid_rename_ = make_widget<QLineEdit>(
        this, qs("txt_edid_rename"),
        twips_rect(write_left, row1 + 3 * row_step, button_step + button_w, button_h));
    button(cmd_write_rename_, qs("cmd_write_rename"), write_left + 2 * button_step,
           row1 + 3 * row_step, button_w, qs("Rename"));
    connect(cmd_write_rename_, &QPushButton::clicked, this, [this] { cmd_write_rename_Click(); });
    button(cmd_edid_edit_, qs("cmd_edid_edit"), write_left + 3 * button_step, row1 + 2 * row_step,
           button_w, qs("EDIT"));
    connect(cmd_edid_edit_, &QPushButton::clicked, this, [this] { cmd_edid_edit_Click(); });

    for (int side : {edid_read_side, edid_write_side}) {
        SidePanel& p = panel(side);
        for (int b = 0; b < edid_max_blocks; ++b) {
            connect(p.recover[static_cast<std::size_t>(b)], &QPushButton::clicked, this,
                    [this, side, b] { edid_checksum_repair(side, b); });
        }
    }

    for (int side : {edid_read_side, edid_write_side})
        connect(panel(side).text, &HexWindow::typed, this, [this, side] { side_typed(side); });

    recent_ = new RecentFrame(this);
    recent_->setGeometry(twips_rect(write_left, 600, 5430, 3450));
    recent_->hide();
    connect(recent_, &RecentFrame::entry_clicked, this, [this](int i) { lab_pre_f_Click(i); });

    analysis_ = new AnalysisFrame(this, window_, working_);
    analysis_->setGeometry(twips_rect(60, 540, 11220, 5520));
    analysis_->hide();
}

// ---- buttons -------------------------------------------------------------------------------

const std::vector<EdidTab::ButtonPlace>& EdidTab::read_buttons() {
    // index, column, row, width in buttons, caption, action (none for REPORT)
    static const std::vector<ButtonPlace> places = {
        {0, 0, 0, 1, "READ", &EdidTab::edid_read},
        {1, 1, 0, 1, "COMPARE", &EdidTab::edid_compare},
        {2, 2, 0, 1, "<= COPY", &EdidTab::edid_copy_read_to_write},
        {3, 0, 2, 2, "Copy Sink", &EdidTab::open_copy_sink},
        {4, 0, 1, 1, "ANALYZE", &EdidTab::analyse_read},
        {5, 1, 1, 1, "REPORT", nullptr},
        {6, 2, 1, 1, "SAVE", &EdidTab::save_read},
        {7, 3, 0, 1, "CLEAR", &EdidTab::read_clear},
    };
    return places;
}

const std::vector<EdidTab::ButtonPlace>& EdidTab::write_buttons() {
    // WRITE, VERIFY, ERASE and REPORT have no action of their own; the write
    // button (4) is placed beside the target selector.
    static const std::vector<ButtonPlace> places = {
        {0, 0, 0, 1, "Pre-F", &EdidTab::toggle_recent},
        {1, 1, 0, 1, "OPEN", &EdidTab::edid_file_open},
        {2, 2, 0, 1, "WRITE", nullptr},
        {3, 3, 0, 1, "VERIFY", nullptr},
        {4, 0, 0, 1, "", &EdidTab::edid_write},
        {5, 0, 1, 1, "ERASE", nullptr},
        {6, 1, 2, 2, "Rx EDID", &EdidTab::open_rx_edid},
        {7, 1, 1, 1, "ANALYZE", &EdidTab::analyse_write},
        {8, 2, 1, 1, "REPORT", nullptr},
        {9, 3, 1, 1, "SAVE", &EdidTab::save_write},
        {10, 0, 2, 1, "CLEAR", &EdidTab::write_clear},
    };
    return places;
}

QPushButton* EdidTab::place_button(QPushButton*& slot, const QString& name, int side_left,
                                   const ButtonPlace& p) {
    const int width = p.width * button_w + (p.width - 1) * (button_step - button_w);
    return button(slot, name, side_left + p.col * button_step, row1 + p.row * row_step, width,
                  qs(p.caption));
}

void EdidTab::cmd_read_Click(int index) {
    for (const ButtonPlace& p : read_buttons())
        if (p.index == index && p.action) (this->*p.action)();
}

void EdidTab::cmd_write_Click(int index) {
    for (const ButtonPlace& p : write_buttons())
        if (p.index == index && p.action) (this->*p.action)();
}

void EdidTab::toggle_recent() {
    if (recent_->isVisible()) {
        recent_->hide();
    } else {
        show_recent();
    }
}

void EdidTab::set_write_enabled(bool on, bool analyse) {
    for (int i : {2, 3, 4}) cmd_write_[static_cast<std::size_t>(i)]->setEnabled(on);
    cmd_write_[7]->setEnabled(analyse);
}

void EdidTab::set_title(const std::string& title) { window_.setWindowTitle(to_qt(title)); }

bool EdidTab::request_allowed() const {
    return !requesting_ && !window_.link().cmdtx_busy && !window_.state().poll_busy;
}

std::string EdidTab::side_empty_text(int side) const {
    return side == edid_read_side ? "READ window is empty" : "WRITE window is empty";
}

void EdidTab::read_clear() {
    read_panel_.clear();
    set_side_unreadable(edid_read_side, false);
}

void EdidTab::write_clear() {
    write_panel_.clear();
    set_side_unreadable(edid_write_side, false);
    set_write_enabled(false);
    current_file_.clear();
    set_title(edid_window_title);
}

// ---- reading and writing on the unit ------------------------------------------------------

void EdidTab::edid_read() {
    const int item = item_of(imgcbo_read_);
    if (!edid_item_usable(item, window_.unit().model_family) || !request_allowed()) return;
    RequestGuard guard(*this);
    read_clear();
    const EdidReadResult r =
        edid_read_unit(window_.engine(), edid_read_item(item).slot,
                       [this](const std::string& text) { read_panel_.text->set_text(text); });
    read_ = r.buffer;
    if (r.end != EdidReadEnd::complete) return;
    read_side_check();
}

void EdidTab::read_side_check() {
    read_panel_.msg1->setText(qs(edid_wrong_caption));
    edid_check(read_, working_);
    read_panel_.show_checksums(read_);
    if (read_.type_code != edid_type_invalid) {
        read_panel_.show_type(type_labels_show(read_));
        cmd_read_[4]->setEnabled(true);
    } else {
        read_panel_.show_messages(check_message_labels(read_));
        cmd_read_[4]->setEnabled(false);
    }
}

void EdidTab::edid_write() {
    const int item = item_of(imgcbo_write_);
    if (!edid_item_usable(item, window_.unit().model_family) || !request_allowed()) return;
    if (write_panel_.text->empty()) {
        window_.dialogs().message(side_empty_text(edid_write_side), MessageIcon::Error);
        return;
    }
    if (!side_ready(edid_write_side)) return;
    RequestGuard guard(*this);
    if (!edid_write_unit(window_.engine(), edid_write_item(item).slot, write_)) return;
    const int n = edid_write_item_user_slot(item);
    if (n == 0) return;
    set_user_slot_name(n, edid_written_slot_name(from_qt(write_panel_.manuf->text()),
                                                 from_qt(write_panel_.model1->text()),
                                                 from_qt(write_panel_.model2->text())));
}

void EdidTab::write_side_check() {
    write_panel_.msg1->hide();
    write_panel_.msg2->hide();
    edid_write_side_size_fix(write_);
    edid_check(write_, working_);
    write_panel_.show_checksums(write_);
    if (write_.type_code == edid_type_invalid)
        write_panel_.show_messages(check_message_labels(write_));
    write_panel_.show_type(type_labels_show(write_));
}

void EdidTab::side_typed(int side) {
    SidePanel& p = panel(side);
    EdidBuffer& image = side == edid_read_side ? read_ : write_;
    const std::string text = p.text->text();
    // Read as a .hex file is read, so whatever the side is used for next is
    // exactly what the window shows; the text itself is left as typed.
    const EdidLoad load = text.empty() ? EdidLoad{} : edid_read_hex(text);
    p.clear_labels();
    image = load.ok() ? load.buffer : EdidBuffer{};
    set_side_unreadable(side, !text.empty() && !load.ok());
    if (side == edid_write_side) {
        if (!text.empty()) mark_title_changed();
        if (load.ok()) write_side_check();
        set_write_enabled(load.ok(), !side_unreadable_[edid_write_side]);
    } else if (load.ok()) {
        read_side_check();
    }
    if (side_unreadable_[static_cast<std::size_t>(side)])
        p.show_messages({true, "Typed text is", "not EDID hex", edid_error_colour});
}

void EdidTab::set_side_unreadable(int side, bool unreadable) {
    side_unreadable_[static_cast<std::size_t>(side)] = unreadable;
    const bool read_ok = !side_unreadable_[edid_read_side];
    const bool write_ok = !side_unreadable_[edid_write_side];
    cmd_read_[1]->setEnabled(read_ok && write_ok);  // COMPARE
    cmd_read_[2]->setEnabled(read_ok);              // <= COPY
    if (!read_ok) cmd_read_[4]->setEnabled(false);  // ANALYZE
    cmd_edid_edit_->setEnabled(write_ok);
    for (int b = 0; b < edid_max_blocks && unreadable; ++b)
        panel(side).recover[static_cast<std::size_t>(b)]->hide();
}

bool EdidTab::side_ready(int side) {
    if (!side_unreadable_[static_cast<std::size_t>(side)]) return true;
    window_.dialogs().message(
        std::string(side == edid_read_side ? "READ" : "WRITE") +
            " window: the typed text does not read as EDID hex data. Correct it, or load the "
            "side again.",
        MessageIcon::Error);
    return false;
}

// ---- files ----------------------------------------------------------------------------------

bool EdidTab::edid_file_load(const std::string& path) {
    write_panel_.clear();
    set_side_unreadable(edid_write_side, false);
    write_panel_.msg1->setText(qs(edid_wrong_caption));
    EdidLoad load = t27::edid_file_load(path);
    set_title(path + " - " + edid_window_title);
    if (!load.ok()) {
        // The side now shows nothing, so it holds nothing: an earlier image
        // must never go to the unit under this file's name.
        write_ = EdidBuffer{};
        // A file that cannot be read at all says why, and counts as bad data.
        const bool unreadable = load.error == EdidLoadError::unreadable;
        write_panel_.show_messages(load_message_labels(
            edid_load_error_name(unreadable ? EdidLoadError::data : load.error)));
        if (unreadable) window_.dialogs().message(load.io_message, MessageIcon::Error);
        return false;
    }
    write_ = load.buffer;
    write_panel_.text->set_text(load.text);
    write_side_check();
    return true;
}

// ---- analysis -------------------------------------------------------------------------------

void EdidTab::edid_analyse(int side) {
    if (panel(side).text->empty()) {
        window_.dialogs().message(side_empty_text(side), MessageIcon::Error);
        return;
    }
    if (!side_ready(side)) return;
    if (analysis_->isVisible()) {
        analysis_->hide();
        return;
    }
    analysis_->show();
    analysis_->raise();
    edid_check(side == edid_read_side ? read_ : write_, working_);
    analysis_->build_tree();
}

// ---- editor ---------------------------------------------------------------------------------

void EdidTab::cmd_edid_edit_Click() {
    if (write_panel_.text->empty()) {
        window_.dialogs().message(side_empty_text(edid_write_side), MessageIcon::Error);
        return;
    }
    if (!side_ready(edid_write_side)) return;
    const std::string image(write_.data.begin(), write_.data.begin() + write_.size);
    std::string why;
    const std::optional<EdidModel> model = EdidModel::parse(image, &why);
    if (!model) {
        window_.dialogs().message("The WRITE image cannot be edited: " + why, MessageIcon::Error);
        return;
    }
    EdidEditorWindow editor(this, *model);
    run_modal(editor);
    if (editor.result() == QDialog::Accepted && editor.changed()) edid_edit_apply(editor.image());
}

void EdidTab::edid_edit_apply(const std::string& image) {
    EdidBuffer edited;
    edid_store(edited, image);
    write_ = edited;
    write_panel_.clear();
    set_side_unreadable(edid_write_side, false);
    write_panel_.text->set_text(edid_text_format(image, 0, EdidSeparatorRule::after_every_block));
    write_side_check();
    set_write_enabled(true);
    mark_title_changed();
}

void EdidTab::mark_title_changed() {
    // Marked as a repair marks it: the image no longer is the file's.
    const std::string title = from_qt(window_.windowTitle());
    if (title.size() < 2 || title.compare(title.size() - 2, 2, " *") != 0) set_title(title + " *");
}

// ---- slots ------------------------------------------------------------------------------------

void EdidTab::set_second_entry(const std::string& text) {
    set_item_text(imgcbo_read_, edid_analog_item, text);
    set_item_text(imgcbo_write_, edid_analog_item, text);
}

void EdidTab::set_user_slot_name(int n, const std::string& name) {
    set_item_text(imgcbo_write_, edid_write_item_of_user(n), name);
    set_item_text(imgcbo_read_, edid_read_item_of_user(n), name);
}

void EdidTab::slot_names_refresh() {
    if (!request_allowed()) return;
    RequestGuard guard(*this);
    const SlotNames names = t27::slot_names_refresh(window_.engine());
    for (int n = 1; n <= edid_slot_count; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        if (names.defaults[i])
            set_item_text(imgcbo_read_, edid_read_item_of_default(n), *names.defaults[i]);
        if (names.users[i]) set_user_slot_name(n, *names.users[i]);
    }
    if (names.rx_index != 0) {
        rx_index_ = names.rx_index;
        pictures_.put_on(cmd_write_[6], rx_index_);
    }
}

void EdidTab::cmd_write_rename_Click() {
    std::string name;
    const int item = item_of(imgcbo_write_);
    const std::string problem = slot_rename_problem(txt_edid_rename_->text().toStdString(), item, name);
    if (!problem.empty()) {
        window_.dialogs().message(problem, MessageIcon::Warning);
        return;
    }
    if (window_.defer(pending_slot_rename) || requesting_) return;
    RequestGuard guard(*this);
    const int n = edid_write_item_user_slot(item);
    if (slot_rename(window_.engine(), n, name)) set_user_slot_name(n, name);
}

void EdidTab::place_beside(QDialog& dialog, QWidget* b) {
    dialog.move(b->mapToGlobal(QPoint(b->width(), 0)));
}

void EdidTab::open_rx_edid() {
    QStringList names;
    for (int i = 3; i <= edid_read_item_count; ++i) names << imgcbo_read_->itemText(i - 1);
    RxEdidWindow w(this, pictures_, names, rx_index_);
    place_beside(w, cmd_write_[6]);
    connect(&w, &RxEdidWindow::chosen, this, [this](int index) { rx_chosen(index); });
    run_modal(w);
}

void EdidTab::rx_chosen(int index) {
    if (!request_allowed()) return;
    rx_index_ = index;
    pictures_.put_on(cmd_write_[6], index);
    RequestGuard guard(*this);
    rx_source_set(window_.engine(), index);
}

void EdidTab::open_copy_sink() {
    QStringList names;
    for (int n = 1; n <= edid_slot_count; ++n)
        names << imgcbo_read_->itemText(edid_read_item_of_user(n) - 1);
    CopySinkWindow w(this, pictures_, names, copy_target_);
    place_beside(w, cmd_read_[3]);
    connect(&w, &CopySinkWindow::copy, this, [this, &w](int n) { copy_sink_to(n, w); });
    run_modal(w);
}

void EdidTab::copy_sink_to(int n, CopySinkWindow& w) {
    if (!request_allowed()) return;
    read_panel_.msg1->hide();
    copy_target_ = n;
    pictures_.put_on(cmd_read_[3], edid_copy_sink_image(n));
    RequestGuard guard(*this);
    const CopySinkResult r = copy_sink(window_.engine(), n);
    if (r.end == CopySinkEnd::failed) {
        set_label(read_panel_.msg1, copy_fail_caption, edid_error_colour);
        read_panel_.msg1->show();
        return;
    }
    if (r.end != CopySinkEnd::copied) return;
    if (r.name) {
        w.set_name(n, to_qt(*r.name));
        set_user_slot_name(n, *r.name);
    }
    if (item_of(imgcbo_read_) == edid_read_item_of_user(n)) read_clear();
}

}  // namespace t27
