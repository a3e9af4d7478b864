#include "analyser/ui/monitor_views.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <string_view>

#include "analyser/monitor_layout.h"
#include "analyser/ui/row_caption_label.h"
#include "common/qt/qt_text.h"
#include "common/twips.h"

namespace t27 {

namespace {

// System view: three frames side by side with arrows between them.
constexpr int source_width = 2400;
constexpr int unit_width = 3060;
constexpr int sink_width = 3060;
constexpr int arrow_gap = 180;
constexpr int system_first_row = 330;
constexpr int system_row_pitch = 330;
constexpr int system_font_px = 10;

// Grid views: the captions' character pitch matches the cell places (a
// caption's ">" ends where its cell begins).
constexpr int grid_char_pitch = 135;
constexpr int grid_font_px = 13;

// HDCP & SCDC view.
constexpr int hdcp_title_height = 330;
constexpr int hdcp_first_row = 420;
constexpr int hdcp_row_pitch = 300;
constexpr int hdcp_cell_left = 3450;

// Two value labels on one row: one of them holds a short word and gets room
// for this sample text, the other takes the rest. The EDID model row starts
// with a three-letter manufacturer code; the port rows end with "on"/"off".
struct RowSplit {
    std::string_view first_label;
    bool first_is_short;
    std::string_view sample;
};
constexpr RowSplit row_splits[] = {{"lab_v4_rx_edid3x", true, "MMM."},
                                   {"lab_sink_rx_edid3x", true, "MMM."}};
constexpr RowSplit default_split = {{}, false, "off"};

const RowSplit& split_of(std::string_view first_label) {
    for (const RowSplit& s : row_splits)
        if (s.first_label == first_label) return s;
    return default_split;
}

// A horizontal arrow between two frames of the System view.
class ArrowLine : public QWidget {
  public:
    ArrowLine(bool points_right, QWidget* parent) : QWidget(parent), right_(points_right) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
        const int y = height() / 2;
        const int head = std::min(6, width() / 2);
        p.drawLine(1, y, width() - 2, y);
        QPainterPath tip;
        if (right_) {
            tip.moveTo(width() - 1, y);
            tip.lineTo(width() - 1 - head, y - head / 2 - 1);
            tip.lineTo(width() - 1 - head, y + head / 2 + 1);
        } else {
            tip.moveTo(0, y);
            tip.lineTo(head, y - head / 2 - 1);
            tip.lineTo(head, y + head / 2 + 1);
        }
        tip.closeSubpath();
        p.fillPath(tip, palette().color(QPalette::WindowText));
    }

