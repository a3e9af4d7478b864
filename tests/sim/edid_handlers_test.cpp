#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/unit_model.h"

namespace t27::sim {
namespace {

std::string ask(UnitModel& m, const std::string& line) { return m.handle_line(line).bytes(); }

// Parses 128 "HH " triplets without the program's or the simulator's help.
std::vector<int> bytes_of(const std::string& block) {
    std::vector<int> out;
    for (std::size_t i = 0; i + 2 < block.size() && out.size() < 128; i += 3)
        out.push_back(std::stoi(block.substr(i, 2), nullptr, 16));
    return out;
}

std::string triplets(const std::vector<int>& bytes) {
    char buf[4];
    std::string s;
    for (int b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        s += buf;
    }
    return s;
}

Reply write_block(UnitModel& m, const std::string& slot, int block, const std::vector<int>& bytes) {
    Request r;
    r.line = "$edid_write " + slot + ",block" + std::to_string(block);
    r.data = triplets(bytes);
    r.has_data = true;
    return m.handle(r);
}

// A base block of manufacturer "ABC" (5-bit letters 1, 2, 3 → 0x0443) with
// the monitor name "BENCH 7" in the first descriptor.
std::vector<int> test_block0() {
    std::vector<int> b(128, 0);
    int header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    for (int i = 0; i < 8; ++i) b[i] = header[i];
    b[8] = 0x04;
    b[9] = 0x43;
    b[54 + 3] = 0xFC;
    const char* name = "BENCH 7\n";
    for (int i = 0; name[i]; ++i) b[54 + 5 + i] = name[i];
    b[126] = 1;
    int sum = 0;
    for (int i = 0; i < 127; ++i) sum += b[i];
    b[127] = (256 - sum % 256) % 256;
    return b;
}

TEST(EdidRead, BlockReplyIsLinePlus386CharactersOfValidEdid) {
    UnitModel m;
    for (std::string src : {"sink_h", "d1", "d5", "c9"}) {
        for (int blk = 0; blk < 2; ++blk) {
            std::string name = "block" + std::to_string(blk);
            Reply r = m.handle_line("$edid_read " + src + "," + name);
            ASSERT_EQ(r.line, "$edid_read " + src + "," + name + "\r\n");
            ASSERT_EQ(r.block.size(), 386u);
            EXPECT_EQ(r.block.substr(384), "\r\n");
            for (std::size_t i = 0; i < 128; ++i) {
                EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(r.block[3 * i])));
                EXPECT_FALSE(std::islower(static_cast<unsigned char>(r.block[3 * i + 1])));
                EXPECT_EQ(r.block[3 * i + 2], ' ');
            }
            std::vector<int> b = bytes_of(r.block);
            int sum = 0;
            for (int v : b) sum += v;
            EXPECT_EQ(sum % 256, 0) << src << " " << name;
            if (blk == 0) {
                EXPECT_EQ(b[0], 0x00);
                EXPECT_EQ(b[1], 0xFF);
                EXPECT_EQ(b[7], 0x00);
            }
        }
    }
}

TEST(EdidRead, FailuresUseTheFormsThatEndAReadWithoutBlock) {
    UnitModel m;
    // Unknown source or block: the line starts "$err".
    for (const char* bad : {"$edid_read x1,block0", "$edid_read d1,block9", "$edid_read d1",
                            "$edid_read d11,block0", "$edid_read d1,block2"}) {
        Reply r = m.handle_line(bad);
        EXPECT_EQ(r.line.substr(0, 4), "$err") << bad;
        EXPECT_TRUE(r.block.empty()) << bad;
    }
    // A sink that is not there: characters 12 to 18 read "err_ddc".
    m.attach_sink("none");
    Reply r = m.handle_line("$edid_read sink_h,block0");
    EXPECT_EQ(r.line, "$edid_read err_ddc\r\n");
    EXPECT_EQ(r.line.substr(11, 7), "err_ddc");
    EXPECT_TRUE(r.block.empty());
    EXPECT_EQ(m.handle_line("$edid_read sink_v,block0").line, "$edid_read err_ddc\r\n");
}

TEST(EdidRead, SinkWithThreeBlocksHasItsCeaBlockInBlock2) {
    UnitModel m;
    ASSERT_TRUE(m.attach_sink("3block"));
    std::vector<int> b0 = bytes_of(m.handle_line("$edid_read sink_h,block0").block);
    EXPECT_EQ(b0[126], 2);
    Reply r2 = m.handle_line("$edid_read sink_h,block2");
    ASSERT_EQ(r2.block.size(), 386u);
    EXPECT_EQ(bytes_of(r2.block)[0], 0x02);
    // A fourth block does not exist on that sink.
    EXPECT_EQ(m.handle_line("$edid_read sink_h,block3").line, "$edid_read err_ddc\r\n");
}

