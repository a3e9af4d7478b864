#include "analyser/monitor_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "analyser/decode_reply.h"
#include "analyser/poll_list.h"

namespace t27 {
namespace {

constexpr Colour grey = 144 | (144 << 8) | (144 << 16);

TEST(MonitorLayout, HdcpCaptionsFollowTheTaskModeAndTheUnit) {
    HdcpCaptions c = hdcp_captions(0, 254, "");
    EXPECT_EQ(c.title, "Source HDCP && SCDC");
    ASSERT_EQ(c.rows.size(), 10u);
    EXPECT_EQ(c.rows[0], "Source Tx HDCP");
    EXPECT_EQ(c.rows[2], "Unit Rx HDCP Port");
    EXPECT_EQ(c.rows[9], "Unit Rx SCDC Scramble Status");

    c = hdcp_captions(1, 2, "T27");
    EXPECT_EQ(c.title, "Sink HDCP && SCDC");
    EXPECT_EQ(c.rows[0], "T27 Tx HDCP");
    EXPECT_EQ(c.rows[1], "T27 Tx HDCP Aksv");
    EXPECT_EQ(c.rows[4], "Sink Rx HDCP RxID");
    EXPECT_EQ(c.rows[6], "T27 Tx SCDC Scramble Enable");
    EXPECT_EQ(c.rows[7], "Sink Rx SCDC Port");

    c = hdcp_captions(2, 2, "T27");
    EXPECT_EQ(c.title, "");
    for (const std::string& row : c.rows) EXPECT_EQ(row, "");
}

TEST(MonitorLayout, GridCellPlaces) {
    const GridView& video = grid_view(1);
    ASSERT_EQ(video.cells.size(), 21u);
    EXPECT_EQ(video.cells[0].row, 0);
    EXPECT_EQ(video.cells[13].row, 13);
    EXPECT_EQ(video.cells[13].left_twips, 2650);
    EXPECT_EQ(video.cells[14].row, 4);
    EXPECT_EQ(video.cells[14].left_twips, 4450);
    EXPECT_EQ(video.cells[20].row, 10);

    const GridView& audio = grid_view(2);
    ASSERT_EQ(audio.cells.size(), 14u);
    EXPECT_EQ(audio.cells[7].left_twips, 1350);
    EXPECT_EQ(audio.cells[8].left_twips, 2700);

    const GridView& packet = grid_view(3);
    ASSERT_EQ(packet.cells.size(), 26u);
    EXPECT_EQ(packet.cells[5].left_twips, 3650);
    EXPECT_EQ(packet.cells[6].left_twips, 1350);
    EXPECT_EQ(packet.cells[7].left_twips, 3100);
    EXPECT_EQ(packet.cells[14].caption_label, "lab_item_packet1");
    EXPECT_EQ(packet.cells[15].caption_label, "lab_item_packet2");
    EXPECT_EQ(packet.cells[23].left_twips, 3250);
    EXPECT_EQ(packet.cells[24].left_twips, 4850);

    EXPECT_TRUE(grid_view(0).cells.empty());
    EXPECT_TRUE(grid_view(4).cells.empty());
}

TEST(MonitorLayout, RowCaptionsMatchTheCells) {
    EXPECT_EQ(row_captions("lab_item").size(), 14u);
    EXPECT_EQ(row_captions("lab_item")[4], "H/V Frequency    >         Hz           Hz");
    EXPECT_EQ(row_captions("lab_item_audio").size(), 14u);
    EXPECT_EQ(row_captions("lab_item_audio")[13], "CHS Sampling Size >        Bits");
    EXPECT_EQ(row_captions("lab_item_packet1").size(), 15u);
    EXPECT_EQ(row_captions("lab_item_packet2").size(), 11u);
    EXPECT_EQ(row_captions("lab_item_packet2")[7], "DRMI ETOF             >");
    EXPECT_TRUE(row_captions("nothing").empty());
}

TEST(MonitorLayout, LayingOutAViewEmptiesItsValues) {
    DisplayUpdates u = monitor_form_updates(0, 0, 2, "T27");
    EXPECT_EQ(u.texts.size(), 10u + 18u + 8u);
    for (const TextUpdate& t : u.texts) EXPECT_EQ(t.text, "") << t.control;
    ASSERT_EQ(u.colours.size(), 5u);
    for (const ColourUpdate& c : u.colours) EXPECT_EQ(c.colour, grey) << c.control;

    u = monitor_form_updates(3, 0, 2, "T27");
    int cells = 0;
    std::set<std::string> captions;
    for (const TextUpdate& t : u.texts) {
        if (t.control.starts_with("lab_item_val_p_")) {
            ++cells;
            EXPECT_EQ(t.text, "");
        } else {
            captions.insert(t.control);
        }
    }
    EXPECT_EQ(cells, 26);
    EXPECT_EQ(captions, (std::set<std::string>{"lab_item_packet1", "lab_item_packet2"}));

    u = monitor_form_updates(4, 254, 254, "");
    ASSERT_EQ(u.colours.size(), 1u);
    EXPECT_EQ(u.colours[0], (ColourUpdate{"lab_item_val_h_0", 0}));
    bool saw_unit = false;
    for (const TextUpdate& t : u.texts) saw_unit = saw_unit || t.text == "Unit Rx HDCP Port";
    EXPECT_TRUE(saw_unit);
}

// Whatever a reply says, decoding only ever addresses controls the Monitor
// tab has.
TEST(MonitorLayout, DecodingAddressesOnlyKnownControls) {
    std::set<std::string> known;
    for (int v = 0; v < 5; ++v) {
        for (const std::string& n : view_value_controls(v)) known.insert(n);
    }
    const std::vector<std::string> values = {"None",
                                             "off",
                                             "on",
                                             "i",
                                             "",
                                             "84 01 0A 70 01 00 00 00 00 00",
                                             "99999999999",
                                             std::string(200, 'F')};
    for (int mode : {0, 1}) {
        for (int view = 0; view < 5; ++view) {
            AnalyserState state;
            DecodeContext context;
            context.view = view;
            context.task_mode = mode;
            for (int index : poll_list_for(view, mode)) {
                for (const std::string& v : values) {
                    const DisplayUpdates u =
                        decode_reply(index, PollReply{v, v, "None"}, context, state);
                    for (const auto& t : u.texts) EXPECT_TRUE(known.count(t.control)) << t.control;
                    for (const auto& c : u.colours) {
                        EXPECT_TRUE(known.count(c.control)) << c.control;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace t27