  private:
    bool right_;
};

QFont pixel_font(QFont f, int px) {
    f.setPixelSize(px);
    return f;
}

QLabel* named_label(QWidget* parent, std::string_view name, MonitorLabels& index) {
    auto* l = new QLabel(parent);
    l->setObjectName(to_qt(std::string(name)));
    index[std::string(name)] = l;
    return l;
}

QString qstr(std::string_view s) { return to_qt(std::string(s)); }

// One frame of the System view. Returns its height in twips.
int build_system_frame(QGroupBox* box, std::string_view frame_name, int width_twips,
                       MonitorLabels& index) {
    const QFontMetrics fm(box->font());
    const int pad = 6;
    const int width = twips_to_px(width_twips);
    // The value column lines up after the captions of the one-value rows;
    // a longer caption of a two-value row pushes only its own values right.
    int caption_col = 0;
    for (const SystemRow& row : system_rows()) {
        if (row.frame == frame_name && row.labels.size() == 1)
            caption_col = std::max(caption_col, fm.horizontalAdvance(qstr(row.caption)));
    }
    const int value_left = pad + caption_col + pad;
    const int pitch = twips_to_px(system_row_pitch);

    int r = 0;
    auto row_top = [&](int n) { return twips_to_px(system_first_row) + n * pitch; };
    for (const SystemRow& row : system_rows()) {
        if (row.frame != frame_name) continue;
        const int y = row_top(r);
        const QString caption = qstr(row.caption);
        auto* cap = new QLabel(caption, box);
        cap->setGeometry(pad, y, width - 2 * pad, pitch);
        const int row_left = std::max(value_left, pad + fm.horizontalAdvance(caption) + pad);

        if (row.labels.empty()) {
            // The packet indicators take the next line, spread across it: the
            // frame is too narrow for five of them beside the caption.
            ++r;
            const auto indicators = packet_indicators();
            int used = 0;
            for (const Indicator& i : indicators) used += fm.horizontalAdvance(qstr(i.caption));
            const int left = pad + 12;
            const int gap =
                std::max(4, (width - pad - left - used) / static_cast<int>(indicators.size()));
            int x = left;
            for (const Indicator& i : indicators) {
                QLabel* l = named_label(box, i.label, index);
                l->setText(qstr(i.caption));
                const int w = fm.horizontalAdvance(qstr(i.caption)) + 2;
                l->setGeometry(x, row_top(r), w, pitch);
                x += w - 2 + gap;
            }
        } else if (row.labels.size() == 1) {
            named_label(box, row.labels[0], index)
                ->setGeometry(value_left, y, width - pad - value_left, pitch);
        } else {
            const std::size_t run = row.caption.find("  ");
            if (run != std::string_view::npos) {
                // "Out Audio:               CH": the first value sits in the blank
                // run, the second after the closing word.
                const std::size_t tail = row.caption.find_first_not_of(' ', run);
                const int head_end =
                    pad + fm.horizontalAdvance(qstr(row.caption.substr(0, run))) + 4;
                const int tail_start =
                    pad + fm.horizontalAdvance(qstr(row.caption.substr(0, tail)));
                const int tail_end = pad + fm.horizontalAdvance(caption) + 4;
                named_label(box, row.labels[0], index)
                    ->setGeometry(head_end, y, tail_start - head_end - 2, pitch);
                named_label(box, row.labels[1], index)
                    ->setGeometry(tail_end, y, width - pad - tail_end, pitch);
            } else {
                const int avail = width - pad - row_left;
                const RowSplit& split = split_of(row.labels[0]);
                const int short_w = fm.horizontalAdvance(qstr(split.sample)) + 6;
                const int first = split.first_is_short ? short_w : avail - short_w;
                named_label(box, row.labels[0], index)->setGeometry(row_left, y, first, pitch);
                named_label(box, row.labels[1], index)
                    ->setGeometry(row_left + first, y, avail - first, pitch);
            }
        }
        ++r;
    }
    return system_first_row + r * system_row_pitch + 120;
}

QFrame* build_system_view(QWidget* parent, MonitorViews& v) {
    auto* frame = new QFrame(parent);
    frame->setFont(pixel_font(frame->font(), system_font_px));

    struct Part {
        std::string_view name;
        const char* title;
        int left;
        int width;
    };
    const Part parts[] = {
        {"fra_monitor_source", "SOURCE", 0, source_width},
        {"fra_monitor_v4", "UNIT", source_width + arrow_gap, unit_width},
        {"fra_monitor_sink", "SINK", source_width + arrow_gap + unit_width + arrow_gap, sink_width},
    };
    for (const Part& p : parts) {
        auto* box = new QGroupBox(QString::fromLatin1(p.title), frame);
        box->setObjectName(to_qt(std::string(p.name)));
        box->setFont(frame->font());
        const int h = build_system_frame(box, p.name, p.width, v.labels);
        box->setGeometry(twips_rect(p.left, 0, p.width, h));
        if (p.name == "fra_monitor_v4") v.unit_frame = box;
    }

    // line_arrow1: the source's signal into the unit; line_arrow2: the unit's
    // output on to the sink; line_arrow3: what the sink offers (hot plug,
    // EDID, HDCP) read back by the unit.
    const int row_mid = system_first_row + system_row_pitch / 2;
    struct Arrow {
        const char* name;
        int left;
        int row;
        bool right;
    };
    const Arrow arrows[] = {
        {"line_arrow1", source_width, 0, true},
        {"line_arrow2", source_width + arrow_gap + unit_width, 0, true},
        {"line_arrow3", source_width + arrow_gap + unit_width, 3, false},
    };
    for (const Arrow& a : arrows) {
        auto* line = new ArrowLine(a.right, frame);
        line->setObjectName(QString::fromLatin1(a.name));
        line->setGeometry(
            twips_rect(a.left + 15, row_mid + a.row * system_row_pitch - 90, arrow_gap - 30, 180));
    }
    return frame;
}

QFrame* build_grid_view(QWidget* parent, int view, MonitorViews& v) {
    auto* frame = new QFrame(parent);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    frame->setFont(pixel_font(fixed, grid_font_px));

    const GridView& g = grid_view(view);
    const int pitch = twips_to_px(monitor_row_pitch_twips);

    // Caption labels stack in the order their rows come; each starts at the
    // row of its first cell.
    std::vector<std::string_view> caption_labels;
    for (const CellPlace& c : g.cells) {
        if (std::find(caption_labels.begin(), caption_labels.end(), c.caption_label) ==
            caption_labels.end())
            caption_labels.push_back(c.caption_label);
    }
    int first_row = 0;
    for (std::string_view name : caption_labels) {
        auto* cap = new RowCaptionLabel(pitch, twips_to_px(grid_char_pitch), frame);
        cap->setObjectName(to_qt(std::string(name)));
        const int rows = static_cast<int>(row_captions(name).size());
        cap->setGeometry(0, first_row * pitch, twips_to_px(monitor_view_width_twips), rows * pitch);
        v.labels[std::string(name)] = cap;
        for (const CellPlace& c : g.cells)
            if (c.caption_label == name) first_row = std::max(first_row, c.row + 1);
    }

    for (std::size_t n = 0; n < g.cells.size(); ++n) {
        const CellPlace& c = g.cells[n];
        // A cell runs to the next cell on its row, or to the frame's edge.
        int right = monitor_view_width_twips;
        for (const CellPlace& o : g.cells)
            if (o.row == c.row && o.left_twips > c.left_twips)
                right = std::min(right, o.left_twips);
        QLabel* l = named_label(frame, cell_name(g.cell_array, static_cast<int>(n)), v.labels);
        l->setGeometry(twips_to_px(c.left_twips), c.row * pitch,
                       twips_to_px(right - c.left_twips) - 4, pitch);
    }
    return frame;
}

QFrame* build_hdcp_view(QWidget* parent, MonitorViews& v) {
    auto* frame = new QFrame(parent);
    QLabel* title = named_label(frame, "lab_title_hdcp_scdc", v.labels);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setGeometry(twips_rect(0, 0, monitor_view_width_twips, hdcp_title_height));
    for (int n = 0; n < hdcp_row_count; ++n) {
        const int top = hdcp_first_row + n * hdcp_row_pitch;
        named_label(frame, cell_name("lab_item_h", n), v.labels)
            ->setGeometry(twips_rect(0, top, hdcp_cell_left - 150, hdcp_row_pitch));
        named_label(frame, cell_name(hdcp_cell, n), v.labels)
            ->setGeometry(twips_rect(hdcp_cell_left, top, monitor_view_width_twips - hdcp_cell_left,
                                     hdcp_row_pitch));
    }
    // The title reads "Source HDCP && SCDC": with a buddy the label treats
    // "&&" as one ampersand, as the option captions do.
    title->setBuddy(v.labels.at(cell_name(hdcp_cell, 0)));
    return frame;
}

}  // namespace

MonitorViews build_monitor_views(QWidget* parent) {
    MonitorViews v;
    v.frames[view_system] = build_system_view(parent, v);
    for (int view : {view_video_timing, view_audio_timing, view_packet})
        v.frames[static_cast<std::size_t>(view)] = build_grid_view(parent, view, v);
    v.frames[view_hdcp_scdc] = build_hdcp_view(parent, v);
    for (int n = 0; n < analyser_view_count; ++n) {
        QFrame* f = v.frames[static_cast<std::size_t>(n)];
        f->setObjectName(QStringLiteral("fra_monitor_%1").arg(n));
        f->setFrameShape(QFrame::NoFrame);
        f->setGeometry(twips_rect(monitor_frame_left_twips, monitor_frame_top_twips,
                                  monitor_view_width_twips, monitor_view_height_twips));
        f->hide();
    }
    return v;
}

}  // namespace t27
