#include "protocol/command_table.h"
#include "protocol/link_sequence.h"
#include "protocol/model_table.h"
#include "tests/protocol/engine_fixture.h"

namespace t27::testing {
namespace {

struct RecordingHooks : LinkHooks {
    void set_link_enabled(bool on) override { enabled.push_back(on); }
    void set_model_caption(const std::string& t) override { model = t; }
    void set_fw_caption(const std::string& t) override { fw = t; }
    void set_edid_second_entry(const std::string& t) override { second = t; }
    void load_catalogue(const std::string& f) override { catalogues.push_back(f); }
    void ui_var_set() override { ++ui_updates; }

    std::vector<bool> enabled;
    std::string model, fw = "FW:", second;
    std::vector<std::string> catalogues;
    int ui_updates = 0;
};

class LinkTest : public EngineTest {
protected:
    LinkTest() {
        unit.model_family = not_known;
        serial.responder = [this](const std::string& req) {
            std::string word = cmdstr_cmd_get(req);
            std::string value;
            if (word == "$model?") value = model;
            else if (word == "$board_id?") value = board;
            else if (word == "$fwver?") value = "2.18.07";
            else if (word == "$task_mode?") value = task;
            else return std::vector<Chunk>{};
            return std::vector<Chunk>{{word + " " + value + "\r\n", 4}};
        };
    }

    void link_to(const std::string& m, const std::string& b) {
        model = m;
        board = b;
        link_sequence(engine, hooks);
    }

    std::string model = "T27", board = "0", task = "pattern";
    RecordingHooks hooks;
};

TEST_F(LinkTest, KnownModelLinksAndReadsFirmwareAndTask) {
    link_to("T27", "0");
    EXPECT_EQ(unit.model_family, family_v4);
    EXPECT_EQ(unit.board_id, 0);
    EXPECT_EQ(unit.linked_model, "T27");
    EXPECT_EQ(unit.task_mode, task_pattern);
    EXPECT_EQ(hooks.model, "T27");
    EXPECT_EQ(hooks.fw, "FW: 2.18.07");
    EXPECT_EQ(hooks.second, "VGA  Sink");
    EXPECT_EQ(hooks.catalogues, std::vector<std::string>{"v4_timing_pattern.ini"});
    EXPECT_EQ(hooks.ui_updates, 1);
    EXPECT_EQ(hooks.enabled, (std::vector<bool>{false, true}));
    EXPECT_TRUE(view.messages.empty());

    const std::vector<std::string> expected = {"$model?\r", "$board_id?\r", "$fwver?\r",
                                               "$task_mode?\r"};
    EXPECT_EQ(serial.writes, expected);
}

TEST_F(LinkTest, CatalogueFollowsFamilyAndBoard) {
    link_to("T28", "0");
    EXPECT_EQ(hooks.catalogues.back(), "v4l_t_old_timing_pattern.ini");
    EXPECT_EQ(hooks.second, "---      ");
    link_to("RO-3Z", "0");  // same family and board: no reload
    EXPECT_EQ(hooks.catalogues.size(), 1u);
    link_to("RO-3Z", "2");
    EXPECT_EQ(hooks.catalogues.back(), "v4l_timing_pattern.ini");
    EXPECT_EQ(hooks.model, "RO-3Z .");
    for (const char* m : {"Vuririd Uva.Z", "RQTA-V4L", "RO-3Z", "T28"}) {
        unit.model_family = not_known;
        link_to(m, "1");
        EXPECT_EQ(hooks.catalogues.back(), "v4l_t_new_timing_pattern.ini") << m;
    }
    link_to("RQTA-V5", "0");
    EXPECT_EQ(hooks.catalogues.back(), "v5_timing_pattern.ini");
}

TEST_F(LinkTest, LinkingTwiceDoesNotReloadButBoardChangeDoes) {
    link_to("DE-4", "0");
    link_to("DE-4", "0");
    EXPECT_EQ(hooks.catalogues.size(), 1u);
    link_to("DE-4", "2");
    EXPECT_EQ(hooks.model, "DE-4 .");
    ASSERT_EQ(hooks.catalogues.size(), 2u);
    EXPECT_EQ(hooks.catalogues.back(), "v4_timing_pattern.ini");
}

TEST_F(LinkTest, UnknownModelUnlinksAndFirmwareQueryIsRefused) {
    link_to("T27 ", "0");  // trailing blank: not in the table
    EXPECT_EQ(unit.model_family, not_known);
    EXPECT_EQ(unit.linked_model, "");
    EXPECT_EQ(hooks.model, "T27 ");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Do [Refresh] or [Link] first !");
    EXPECT_EQ(hooks.fw, "FW:");
    EXPECT_EQ(hooks.ui_updates, 0);
    EXPECT_EQ(serial.writes.size(), 2u);  // "$fwver?" never reached the wire

    link_to("T27", "0");
    link_to("t27", "0");  // case matters too
    EXPECT_EQ(unit.model_family, not_known);
}

TEST_F(LinkTest, UnansweredModelLeavesFamilyAlone) {
    link_to("T27", "0");
    serial.responder = nullptr;
    link_sequence(engine, hooks);
    EXPECT_EQ(unit.model_family, family_v4);
    EXPECT_EQ(hooks.enabled.back(), true);
    EXPECT_EQ(link.cmdrx_status, ReplyStatus::NoResponse);
}

TEST_F(LinkTest, OddBoardIdAndTaskTextsAreTolerated) {
    task = "standby";
    link_to("T27", "7");
    EXPECT_EQ(unit.board_id, 0);
    EXPECT_EQ(unit.task_mode, not_known);  // unchanged from before
    EXPECT_EQ(hooks.ui_updates, 1);
}

TEST(ModelTable, FavouritesFileFollowsCatalogue) {
    EXPECT_EQ(favourites_file_for("v4l_t_old_timing_pattern.ini"),
              "v4l_t_old_timing_pattern_fav.ini");
    EXPECT_EQ(catalogue_file_for(not_known, 1, ""), "v4_timing_pattern.ini");
}

}  // namespace
}  // namespace t27::testing