TEST(EdidRead, OneBlockImageReadsErasedSecondBlock) {
    UnitModel m;
    std::vector<int> b1 = bytes_of(m.handle_line("$edid_read d10,block1").block);
    ASSERT_EQ(b1.size(), 128u);
    for (int v : b1) EXPECT_EQ(v, 0xFF);
    EXPECT_EQ(bytes_of(m.handle_line("$edid_read d10,block0").block)[126], 0);
}

TEST(EdidWrite, UserSlotTakesBothBlocksAndIsRenamedFromTheEdid) {
    UnitModel m;
    std::vector<int> b0 = test_block0();
    std::vector<int> b1(128);
    for (int i = 0; i < 128; ++i) b1[i] = (i * 7) & 0xFF;
    EXPECT_EQ(write_block(m, "c2", 0, b0).bytes(), "$edid_write c2,block0\r\n");
    EXPECT_EQ(write_block(m, "c2", 1, b1).bytes(), "$edid_write c2,block1\r\n");
    EXPECT_EQ(bytes_of(m.handle_line("$edid_read c2,block0").block), b0);
    EXPECT_EQ(bytes_of(m.handle_line("$edid_read c2,block1").block), b1);
    EXPECT_EQ(ask(m, "$edid_name? c2"), "$edid_name? c2,ABC.BENCH 7\r\n");
    // The neighbours are untouched.
    EXPECT_NE(bytes_of(m.handle_line("$edid_read c3,block0").block), b0);
}

TEST(EdidWrite, SinkIsWritableWhenAttached) {
    UnitModel m;
    std::vector<int> b0 = test_block0();
    EXPECT_EQ(write_block(m, "sink_h", 0, b0).bytes(), "$edid_write sink_h,block0\r\n");
    EXPECT_EQ(bytes_of(m.handle_line("$edid_read sink_h,block0").block), b0);
    EXPECT_EQ(ask(m, "$edid_manuf? sink_h"), "$edid_manuf? sink_h,ABC\r\n");
    m.attach_sink("none");
    EXPECT_EQ(write_block(m, "sink_h", 0, b0).bytes(), "$edid_write err_ddc\r\n");
}

TEST(EdidWrite, RefusesReadOnlySlotsAndBadData) {
    UnitModel m;
    std::vector<int> b0 = test_block0();
    EXPECT_EQ(write_block(m, "d1", 0, b0).bytes(), "$edid_write err_ro\r\n");
    EXPECT_EQ(write_block(m, "c1", 2, b0).bytes(), "$edid_write err_block\r\n");
    EXPECT_EQ(write_block(m, "c11", 0, b0).bytes(), "$edid_write err_param\r\n");
    Request r;
    r.line = "$edid_write c1,block0";
    r.has_data = true;
    r.data = triplets(b0);
    r.data[10] = 'G';  // not a hex digit
    EXPECT_EQ(m.handle(r).bytes(), "$edid_write err_data\r\n");
    r.data = triplets(b0).substr(0, 381);  // 127 bytes
    EXPECT_EQ(m.handle(r).bytes(), "$edid_write err_data\r\n");
    EXPECT_EQ(ask(m, "$edid_write c1,block0"), "$edid_write err_data\r\n");
    // Nothing of the refused writes landed.
    EXPECT_NE(bytes_of(m.handle_line("$edid_read c1,block0").block), b0);
}

TEST(EdidSlots, NamesAreReportedAndOnlyUserSlotsRename) {
    UnitModel m;
    std::string d3 = ask(m, "$edid_name? d3");
    ASSERT_EQ(d3.substr(0, 15), "$edid_name? d3,");
    EXPECT_GT(d3.size(), 17u);
    EXPECT_EQ(d3.find(',', 15), std::string::npos);
    EXPECT_EQ(ask(m, "$edid_name c7,Bench TV"), "$edid_name c7,Bench TV\r\n");
    EXPECT_EQ(ask(m, "$edid_name? c7"), "$edid_name? c7,Bench TV\r\n");
    EXPECT_EQ(ask(m, "$edid_name d7,Mine"), "$edid_name err_ro\r\n");
    EXPECT_EQ(ask(m, "$edid_name c7,"), "$edid_name err_name\r\n");
    EXPECT_EQ(ask(m, "$edid_name c7,a,b"), "$edid_name err_name\r\n");
    EXPECT_EQ(ask(m, "$edid_name c7,a\x04"), "$edid_name err_name\r\n");
    EXPECT_EQ(ask(m, "$edid_name c7,1234567890123456789012345"), "$edid_name err_name\r\n");
    EXPECT_EQ(ask(m, "$edid_name c7"), "$edid_name err_param\r\n");
    EXPECT_EQ(ask(m, "$edid_name? c0"), "$edid_name? err_param\r\n");
    EXPECT_EQ(ask(m, "$edid_name? c7"), "$edid_name? c7,Bench TV\r\n");
}

