#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/catalogue_load.h"
#include "settings/program_dir.h"
#include "settings/settings_save.h"
#include "settings/window_placement.h"
#include "tests/generator/temp_dir.h"

namespace t27 {
namespace {

std::string empty_entries(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "\"\"\r\n";
    return out;
}

Settings sample_settings() {
    Settings s;
    s.link_interface = 1;
    s.eth_ip = "192.168.0.5";
    s.com_port = 3;
    s.has_position = true;
    s.left = 1440;
    s.top = -720;
    s.recent[0] = "C:\\edid\\panel a.hex";
    // recent[1] stays empty between two used entries.
    s.recent[2] = "/home/bench/edid/tv, living room.bin";
    return s;
}

TEST(Settings, WrittenAsFifteenLines) {
    const std::string expected =
        "1\r\n\"192.168.0.5\"\r\n3\r\n1440\r\n-720\r\n"
        "\"C:\\edid\\panel a.hex\"\r\n\"\"\r\n"
        "\"/home/bench/edid/tv, living room.bin\"\r\n" +
        empty_entries(7);
    EXPECT_EQ(settings_bytes(sample_settings()), expected);
}

TEST(Settings, RoundTripKeepsAnEmptyRecentEntry) {
    const Settings s = sample_settings();
    SettingsParse p = settings_parse(settings_bytes(s));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.settings.link_interface, 1);
    EXPECT_EQ(p.settings.eth_ip, "192.168.0.5");
    EXPECT_EQ(p.settings.com_port, 3);
    EXPECT_TRUE(p.settings.has_position);
    EXPECT_EQ(p.settings.left, 1440);
    EXPECT_EQ(p.settings.top, -720);
    EXPECT_EQ(p.settings.recent, s.recent);
    EXPECT_EQ(p.settings.recent[1], "");
}

TEST(Settings, FractionalTwipsAndUnquotedAddressRead) {
    SettingsParse p =
        settings_parse("0\r\n10.0.0.7\r\n16\r\n2880.4\r\n1.5e+03\r\n" + empty_entries(10));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.settings.eth_ip, "10.0.0.7");
    EXPECT_EQ(p.settings.com_port, 16);
    EXPECT_EQ(p.settings.left, 2880);
    EXPECT_EQ(p.settings.top, 1500);
}

void expect_defaults(const Settings& s) {
    EXPECT_EQ(s.link_interface, 0);
    EXPECT_EQ(s.eth_ip, "");
    EXPECT_EQ(s.com_port, 1);
    EXPECT_FALSE(s.has_position);
    for (const std::string& r : s.recent) EXPECT_EQ(r, "");
}

TEST(Settings, MissingOrEmptyFileGivesDefaults) {
    test::TempDir dir;
    SettingsParse missing = settings_load(dir.path());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
    expect_defaults(missing.settings);

    SettingsParse empty = settings_parse("");
    EXPECT_FALSE(empty.ok);
    expect_defaults(empty.settings);
}

TEST(Settings, UnusableFieldsFallBackOneByOne) {
    // Interface 7 and COM 17 do not exist, the left edge is not a number;
    // the address and the recent entries are still taken.
    SettingsParse p = settings_parse("7\r\n\"10.1.1.1\"\r\n17\r\nleft\r\n300\r\n\"/a.hex\"\r\n" +
                                     empty_entries(9));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error.rfind("interface", 0), 0u) << p.error;
    EXPECT_EQ(p.settings.link_interface, 0);
    EXPECT_EQ(p.settings.eth_ip, "10.1.1.1");
    EXPECT_EQ(p.settings.com_port, 1);
    EXPECT_FALSE(p.settings.has_position);
    EXPECT_EQ(p.settings.recent[0], "/a.hex");
}

TEST(Settings, FileEndingEarly) {
    SettingsParse p = settings_parse("1\r\n\"10.1.1.1\"\r\n4\r\n100\r\n");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("top"), std::string::npos) << p.error;
    EXPECT_EQ(p.settings.link_interface, 1);
    EXPECT_EQ(p.settings.com_port, 4);
    EXPECT_FALSE(p.settings.has_position);  // a left edge alone is no position
    for (const std::string& r : p.settings.recent) EXPECT_EQ(r, "");
}

