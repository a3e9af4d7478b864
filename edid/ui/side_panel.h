#pragma once
// The status controls beside one hex window: message, type, manufacturer,
// model and native labels, the four checksum labels and their "R" buttons.
// Names follow the side: lab_read_type, lab_write_checksum_2, cmd_read_recover_0.
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <string>

#include "edid/check_labels.h"
#include "edid/edid_buffer.h"
#include "edid/ui/hex_window.h"

namespace t27 {

struct SidePanel {
    // `side` is "read" or "write"; `left` the side's left edge in twips.
    SidePanel(QWidget* parent, const char* side, int left);

    // Empty text, hidden message labels, empty type labels, no "R" button.
    void clear();
    // The same, but the text stays.
    void clear_labels();
    void show_checksums(const EdidBuffer& checked);
    void show_type(const TypeLabels& t);
    void show_messages(const MessageLabels& m);
    void set_message_colour(Colour c);

    HexWindow* text = nullptr;
    QLabel* msg1 = nullptr;
    QLabel* msg2 = nullptr;
    QLabel* type = nullptr;
    QLabel* manuf = nullptr;
    QLabel* model1 = nullptr;
    QLabel* model2 = nullptr;
    QLabel* native = nullptr;
    std::array<QLabel*, edid_max_blocks> checksum{};
    std::array<QPushButton*, edid_max_blocks> recover{};
};

// Caption and colour of a label, with the colour kept as a property so
// tests can read back the value the logic chose.
void set_label(QLabel* l, const std::string& caption, Colour colour);
void set_label_colour(QLabel* l, Colour colour);

}  // namespace t27