TEST(EdidSlots, RxSourceIsStoredAndReported) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$edid_rx?"), "$edid_rx? sink\r\n");
    EXPECT_EQ(ask(m, "$edid_rx c3"), "$edid_rx c3\r\n");
    EXPECT_EQ(ask(m, "$edid_rx?"), "$edid_rx? c3\r\n");
    EXPECT_EQ(ask(m, "$edid_rx d10"), "$edid_rx d10\r\n");
    EXPECT_EQ(ask(m, "$edid_rx sink_h"), "$edid_rx err_param\r\n");
    EXPECT_EQ(ask(m, "$edid_rx c11"), "$edid_rx err_param\r\n");
    EXPECT_EQ(ask(m, "$edid_rx?"), "$edid_rx? d10\r\n");
    // The input now offers the analog default image.
    EXPECT_EQ(ask(m, "$edid_type? rx"), "$edid_type? rx,analog\r\n");
}

TEST(EdidSlots, CopySinkFillsTheSlotOrSaysErr) {
    UnitModel m;
    std::string sink0 = m.handle_line("$edid_read sink_h,block0").block;
    std::string sink1 = m.handle_line("$edid_read sink_h,block1").block;
    EXPECT_EQ(ask(m, "$edid_copy_sink c4"), "$edid_copy_sink c4\r\n");
    EXPECT_EQ(m.handle_line("$edid_read c4,block0").block, sink0);
    EXPECT_EQ(m.handle_line("$edid_read c4,block1").block, sink1);
    EXPECT_EQ(ask(m, "$edid_name? c4"), "$edid_name? c4,ZQT.SIM SINK 4K\r\n");
    EXPECT_EQ(ask(m, "$edid_copy_sink d4"), "$edid_copy_sink err\r\n");
    m.attach_sink("none");
    EXPECT_EQ(ask(m, "$edid_copy_sink c5"), "$edid_copy_sink err\r\n");
}

TEST(EdidFacts, ItemNameThenValue) {
    UnitModel m;
    EXPECT_EQ(ask(m, "$edid_manuf? sink_h"), "$edid_manuf? sink_h,ZQT\r\n");
    EXPECT_EQ(ask(m, "$edid_model? sink_h"), "$edid_model? sink_h,SIM SINK 4K\r\n");
    EXPECT_EQ(ask(m, "$edid_native? sink_h"), "$edid_native? sink_h,3840x2160p60\r\n");
    EXPECT_EQ(ask(m, "$edid_type? sink_h"), "$edid_type? sink_h,hdmi_6g\r\n");
    EXPECT_EQ(ask(m, "$edid_native? d1"), "$edid_native? d1,1920x1080p60\r\n");
    EXPECT_EQ(ask(m, "$edid_native? d3"), "$edid_native? d3,1280x720p60\r\n");
    EXPECT_EQ(ask(m, "$edid_native? d10"), "$edid_native? d10,1024x768p60\r\n");
    EXPECT_EQ(ask(m, "$edid_type? d1"), "$edid_type? d1,hdmi_hd\r\n");
    EXPECT_EQ(ask(m, "$edid_type? d4"), "$edid_type? d4,hdmi_3g\r\n");
    EXPECT_EQ(ask(m, "$edid_type? d9"), "$edid_type? d9,dvi\r\n");
    EXPECT_EQ(ask(m, "$edid_manuf? rx"), "$edid_manuf? rx,ZQT\r\n");
    EXPECT_EQ(ask(m, "$edid_manuf? "), "$edid_manuf? err_param\r\n");
    m.attach_sink("none");
    // Only the item name: the program reads the missing value as "None".
    EXPECT_EQ(ask(m, "$edid_manuf? sink_h"), "$edid_manuf? sink_h\r\n");
}

TEST(EdidSlots, FactoryResetRestoresSlotsButNotTheSink) {
    UnitModel m;
    std::string c1 = m.handle_line("$edid_read c1,block0").block;
    std::vector<int> b0 = test_block0();
    write_block(m, "c1", 0, b0);
    write_block(m, "sink_h", 0, b0);
    ask(m, "$edid_rx c1");
    ask(m, "$factory");
    EXPECT_EQ(m.handle_line("$edid_read c1,block0").block, c1);
    EXPECT_EQ(ask(m, "$edid_rx?"), "$edid_rx? sink\r\n");
    EXPECT_EQ(bytes_of(m.handle_line("$edid_read sink_h,block0").block), b0);
}

}  // namespace
}  // namespace t27::sim
