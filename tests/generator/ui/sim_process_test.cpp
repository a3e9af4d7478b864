// The generator tabs against t27-unit-sim running as its own process: what
// the user chose is what the unit reports when the tabs are entered again.
#include <QLabel>
#include <QTreeWidget>

#include "generator/ui/gen_widgets.h"
#include "tests/e2e/process_support.h"
#include "tests/generator/ui/generator_fixture.h"

namespace t27::testing {
namespace {

class SimProcessTest : public GeneratorTest {
  protected:
    MainWindow& linked_to(SimProcess& sim) {
        MainWindow& w = open_with_pages();
        const std::size_t colon = sim.listen.rfind(':');
        EXPECT_TRUE(
            link_over_tcp(w, static_cast<quint16>(std::stoi(sim.listen.substr(colon + 1)))));
        return w;
    }
};

TEST_F(SimProcessTest, ChoicesAreReadBackFromTheUnit) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--task", "pattern", "--quiet"}));
    MainWindow& w = linked_to(sim);
    ASSERT_EQ(w.unit().task_mode, task_pattern);

    choose_tab(tab_timing);
    auto* timings = find<QTreeWidget>("lstv_timing");
    timings->setCurrentItem(timings->topLevelItem(4));
    emit timings->itemDoubleClicked(timings->topLevelItem(4), 0);
    const QString timing_name = timings->topLevelItem(4)->text(0);
    ASSERT_EQ(find<QLabel>("lab_reso_out_now")->text(), timing_name);

    choose_tab(tab_pattern);
    auto* patterns = find<QTreeWidget>("lstv_pattern");
    patterns->setCurrentItem(patterns->topLevelItem(6));
    emit patterns->itemDoubleClicked(patterns->topLevelItem(6), 0);
    const QString pattern_name = patterns->topLevelItem(6)->text(0);
    ASSERT_EQ(find<QLabel>("lab_pat_out_now")->text(), pattern_name);

    choose_tab(tab_panel);
    for (int i : {21, 46, 19, 59, 33}) button("cmd_panel", i)->click();
    ASSERT_EQ(colour_of(button("cmd_panel", 46)), 49152u);

    // Away and back again: the program forgets nothing it shows, because it
    // shows only what the unit reports. Paint everything grey first to see it.
    choose_tab(tab_edid);
    for (int i = 0; i <= 60; ++i) paint_button(button("cmd_panel", i), 12632256);
    find<QLabel>("lab_reso_out_now")->setText("T?");
    find<QLabel>("lab_pat_out_now")->setText("P?");

    choose_tab(tab_panel);
    for (int i : {21, 46, 19, 59, 33}) EXPECT_EQ(colour_of(button("cmd_panel", i)), 49152u) << i;
    for (int i : {20, 45, 18, 58, 28}) EXPECT_EQ(colour_of(button("cmd_panel", i)), 12632256u) << i;

    choose_tab(tab_timing);
    EXPECT_EQ(find<QLabel>("lab_reso_out_now")->text(), timing_name);
    EXPECT_EQ(timings->currentItem(), timings->topLevelItem(4));
    choose_tab(tab_pattern);
    EXPECT_EQ(find<QLabel>("lab_pat_out_now")->text(), pattern_name);
    EXPECT_EQ(w.state().current_pattern, 7);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace t27::testing
