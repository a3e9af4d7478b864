#include "edid/ui/edid_tab.h"

#include <QFileInfo>

#include "common/file_names.h"
#include "common/path_part.h"
#include "common/qt/qt_text.h"
#include "edid/checksum_repair.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/ui/hex_type_dialog.h"
#include "edid/unit/edid_items.h"
#include "edid/unit/window_text.h"

namespace t27 {

// ---- files ----------------------------------------------------------------------------------

void EdidTab::edid_file_open() {
    std::string folder;
    const RecentList& recent = window_.state().recent_files;
    if (!current_file_.empty()) {
        folder = path_part(current_file_, path_folder);
    } else if (!recent[0].empty() && QFileInfo::exists(to_qt(recent[0]))) {
        folder = path_part(recent[0], path_folder);
    }
    const std::string path =
        window_.dialogs().open_file("Open edid file", folder, edid_dialog_filter(edid_open_filter));
    if (path.empty()) return;
    if (!QFileInfo::exists(to_qt(path))) {
        window_.dialogs().message(path + " dosen't exist !", MessageIcon::Error);
        return;
    }
    open_file(path);
}

void EdidTab::open_file(const std::string& path) {
    current_file_ = path;
    const bool loaded = edid_file_load(path);
    add_recent(path);
    // ANALYZE explains itself on an empty side; only a file that gave no
    // image, shown with its error, turns it off until the side changes.
    set_write_enabled(loaded, loaded);
}

void EdidTab::edid_file_save(int side) {
    const std::string text = panel(side).text->text();
    if (text.empty()) {
        window_.dialogs().message(side_empty_text(side), MessageIcon::Error);
        return;
    }
    std::string start = current_file_.empty() ? from_qt(window_.documents_dir())
                                              : path_part(current_file_, path_folder);
    const std::string proposal = edid_save_proposal(current_file_);
    if (!proposal.empty()) start += std::string(1, path_separator) + proposal;

    Dialogs& d = window_.dialogs();
    for (;;) {
        std::string filter;
        const std::string chosen =
            d.save_file("Save EDID file", start, edid_dialog_filter(edid_save_filter), &filter);
        if (chosen.empty()) return;
        // The filter the user left chosen decides the kind; only a dialog that
        // cannot report it leaves the typed extension to decide. The question
        // is asked about the file really written.
        const bool bin = filter.empty() ? edid_save_format_of(chosen) == EdidSaveFormat::bin
                                        : edid_save_filter_is_bin(filter);
        const std::string path = with_extension(chosen, bin ? ".bin" : ".hex");
        if (QFileInfo::exists(to_qt(path))) {
            const Answer a = d.question(path + " exists. Overwrite it ?", true);
            if (a == Answer::No) continue;
            if (a == Answer::Cancel) return;
        }
        EdidHexType hex_type = EdidHexType::c_language;
        if (!bin) {
            HexTypeDialog diag(this);
            run_modal(diag);
            hex_type = diag.hex_type();
        }
        std::string why;
        if (!t27::edid_file_save(path, text, bin ? EdidSaveFormat::bin : EdidSaveFormat::hex,
                                 hex_type, &why)) {
            d.message(why, MessageIcon::Error);
            return;
        }
        current_file_ = path;
        set_title(path + " " + edid_window_title);
        add_recent(path);
        return;
    }
}

void EdidTab::show_recent() {
    recent_->set_entries(window_.state().recent_files);
    recent_->show();
    recent_->raise();
}

void EdidTab::add_recent(const std::string& path) {
    recent_list_add(window_.state().recent_files, path);
    recent_->set_entries(window_.state().recent_files);
}

void EdidTab::lab_pre_f_Click(int i) {
    recent_->hide();
    RecentList& recent = window_.state().recent_files;
    if (i < 0 || i >= edid_recent_file_count) return;
    const std::string entry = recent[static_cast<std::size_t>(i)];
    if (entry.empty()) return;
    if (QFileInfo::exists(to_qt(entry))) {
        open_file(entry);
        return;
    }
    window_.dialogs().message(entry + " doesn't exist !", MessageIcon::Error);
    recent_list_remove(recent, i);
    recent_->set_entries(recent);
    // Only an image the side holds and shows may go to the unit: not text
    // typed after a failed OPEN, nor a side whose file gave nothing.
    if (!current_file_.empty() && write_.size > 0 && !side_unreadable_[edid_write_side])
        set_write_enabled(true);
}

// ---- compare, copy, repair ------------------------------------------------------------------

void EdidTab::edid_compare() {
    if (!side_ready(edid_read_side) || !side_ready(edid_write_side)) return;
    read_panel_.msg1->hide();
    read_panel_.msg2->hide();
    read_panel_.set_message_colour(edid_plain_colour);
    const std::string read_text = read_panel_.text->text();
    const std::string write_text = write_panel_.text->text();
    const EdidCompare r = t27::edid_compare(read_text, read_, write_text, write_);
    if (!r.error.empty()) {
        window_.dialogs().message(r.error, MessageIcon::Error);
        return;
    }
    read_panel_.text->set_text(read_text);
    write_panel_.text->set_text(write_text);
    for (std::size_t offset : r.offsets) {
        read_panel_.text->colour_range(offset, 2, edid_mismatch_colour);
        write_panel_.text->colour_range(offset, 2, edid_mismatch_colour);
    }
    read_panel_.show_messages({true, r.msg1, r.msg2, r.colour});
}

void EdidTab::edid_copy_read_to_write() {
    const std::string text = read_panel_.text->text();
    if (text.empty()) {
        window_.dialogs().message(side_empty_text(edid_read_side), MessageIcon::Error);
        return;
    }
    if (!side_ready(edid_read_side)) return;
    write_ = read_;
    set_side_unreadable(edid_write_side, false);
    // Labels that the copied image does not set must not keep the old image's values.
    write_panel_.clear();
    write_panel_.text->set_text(text);
    read_panel_.text->set_text(text);
    write_side_check();
    current_file_.clear();
    set_title(std::string("Copy READ -") + edid_window_title);
    set_write_enabled(true);
}

void EdidTab::edid_checksum_repair(int side, int block) {
    if (block < 0 || block >= edid_max_blocks || !side_ready(side)) return;
    SidePanel& p = panel(side);
    EdidBuffer& buf = side == edid_read_side ? read_ : write_;
    const std::string before = p.text->text();
    std::string after = before;
    const ChecksumRepair r = t27::edid_checksum_repair(buf, after, block);
    if (r.text_changed && after.size() == before.size()) {
        std::size_t first = 0;
        while (first < after.size() && after[first] == before[first]) ++first;
        if (first < after.size()) {
            std::size_t last = after.size() - 1;
            while (after[last] == before[last]) --last;
            p.text->replace_range(first, last - first + 1, after.substr(first, last - first + 1));
        }
    }
    p.recover[static_cast<std::size_t>(block)]->hide();
    set_label(p.checksum[static_cast<std::size_t>(block)], r.label, edid_plain_colour);
    if (side == edid_write_side) set_title(from_qt(window_.windowTitle()) + " *");
}

}  // namespace t27
