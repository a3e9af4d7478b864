#pragma once
// The EDID tab: the READ side (an EDID read from the unit) and the WRITE side
// (an EDID from a file or copied from READ, to be written to the unit), with
// files, compare, copy, checksum repair, the unit's slots and the analysis.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edid/ui/analysis_frame.h"
#include "edid/edid_buffer.h"
#include "edid/ui/edid_pictures.h"
#include "edid/ui/recent_frame.h"
#include "edid/ui/side_panel.h"
#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class CopySinkWindow;

inline constexpr int edid_read_side = 0;
inline constexpr int edid_write_side = 1;

class EdidTab : public QWidget, public TabPage {
    Q_OBJECT
  public:
    explicit EdidTab(MainWindow& window);
    ~EdidTab() override;

    // TabPage: the refresh on this tab reads the slot names.
    void read_back() override { slot_names_refresh(); }

    // Handlers, named after their controls.
    void cmd_read_Click(int index);
    void cmd_write_Click(int index);
    void cmd_read_recover_Click(int block) { edid_checksum_repair(edid_read_side, block); }
    void cmd_write_recover_Click(int block) { edid_checksum_repair(edid_write_side, block); }
    void cmd_write_rename_Click();
    void cmd_edid_edit_Click();
    void lab_pre_f_Click(int i);

    void edid_read();
    void edid_write();
    void edid_file_open();
    // False when the file gave no image; the WRITE side is then empty.
    bool edid_file_load(const std::string& path);
    void edid_file_save(int side);
    void edid_compare();
    void edid_copy_read_to_write();
    void edid_checksum_repair(int side, int block);
    void edid_analyse(int side);
    // Puts an image made in the editor on the WRITE side.
    void edid_edit_apply(const std::string& image);
    void slot_names_refresh();
    void read_clear();
    void write_clear();

    // Secondary windows are run through this; the default is a modal exec().
    // Tests drive the window inside the call instead.
    std::function<void(QDialog&)> run_modal;

    const EdidBuffer& read_buffer() const { return read_; }
    const EdidBuffer& write_buffer() const { return write_; }
    const EdidBuffer& working_buffer() const { return working_; }
    const std::string& current_file() const { return current_file_; }
    int rx_index() const { return rx_index_; }
    int copy_target() const { return copy_target_; }
    SidePanel& panel(int side) { return side == edid_read_side ? read_panel_ : write_panel_; }
    AnalysisFrame* analysis() const { return analysis_; }
    RecentFrame* recent_frame() const { return recent_; }

  private:
    struct ButtonPlace {
        int index;     // in cmd_read / cmd_write
        int col, row;  // in the side's button grid
        int width;     // in buttons
        const char* caption;
        void (EdidTab::*action)();
    };
    static const std::vector<ButtonPlace>& read_buttons();
    static const std::vector<ButtonPlace>& write_buttons();
    QPushButton* place_button(QPushButton*& slot, const QString& name, int side_left,
                              const ButtonPlace& p);
    void analyse_read() { edid_analyse(edid_read_side); }
    void analyse_write() { edid_analyse(edid_write_side); }
    void save_read() { edid_file_save(edid_read_side); }
    void save_write() { edid_file_save(edid_write_side); }
    void toggle_recent();

    void build();
    QPushButton* button(QPushButton*& slot, const QString& name, int left, int top, int width,
                        const QString& caption);
    void write_side_check();
    void read_side_check();
    // The person changed a side's text: it is read as a .hex file is and, when
    // it reads, becomes the side's image; otherwise nothing can use the side.
    void side_typed(int side);
    void set_side_unreadable(int side, bool unreadable);
    // False, with a message, when the side's typed text did not read.
    bool side_ready(int side);
    // WRITE, VERIFY and the write button follow `on`; ANALYZE stays usable
    // unless `analyse` is false.
    void set_write_enabled(bool on, bool analyse = true);
    // OPEN and a recent file's entry: the file goes to the WRITE side.
    void open_file(const std::string& path);
    void set_title(const std::string& title);
    // " *" after the title once, when the WRITE image stops being the file's.
    void mark_title_changed();
    void show_recent();
    void add_recent(const std::string& path);
    void set_second_entry(const std::string& text);
    void set_user_slot_name(int n, const std::string& name);
    void rx_chosen(int index);
    void copy_sink_to(int n, CopySinkWindow& window);
    void open_rx_edid();
    void open_copy_sink();
    void place_beside(QDialog& dialog, QWidget* button);
    std::string side_empty_text(int side) const;

    // A request may start only while no transaction or poll runs; while it
    // runs, the controls that send requests are disabled.
    class RequestGuard;
    bool request_allowed() const;

    MainWindow& window_;
    EdidPictures pictures_;
    EdidBuffer read_;
    EdidBuffer write_;
    EdidBuffer working_;
    std::string current_file_;
    int rx_index_ = edid_rx_sink_index;
    int copy_target_ = 1;
    bool requesting_ = false;
    // A side whose typed text did not read holds no image until it reads or
    // is loaded again.
    std::array<bool, 2> side_unreadable_{};
    bool window_gone_ = false;

    SidePanel read_panel_;
    SidePanel write_panel_;
    QComboBox* imgcbo_read_ = nullptr;
    QComboBox* imgcbo_write_ = nullptr;
    std::array<QPushButton*, 8> cmd_read_{};
    std::array<QPushButton*, 11> cmd_write_{};
    QLineEdit* txt_edid_rename_ = nullptr;
    QPushButton* cmd_write_rename_ = nullptr;
    QPushButton* cmd_edid_edit_ = nullptr;
    RecentFrame* recent_ = nullptr;
    AnalysisFrame* analysis_ = nullptr;

    static constexpr int edid_rx_sink_index = 1;
};

}  // namespace t27
