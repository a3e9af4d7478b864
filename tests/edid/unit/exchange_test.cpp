// Reading, writing and the slot requests against the unit model on virtual
// time, and the t27ctl front end over the same functions.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/unit/edid_items.h"
#include "app/t27ctl/edid_unit.h"
#include "edid/unit/slot_exchange.h"
#include "edid/unit/unit_exchange.h"
#include "sim/unit_model.h"
#include "tests/edid/unit/images.h"
#include "tests/support/script_transport.h"
#include "tests/support/sim_transport.h"

namespace t27::testing {
namespace {

class ExchangeTest : public ::testing::Test {
  protected:
    ExchangeTest() : eth(pump, model), engine(link, unit, pump, view) {
        engine.set_ethernet(&eth);
        link.link_interface = interface_ethernet;
        link.ethernet_connected = true;
        unit.model_family = family_v4;
    }

    sim::EdidStore& store() { return model.state().edid; }
    int requests(const std::string& line) const {
        int n = 0;
        for (std::size_t p = eth.wire().find(line); p != std::string::npos;
             p = eth.wire().find(line, p + 1))
            ++n;
        return n;
    }
    // Replaces the unit's answer to one command word.
    void answer(const std::string& word, sim::Handler h) { model.handlers()[word] = std::move(h); }

    sim::UnitModel model;
    LinkState link;
    UnitIdentity unit;
    VirtualPump pump;
    RecordingView view;
    SimTransport eth;
    Engine engine;
};

TEST_F(ExchangeTest, TwoBlockReadGrowsTheTextBlockByBlock) {
    const EdidImage img = hdmi_two_blocks();
    store().sink = as_vector(img.bytes());
    std::vector<std::size_t> seen;
    const EdidReadResult r =
        edid_read_unit(engine, "sink_h", [&](const std::string& t) { seen.push_back(t.size()); });

    ASSERT_EQ(r.end, EdidReadEnd::complete);
    EXPECT_EQ(r.buffer.size, 256);
    EXPECT_EQ(std::string(r.buffer.data.begin(), r.buffer.data.begin() + 256), img.bytes());
    const auto lines = text_lines(r.text);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0], "00 FF FF FF FF FF FF 00 //7  ");
    EXPECT_EQ(lines[16], std::string(29, ' '));
    EXPECT_EQ(lines[32].substr(24), "//FF ");
    // Block 0, the separator, block 1: each shown as it came.
    EXPECT_EQ(seen, (std::vector<std::size_t>{16 * 31, 17 * 31, 33 * 31}));
    EXPECT_EQ(requests("$edid_read sink_h,block"), 2);
    EXPECT_FALSE(link.block_follows);
}

TEST_F(ExchangeTest, BlankSecondBlockMakesAOneBlockImage) {
    EdidImage one = base_image(1, false);
    one.fix_checksums();
    std::vector<std::uint8_t> slot = as_vector(one.bytes());
    slot.resize(256, 0xFF);
    store().defaults[3].image = slot;
    EdidReadResult r = edid_read_unit(engine, "d4");
    ASSERT_EQ(r.end, EdidReadEnd::complete);
    EXPECT_EQ(r.buffer.size, 128);
    EdidBuffer working;
    edid_check(r.buffer, working);
    EXPECT_EQ(r.buffer.block_count, 1);
    EXPECT_EQ(r.buffer.type_code, edid_type_analog);
}

TEST_F(ExchangeTest, SinkExtensionCountAsksForMoreBlocksSlotsDoNot) {
    const EdidImage four = hdmi_with_block_map(4);
    store().sink = as_vector(four.bytes());
    EdidReadResult r = edid_read_unit(engine, "sink_h");
    ASSERT_EQ(r.end, EdidReadEnd::complete);
    EXPECT_EQ(r.buffer.size, 512);
    EXPECT_EQ(std::string(r.buffer.data.begin(), r.buffer.data.begin() + 512), four.bytes());
    EXPECT_EQ(text_lines(r.text).size(), 64u + 3u);
    EXPECT_EQ(requests("$edid_read sink_h,block3\r"), 1);

    // A user slot whose block 0 claims two extensions: two blocks are read,
    // and the image is judged only on what was read.
    EdidImage claims = hdmi_two_blocks();
    claims.set(126, 2).fix_checksums();
    store().users[0].image = as_vector(claims.bytes());
    r = edid_read_unit(engine, "c1");
    ASSERT_EQ(r.end, EdidReadEnd::complete);
    EXPECT_EQ(requests("$edid_read c1,block2"), 0);
    EXPECT_EQ(r.buffer.size, 256);
    for (int i = 256; i < 384; ++i) ASSERT_EQ(r.buffer.data[static_cast<std::size_t>(i)], 0) << i;
    EdidBuffer working;
    edid_check(r.buffer, working);
    EXPECT_EQ(r.buffer.type_code, edid_type_invalid);
    EXPECT_EQ(r.buffer.type_detail, edid_error_block_count);
}

