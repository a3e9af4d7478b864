#include "edid/ui/side_panel.h"

#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "common/ui/qt_widgets.h"

namespace t27 {

namespace {

// Layout inside a side, in twips from the side's left edge.
constexpr int text_top = 600, text_width = 3750, text_height = 5400;
constexpr int column_left = 3870, column_width = 1560;
constexpr int row_height = 285;

QString name(const char* prefix, const char* side, const char* what) {
    return QStringLiteral("%1_%2_%3").arg(prefix, side, what);
}

}  // namespace

void set_label_colour(QLabel* l, Colour colour) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, to_qcolor(colour));
    l->setPalette(p);
    l->setProperty("t27_colour", static_cast<uint>(colour));
}

void set_label(QLabel* l, const std::string& caption, Colour colour) {
    l->setText(to_qt(caption));
    set_label_colour(l, colour);
}

SidePanel::SidePanel(QWidget* parent, const char* side, int left) {
    text = make_widget<HexWindow>(parent, QStringLiteral("rtxt_edid_%1").arg(side),
                                  twips_rect(left, text_top, text_width, text_height));
    int top = text_top;
    auto label = [&](const char* what, int rows = 1) {
        auto* l = make_widget<QLabel>(
            parent, name("lab", side, what),
            twips_rect(left + column_left, top, column_width, row_height * rows));
        set_label_colour(l, edid_plain_colour);
        top += row_height * rows;
        return l;
    };
    msg1 = label("msg1");
    msg2 = label("msg2");
    top += row_height / 2;
    type = label("type");
    manuf = label("manuf");
    model1 = label("model1");
    model2 = label("model2");
    native = label("native");
    top += row_height;
    for (int b = 0; b < edid_max_blocks; ++b) {
        const std::size_t i = static_cast<std::size_t>(b);
        checksum[i] = make_widget<QLabel>(
            parent, QStringLiteral("lab_%1_checksum_%2").arg(side).arg(b),
            twips_rect(left + column_left, top, column_width - 360, row_height));
        recover[i] = make_widget<QPushButton>(
            parent, QStringLiteral("cmd_%1_recover_%2").arg(side).arg(b),
            twips_rect(left + column_left + column_width - 330, top, 330, row_height),
            QStringLiteral("R"));
        top += row_height + 30;
    }
    clear();
    for (int b = 0; b < edid_max_blocks; ++b)
        set_label(checksum[static_cast<std::size_t>(b)], "BK" + std::to_string(b),
                  edid_plain_colour);
}

void SidePanel::clear() {
    text->set_text({});
    clear_labels();
}

void SidePanel::clear_labels() {
    for (QLabel* l : {msg1, msg2}) {
        l->hide();
        set_label(l, {}, edid_plain_colour);
    }
    for (QLabel* l : {type, manuf, model1, model2, native}) l->clear();
    for (QPushButton* b : recover) b->hide();
}

void SidePanel::show_checksums(const EdidBuffer& checked) {
    const auto labels = checksum_labels_show(checked);
    for (std::size_t b = 0; b < labels.size(); ++b) {
        set_label(checksum[b], labels[b].caption, labels[b].colour);
        recover[b]->setVisible(labels[b].recover_visible);
    }
}

void SidePanel::show_type(const TypeLabels& t) {
    if (t.type) type->setText(to_qt(*t.type));
    manuf->setText(to_qt(t.manufacturer));
    model1->setText(to_qt(t.model1));
    model2->setText(to_qt(t.model2));
    if (t.native) native->setText(to_qt(*t.native));
}

void SidePanel::show_messages(const MessageLabels& m) {
    set_label(msg1, m.msg1, m.colour);
    set_label(msg2, m.msg2, m.colour);
    msg1->setVisible(m.visible);
    msg2->setVisible(m.visible);
}

void SidePanel::set_message_colour(Colour c) {
    set_label_colour(msg1, c);
    set_label_colour(msg2, c);
}

}  // namespace t27