TEST(Settings, QuoteLeftOpenLosesOnlyTheEntriesAfterIt) {
    SettingsParse p =
        settings_parse("0\r\n\"1.2.3.4\"\r\n2\r\n0\r\n0\r\n\"/a.hex\"\r\n\"/b.hex\r\n");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("quote not closed"), std::string::npos) << p.error;
    EXPECT_EQ(p.settings.eth_ip, "1.2.3.4");
    EXPECT_EQ(p.settings.com_port, 2);
    EXPECT_TRUE(p.settings.has_position);
    EXPECT_EQ(p.settings.recent[0], "/a.hex");
    for (int i = 1; i < recent_file_count; ++i) {
        EXPECT_EQ(p.settings.recent[static_cast<std::size_t>(i)], "") << i;
    }
}

TEST(WindowPlacement, EdgesOutsideTheScreen) {
    const long sw = 1920 * 15, sh = 1080 * 15, ww = 800 * 15, wh = 600 * 15;
    // Left beyond the right edge: flush with the right side.
    WindowPosition p = window_placement(sw + 1, 300, sw, sh, ww, wh);
    EXPECT_EQ(p.left, sw - ww);
    EXPECT_EQ(p.top, 300);
    // Negative top: flush with the bottom.
    p = window_placement(450, -15, sw, sh, ww, wh);
    EXPECT_EQ(p.left, 450);
    EXPECT_EQ(p.top, sh - wh);
    // On the edges themselves nothing moves.
    p = window_placement(sw, sh, sw, sh, ww, wh);
    EXPECT_EQ(p.left, sw);
    EXPECT_EQ(p.top, sh);
    p = window_placement(0, 0, sw, sh, ww, wh);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
}

TEST(WindowPlacement, WindowLargerThanTheScreenKeepsItsTitleBarOnScreen) {
    WindowPosition p = window_placement(-100, 99999, 1000, 700, 1200, 900);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
}

TEST(WindowPlacement, CentredWithoutSavedPosition) {
    Settings s;
    WindowPosition p = settings_window_position(s, 1000, 800, 400, 300);
    EXPECT_EQ(p.left, 300);
    EXPECT_EQ(p.top, 250);
    s.has_position = true;
    s.left = 2000;
    s.top = 10;
    p = settings_window_position(s, 1000, 800, 400, 300);
    EXPECT_EQ(p.left, 600);
    EXPECT_EQ(p.top, 10);
}

TEST(WindowPlacement, SavedPositionIsRestoredWhereItWas) {
    // A desktop with a 40-pixel panel at the top, and one at the left.
    for (const ScreenArea area : {ScreenArea{0, 40 * 15, 1920 * 15, 1040 * 15},
                                  ScreenArea{64 * 15, 0, 1856 * 15, 1080 * 15}}) {
        const long x = area.left + 300 * 15, y = area.top + 200 * 15;
        const WindowPosition saved = window_position_saved(x, y, area);
        Settings s;
        s.has_position = true;
        s.left = saved.left;
        s.top = saved.top;
        const WindowPosition back = window_position_restored(s, area, 800 * 15, 600 * 15);
        EXPECT_EQ(back.left, x);
        EXPECT_EQ(back.top, y);
    }
}

TEST(SettingsSave, WritesSettingsAndTheLoadedCataloguesFavourites) {
    test::TempDir dir;
    Favourites f;
    f.fav_timing[0] = 27;
    SaveOutcome out = settings_and_favourites_save(dir.path(), sample_settings(), f,
                                                   "v4l_t_old_timing_pattern.ini");
    EXPECT_TRUE(out.ok()) << out.error;
    EXPECT_EQ(dir.read("Daveri_ini.txt"), settings_bytes(sample_settings()));
    const std::string fav = dir.read("v4l_t_old_timing_pattern_fav.ini");
    EXPECT_EQ(fav.substr(0, 10), "27\r\n254\r\n2");
    EXPECT_EQ(fav.size(), 4u + 35u * 5u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("v4_timing_pattern_fav.ini")));
}