TEST_F(ExchangeTest, EarlyEndsLeaveWhatWasReadUnchecked) {
    // No sink: the unit ends the very first block with "err_ddc".
    model.attach_sink("none");
    EdidReadResult r = edid_read_unit(engine, "sink_h");
    EXPECT_EQ(r.end, EdidReadEnd::nothing);
    EXPECT_TRUE(r.text.empty());
    EXPECT_EQ(requests("$edid_read sink_h,block1"), 0);
    EXPECT_TRUE(view.messages.empty());

    // A one-block EEPROM: block 1 fails, block 0 stays with the separator.
    model.attach_sink("default");
    EdidImage one = base_image(1);
    one.fix_checksums();
    store().sink = as_vector(one.bytes());
    r = edid_read_unit(engine, "sink_h");
    EXPECT_EQ(r.end, EdidReadEnd::partial);
    EXPECT_EQ(text_lines(r.text).size(), 17u);
    EXPECT_EQ(r.buffer.size, 128);

    // An accepted reply for another block ends a sink read at once.
    store().sink = as_vector(hdmi_with_block_map(4).bytes());
    sim::Handler real = model.handlers()["$edid_read"];
    answer("$edid_read", [real](sim::UnitModel& u, const sim::Call& c) {
        sim::Reply rep = real(u, c);
        if (c.args == "sink_h,block2") rep.line = "$edid_read sink_h,block3\r\n";
        return rep;
    });
    r = edid_read_unit(engine, "sink_h");
    EXPECT_EQ(r.end, EdidReadEnd::partial);
    EXPECT_EQ(requests("$edid_read sink_h,block3"), 0);

    // A refused block 2 is passed over; block 3 is read, and the image
    // counts only the blocks up to the gap.
    answer("$edid_read", [real](sim::UnitModel& u, const sim::Call& c) {
        if (c.args == "sink_h,block2") return sim::make_error("$err", "busy");
        return real(u, c);
    });
    r = edid_read_unit(engine, "sink_h");
    EXPECT_EQ(r.end, EdidReadEnd::complete);
    EXPECT_EQ(requests("$edid_read sink_h,block3"), 1);
    EXPECT_EQ(r.buffer.size, 256);
}

TEST_F(ExchangeTest, WriteSendsTwoBlocksAndStopsAtARefusal) {
    const EdidImage img = hdmi_with_block_map(4);
    EdidBuffer buf = img.buffer();
    ASSERT_TRUE(edid_write_unit(engine, "c3", buf));
    EXPECT_EQ(store().users[2].image, as_vector(img.bytes().substr(0, 256)));
    // The line ends in CR LF and the 128 bytes follow as "HH " triplets.
    EXPECT_NE(eth.wire().find("$edid_write c3,block0\r\n00 FF FF FF FF FF FF 00 52 D8 "),
              std::string::npos);
    EXPECT_EQ(requests("$edid_write c3,block"), 2);

    // The default EDIDs are read-only: the unit refuses block 0.
    EXPECT_FALSE(edid_write_unit(engine, "d1", buf));
    EXPECT_EQ(requests("$edid_write d1,block"), 1);
    EXPECT_EQ(edid_written_slot_name("TVX", "BENCH MO", "NITOR"), "TVX.BENCH MONITOR");
}

TEST_F(ExchangeTest, SlotNamesRxSourceAndTheirRefusals) {
    store().users[4].name = "Lab five";
    store().rx_source = "c3";
    SlotNames names = slot_names_refresh(engine);
    EXPECT_EQ(names.defaults[0], store().defaults[0].name);
    EXPECT_EQ(names.users[4], "Lab five");
    EXPECT_EQ(names.rx_index, 14);

    // The first refusal ends the refresh: later names and the source stay unasked.
    answer("$edid_name?", [](sim::UnitModel& u, const sim::Call& c) {
        if (c.args == "c2") return sim::make_error(c.word, "busy");
        return sim::make_reply(c.word, std::string(c.args) + "," + u.state().edid.users[0].name);
    });
    const std::size_t before = eth.wire().size();
    names = slot_names_refresh(engine);
    EXPECT_TRUE(names.users[0].has_value());
    EXPECT_FALSE(names.users[1].has_value());
    EXPECT_EQ(names.rx_index, 0);
    EXPECT_EQ(eth.wire().find("$edid_rx?", before), std::string::npos);

    rx_source_set(engine, 12);
    EXPECT_EQ(store().rx_source, "c1");
    rx_source_set(engine, 11);
    EXPECT_EQ(store().rx_source, "d10");
}

TEST_F(ExchangeTest, RenameTakesTheEchoedNameOnly) {
    std::string name;
    EXPECT_EQ(slot_rename_problem("   ", 5, name), "Wrong name");
    EXPECT_EQ(slot_rename_problem("Lab", 2, name), "Sink can't be named.");
    EXPECT_EQ(slot_rename_problem("  Lab A ", 5, name), "");
    EXPECT_EQ(name, "Lab A");

    EXPECT_TRUE(slot_rename(engine, 3, "Lab A"));
    EXPECT_EQ(store().users[2].name, "Lab A");
    answer("$edid_name",
           [](sim::UnitModel&, const sim::Call& c) { return sim::make_reply(c.word, "c3,Other"); });
    EXPECT_FALSE(slot_rename(engine, 3, "Lab B"));
}

TEST_F(ExchangeTest, CopySinkReportsTheUnitsRefusal) {
    model.attach_sink("none");
    EXPECT_EQ(copy_sink(engine, 2).end, CopySinkEnd::failed);

    EdidImage img = hdmi_two_blocks();
    model.attach_sink("default");
    store().sink = as_vector(img.bytes());
    const CopySinkResult r = copy_sink(engine, 2);
    EXPECT_EQ(r.end, CopySinkEnd::copied);
    EXPECT_EQ(r.name, "TVX.BENCH MONITOR");
    EXPECT_EQ(store().users[1].image, as_vector(img.bytes()));

    // No answer at all is no reason to say the copy failed.
    ASSERT_EQ(sim::arm_fault(model.faults(), "drop 2"), "");
    EXPECT_EQ(copy_sink(engine, 2).end, CopySinkEnd::silent);
}

TEST(EdidItems, TablesAndSourceNumbers) {
    EXPECT_STREQ(edid_read_item(13).slot, "c1");
    EXPECT_EQ(edid_read_item(13).image, 12);
    EXPECT_STREQ(edid_read_item(3).slot, "d1");
    EXPECT_EQ(edid_read_item(3).image, 2);
    EXPECT_STREQ(edid_write_item(3).slot, "c1");
    EXPECT_EQ(edid_write_item(3).image, 12);
    EXPECT_STREQ(edid_read_item(23).slot, "");
    EXPECT_TRUE(edid_item_usable(2, family_v4));
    EXPECT_FALSE(edid_item_usable(2, family_v4l));
    EXPECT_FALSE(edid_item_usable(2, not_known));
    EXPECT_EQ(edid_write_item_user_slot(12), 10);
    EXPECT_EQ(edid_write_item_user_slot(2), 0);

    EXPECT_EQ(edid_rx_index_from_reply("sink"), 1);
    EXPECT_EQ(edid_rx_index_from_reply("d1"), 2);
    EXPECT_EQ(edid_rx_index_from_reply("c10"), 21);
    for (const char* junk : {"", "c", "c0", "c11", "x3", "d01", "None"})
        EXPECT_EQ(edid_rx_index_from_reply(junk), 0) << junk;
    EXPECT_EQ(edid_rx_request(1), "$edid_rx sink");
    EXPECT_EQ(edid_rx_request(12), "$edid_rx c1");
    EXPECT_EQ(edid_rx_request(22), "");
    EXPECT_EQ(edid_image_file(21), "edid_c10.bmp");
}

// t27ctl's front end, on the same engine and model.
class UnitCliTest : public ExchangeTest {
  protected:
    int run(const std::vector<std::string>& args) {
        out.str({});
        err.str({});
        return edid_unit_cli(engine, args, out, err);
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
    std::ostringstream out, err;
};

TEST_F(UnitCliTest, ReadSavesWhatTheUnitHolds) {
    const EdidImage img = hdmi_two_blocks();
    store().sink = as_vector(img.bytes());
    ASSERT_EQ(run({"read", "sink_h", "-o", path("s.hex"), "--hex-type", "c"}), 0) << err.str();
    EXPECT_NE(out.str().find("Type: HDMI HD\n"), std::string::npos);
    const EdidLoad back = edid_file_load(path("s.hex"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.buffer.size, 256);
    EXPECT_EQ(std::string(back.buffer.data.begin(), back.buffer.data.begin() + 256), img.bytes());

    ASSERT_EQ(run({"read", "c2", "-o", path("c2.bin")}), 0);
    EXPECT_EQ(edid_file_load(path("c2.bin")).buffer.size, 256);

    model.attach_sink("none");
    EXPECT_EQ(run({"read", "sink_h", "-o", path("none.hex")}), edid_cli_unit_failed);
    EXPECT_EQ(run({"read", "d11", "-o", path("x.hex")}), 64);
    EXPECT_EQ(run({"read", "d1", "-o", path("x.txt")}), 64);
    unit.model_family = family_v5;
    EXPECT_EQ(run({"read", "sink_v", "-o", path("x.hex")}), 64);
}

TEST_F(UnitCliTest, WriteStoresTheFileInASlot) {
    const EdidImage img = hdmi_two_blocks();
    QFile f(QString::fromStdString(path("w.bin")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(img.bytes().data(), 256);
    f.close();
    ASSERT_EQ(run({"write", "c7", path("w.bin")}), 0) << err.str();
    EXPECT_EQ(store().users[6].image, as_vector(img.bytes()));
    EXPECT_NE(out.str().find("Name: TVX.BENCH MONITOR\n"), std::string::npos);

    // The unit has no analog sink attached: it refuses, and the slot list has no d1.
    EXPECT_EQ(run({"write", "sink_v", path("w.bin")}), edid_cli_unit_failed);
    EXPECT_EQ(run({"write", "d1", path("w.bin")}), 64);
    EXPECT_EQ(run({"write", "c7", path("missing.bin")}), 66);
    EXPECT_EQ(run({"write", "c7"}), 64);
}

}  // namespace
}  // namespace t27::testing