TEST(SettingsSave, NoCatalogueLoadedTouchesNoFavouritesFile) {
    test::TempDir dir;
    SaveOutcome out = settings_and_favourites_save(dir.path(), Settings(), Favourites(), "");
    EXPECT_TRUE(out.ok()) << out.error;
    EXPECT_FALSE(std::filesystem::exists(dir.file("v4_timing_pattern_fav.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("_fav.ini")));
}

TEST(SettingsSave, FailedSettingsWriteStillSavesFavourites) {
    test::TempDir dir;
    // A folder in the settings file's place cannot be replaced by a file.
    std::filesystem::create_directory(dir.file("Daveri_ini.txt"));
    SaveOutcome out =
        settings_and_favourites_save(dir.path(), Settings(), Favourites(), "v5_timing_pattern.ini");
    EXPECT_FALSE(out.ok());
    EXPECT_FALSE(out.settings_written);
    EXPECT_TRUE(out.favourites_written);
    EXPECT_FALSE(out.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Daveri_ini.txt")));
    EXPECT_EQ(dir.read("v5_timing_pattern_fav.ini").size(), 36u * 5u);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// A folder that is gone by the exit is made again; one that cannot be made
// (a file is in the way, even for root) fails both writes, each reported.
TEST(SettingsSave, MissingProgramDirectoryIsMadeOrBothFailuresReported) {
    test::TempDir root;
    ASSERT_FALSE(root.path().empty());
    SaveOutcome out = settings_and_favourites_save(root.file("gone/t27-controller"), Settings(),
                                                   Favourites(), "v4_timing_pattern.ini");
    EXPECT_TRUE(out.ok()) << out.error;
    EXPECT_FALSE(root.read("gone/t27-controller/Daveri_ini.txt").empty());
    root.write("a-file", "x");
    out = settings_and_favourites_save(root.file("a-file/t27"), Settings(), Favourites(),
                                       "v4_timing_pattern.ini");
    EXPECT_FALSE(out.settings_written);
    EXPECT_FALSE(out.favourites_written);
    EXPECT_NE(out.error.find(';'), std::string::npos) << out.error;
}

TEST(ProgramDir, JoinsWithOneSlash) {
    EXPECT_EQ(program_path("/opt/t27", "Daveri_ini.txt"), "/opt/t27/Daveri_ini.txt");
    EXPECT_EQ(program_path("/opt/t27/", "bmp/refresh_on.bmp"), "/opt/t27/bmp/refresh_on.bmp");
    EXPECT_EQ(program_path("", "x.ini"), "x.ini");
}

// An installed program cannot write beside itself: where each file goes is
// decided from what the executable's folder holds and whether it takes
// writes, never from the folder's mode bits (root could write to /usr/bin).
TEST(ProgramDir, PlacesOfPortableAndInstalledPrograms) {
    test::TempDir root;
    ASSERT_FALSE(root.path().empty());
    std::filesystem::create_directories(root.file("portable"));
    std::filesystem::create_directories(root.file("prefix/bin"));
    std::filesystem::create_directories(root.file("prefix/share/t27-controller"));
    std::filesystem::create_directories(root.file("bare"));
    root.write("portable/v4_timing_pattern.ini", "0\r\n0\r\n");
    root.write("prefix/share/t27-controller/v4_timing_pattern.ini", "0\r\n0\r\n");
    const std::string user = root.file("user");
    const std::string share = root.file("prefix/share/t27-controller");
    struct Case {
        const char* what;
        std::string exe_dir, override_dir;
        bool writable;
        std::string shipped, user;
    };
    const std::vector<Case> cases = {
        {"portable copy", root.file("portable"), "", true, root.file("portable"),
         root.file("portable")},
        {"portable copy on a read-only medium", root.file("portable"), "", false,
         root.file("portable"), user},
        {"installed, run by a user", root.file("prefix/bin"), "", false, share, user},
        {"installed, run by root", root.file("prefix/bin"), "", true, share, user},
        {"--program-dir wins", root.file("prefix/bin"), root.file("elsewhere"), false,
         root.file("elsewhere"), root.file("elsewhere")},
        {"nothing shipped anywhere", root.file("bare"), "", false, root.file("bare"), user},
    };
    for (const Case& c : cases) {
        const ProgramPlaces p = decide_program_places(
            c.exe_dir, c.override_dir, user, [&](const std::string&) { return c.writable; });
        EXPECT_EQ(std::filesystem::weakly_canonical(p.shipped),
                  std::filesystem::weakly_canonical(c.shipped))
            << c.what;
        EXPECT_EQ(p.user, c.user) << c.what;
    }
}

// The shipped catalogue is read unless the user put one of that name in their
// folder; favourites are the user's once they have the file, else the shipped
// defaults; and nothing is copied into the user's folder by reading.
TEST(ProgramDir, ShippedCatalogueReadUnlessTheUserHasTheirOwn) {
    test::TempDir root;
    ASSERT_FALSE(root.path().empty());
    std::filesystem::create_directories(root.file("share"));
    std::filesystem::create_directories(root.file("user"));
    root.write("share/v5_timing_pattern.ini", "1\r\n\"a\"\r\n0\r\n");
    root.write("share/v5_timing_pattern_fav.ini", "shipped favourites");
    root.write("share/v4_timing_pattern.ini", "1\r\n\"b\"\r\n0\r\n");
    root.write("user/v4_timing_pattern.ini", "1\r\n\"mine\"\r\n0\r\n");
    root.write("user/v4_timing_pattern_fav.ini", "my favourites");
    const ProgramPlaces places{root.file("share"), root.file("user")};

    EXPECT_EQ(catalogue_dir(places, "v5_timing_pattern.ini"), places.shipped);
    EXPECT_EQ(favourites_dir(places, "v5_timing_pattern.ini"), places.shipped);
    EXPECT_FALSE(std::filesystem::exists(root.file("user/v5_timing_pattern.ini")));
    EXPECT_FALSE(std::filesystem::exists(root.file("user/v5_timing_pattern_fav.ini")));
    EXPECT_EQ(catalogue_dir(places, "v4_timing_pattern.ini"), places.user);
    EXPECT_EQ(favourites_dir(places, "v4_timing_pattern.ini"), places.user);
    const LoadedCatalogue own = catalogue_load(places, "v4_timing_pattern.ini");
    ASSERT_EQ(own.catalogue.timing_count(), 1);
    EXPECT_EQ(own.catalogue.timing_name(1), "mine");
    // A portable copy reads and writes its own folder only.
    EXPECT_EQ(catalogue_dir(places_in(places.shipped), "v4_timing_pattern.ini"), places.shipped);
}

// Start-up tidying of what earlier versions left: first-use copies equal to
// the shipped file go, catalogues the user changed stay; on moving to a new
// user folder the settings and every favourites file come along, shipped
// copies do not, and nothing already in the new folder is overwritten.
TEST(ProgramDir, EarlierVersionsFilesTidiedAndAdopted) {
    test::TempDir root;
    ASSERT_FALSE(root.path().empty());
    for (const char* d : {"share", "old", "new"}) std::filesystem::create_directories(root.file(d));
    const std::string shipped_v4 = "1\r\n\"a\"\r\n0\r\n";
    root.write("share/v4_timing_pattern.ini", shipped_v4);
    root.write("share/v5_timing_pattern.ini", "0\r\n0\r\n");
    root.write("share/v4_timing_pattern_fav.ini", "shipped");
    root.write("old/v4_timing_pattern.ini", shipped_v4);
    root.write("old/v5_timing_pattern.ini", "edited\r\n");
    root.write("old/v4_timing_pattern_fav.ini", "ticked");
    root.write("old/Daveri_ini.txt", "old settings");
    root.write("old/com_ports.txt", "COM3=/dev/t27-unit\n");
    root.write("old/notes.txt", "not ours");
    root.write("new/com_ports.txt", "COM4=/dev/ttyUSB0\n");
    const ProgramPlaces places{root.file("share"), root.file("new")};

    std::vector<std::string> adopted = adopt_legacy_user_files(places, root.file("old"));
    std::sort(adopted.begin(), adopted.end());
    EXPECT_EQ(adopted, (std::vector<std::string>{"Daveri_ini.txt", "v4_timing_pattern_fav.ini",
                                                 "v5_timing_pattern.ini"}));
    EXPECT_EQ(root.read("new/com_ports.txt"), "COM4=/dev/ttyUSB0\n");
    EXPECT_EQ(root.read("new/v4_timing_pattern_fav.ini"), "ticked");
    EXPECT_EQ(root.read("old/Daveri_ini.txt"), "old settings");
    // The favourites an install to ~/.local wrote into the shipped folder
    // come along too: that folder was the old user folder.
    root.write("share/v5_timing_pattern_fav.ini", "ticked in the shipped folder");
    EXPECT_EQ(adopt_legacy_user_files(places, root.file("share")),
              (std::vector<std::string>{"v5_timing_pattern_fav.ini"}));
    EXPECT_TRUE(adopt_legacy_user_files(places_in(root.file("new")), root.file("old")).empty());

    root.write("old/v4_timing_pattern.ini", shipped_v4);
    const ProgramPlaces old_places{root.file("share"), root.file("old")};
    EXPECT_EQ(forget_first_use_copies(old_places),
              (std::vector<std::string>{"v4_timing_pattern.ini"}));
    EXPECT_FALSE(std::filesystem::exists(root.file("old/v4_timing_pattern.ini")));
    EXPECT_EQ(root.read("old/v5_timing_pattern.ini"), "edited\r\n");
    EXPECT_EQ(root.read("old/v4_timing_pattern_fav.ini"), "ticked");
    // The shipped folder itself, also under another name, is never tidied.
    EXPECT_TRUE(forget_first_use_copies(places_in(root.file("share"))).empty());
    std::error_code no_links;  // a system without symbolic links has no other name
    std::filesystem::create_directory_symlink(root.file("share"), root.file("share-link"),
                                              no_links);
    if (!no_links)
        EXPECT_TRUE(
            forget_first_use_copies(ProgramPlaces{root.file("share"), root.file("share-link/")})
                .empty());
    EXPECT_TRUE(std::filesystem::exists(root.file("share/v4_timing_pattern.ini")));
}

// The folder the system offers for data is where an install to a prefix in
// the home folder writes the shipped files; the user's files go elsewhere.
TEST(ProgramDir, UserFolderNeverOneAnInstallWrites) {
    struct Case {
        std::string data, config, user, legacy;
    };
    const std::vector<Case> cases = {
        {"/home/u/.local/share/t27-controller", "/home/u/.config/t27-controller",
         "/home/u/.config/t27-controller", "/home/u/.local/share/t27-controller"},
        {"/home/u/.local/share/t27-controller/", "/home/u/.config/t27-controller",
         "/home/u/.config/t27-controller", "/home/u/.local/share/t27-controller/"},
        {"C:/Users/u/AppData/Roaming/t27-controller", "C:/Users/u/AppData/Local/t27-controller",
         "C:/Users/u/AppData/Roaming/t27-controller", ""},
        {"/Users/u/Library/Application Support/t27-controller",
         "/Users/u/Library/Preferences/t27-controller",
         "/Users/u/Library/Application Support/t27-controller", ""},
        {"/home/u/myshare/t27-controller", "/home/u/.config/t27-controller",
         "/home/u/myshare/t27-controller", ""},
        {"/home/u/.local/share/t27-controller", "", "/home/u/.local/share/t27-controller", ""},
    };
    for (const Case& c : cases) {
        std::string legacy = "unset";
        EXPECT_EQ(user_dir_for(c.data, c.config, &legacy), c.user) << c.data;
        EXPECT_EQ(legacy, c.legacy) << c.data;
    }
}

}  // namespace
}  // namespace t27
