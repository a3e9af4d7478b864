// Bad input through the whole window: each gets a clear message or a safe
// default, never a crash, and what was on disk stays as it was.
#include <sys/resource.h>

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <csignal>

#include "edid/edid_tab.h"
#include "tests/faults/fault_fixture.h"

namespace t27::testing {
namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

EdidTab* edid_tab(MainWindow& w) {
    for (QObject* o : w.tab_frame(0)->children())
        if (auto* t = dynamic_cast<EdidTab*>(o)) return t;
    return nullptr;
}

struct BadEdidFile {
    const char* name;
    QByteArray bytes;
    // Null: the text reader is lenient about what lies between digit pairs,
    // so binary bytes may load; then the check must refuse the image.
    const char* reason = "Data";
};

QByteArray every_byte_value() {
    QByteArray b;
    for (int i = 0; i < 256; ++i) b.append(static_cast<char>(i));
    return b;
}

class BadEdidFileTest : public FaultTest, public ::testing::WithParamInterface<BadEdidFile> {};

TEST_P(BadEdidFileTest, OpenShowsDataErrorAndLeavesTheFileAlone) {
    const BadEdidFile& f = GetParam();
    write_file(f.name, f.bytes);
    const QString path = dir.path() + "/" + f.name;
    const QByteArray before = digest(path);
    MainWindow& w = open_window();
    find<QPushButton>("cmd_main_0")->click();
    EdidTab* tab = edid_tab(w);
    ASSERT_NE(tab, nullptr);
    LatenessProbe probe;

    dialogs.next_file = path.toStdString();
    find<QPushButton>("cmd_write_1")->click();
    EXPECT_EQ(from_label("lab_write_msg1"), "Wrong ---");
    EXPECT_TRUE(find<QLabel>("lab_write_msg2")->isVisible());
    if (f.reason) {
        EXPECT_EQ(from_label("lab_write_msg2"), f.reason);
        EXPECT_TRUE(tab->panel(edid_write_side).text->text().empty());
    } else {
        const std::string why = from_label("lab_write_msg2");
        EXPECT_TRUE(why == "Data" || why == "Header" || why == "Checksum" || why == "Block No.")
            << why;
    }
    EXPECT_TRUE(dialogs.messages.empty());
    // Even 10 MB is refused without freezing the window. Checked before the
    // file's digest, whose own 50 ms on 10 MB would count against the window.
    expect_responsive(probe);
    EXPECT_EQ(digest(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadEdidFileTest,
    ::testing::Values(BadEdidFile{"empty.bin", QByteArray()},
                      BadEdidFile{"ten_mb.bin", QByteArray(10 * 1024 * 1024, '\x5A')},
                      BadEdidFile{"binary.hex", every_byte_value(), nullptr},
                      BadEdidFile{"ten_mb.hex", QByteArray("00 ").repeated(3500000)},
                      BadEdidFile{"ten_mb.ddc", QByteArray(10 * 1024 * 1024, '\x5A')},
                      BadEdidFile{"long.bin", QByteArray(514, '\x00')},
                      BadEdidFile{"short.ddc", QByteArray(100, '\xFF')},
                      BadEdidFile{"empty.ddc", QByteArray()}),
    [](const ::testing::TestParamInfo<BadEdidFile>& i) {
        std::string n = i.param.name;
        for (char& c : n)
            if (c == '.') c = '_';
        return n;
    });

TEST_F(FaultTest, ProgramDirectoryThatTakesNoWritesAtExitKeepsTheOldFiles) {
    write_settings(1, "10.0.0.7", 2);
    const QString settings = dir.path() + "/Daveri_ini.txt";
    const QString favourites = dir.path() + "/v4_timing_pattern_fav.ini";
    const QByteArray settings_before = digest(settings);
    const QByteArray favourites_before = digest(favourites);
    const int files_before = QDir(dir.path()).entryList(QDir::Files).size();
    MainWindow& w = open_window();
    find<QComboBox>("cbo_interface")->setCurrentIndex(0);  // something to save
    w.cbo_interface_Click();

    // A file size limit of 0 makes every write fail, even for root, where
    // permissions would not.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = old;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    w.form_unload();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    // Told once, naming the file; each old file whole; no half-written leftovers.
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("/Daveri_ini.txt: "), std::string::npos)
        << dialogs.messages[0];
    EXPECT_EQ(digest(settings), settings_before);
    EXPECT_EQ(digest(favourites), favourites_before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files_before);
}

// An installed program: the shipped folder (which a user cannot write) is
// only read; the settings and favourites land in the user's folder, and the
// next start reads them back from there.
TEST_F(FaultTest, InstalledProgramReadsShippedFilesAndWritesOnlyTheUsersFolder) {
    QTemporaryDir user_parent;
    ASSERT_TRUE(user_parent.isValid());
    const ProgramPlaces places{dir.path().toStdString(),
                               (user_parent.path() + "/t27-controller").toStdString()};
    const QString user = QString::fromStdString(places.user);
    QMap<QString, QByteArray> shipped_before;
    for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
        shipped_before[f] = digest(dir.path() + "/" + f);

    for (int start = 0; start < 2; ++start) {
        window = std::make_unique<MainWindow>(places, dialogs);
        install_pages(*window);
        window->form_load();
        // The pictures come from the shipped folder.
        EXPECT_FALSE(find<QLabel>("img_refresh")->pixmap().isNull());
        EXPECT_EQ(window->state().catalogue.timing_count() > 0, true);
        if (start == 0) {
            find<QComboBox>("cbo_interface")->setCurrentIndex(1);
            window->cbo_interface_Click();
        } else {
            EXPECT_EQ(find<QComboBox>("cbo_interface")->currentIndex(), 1);  // read back
        }
        window->form_unload();
        window.reset();
    }
    for (const char* f : {"Daveri_ini.txt", "v4_timing_pattern_fav.ini"})
        EXPECT_TRUE(QFileInfo(user + "/" + f).size() > 0) << f;
    // The catalogue is read where it was shipped, so an upgrade reaches it.
    EXPECT_FALSE(QFileInfo::exists(user + "/v4_timing_pattern.ini"));
    QMap<QString, QByteArray> shipped_after;
    for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
        shipped_after[f] = digest(dir.path() + "/" + f);
    EXPECT_EQ(shipped_after, shipped_before);
}

TEST_F(FaultTest, DamagedSettingsCatalogueAndMappingFilesGiveDefaults) {
    QByteArray noise;
    for (int i = 0; i < 200000; ++i) noise.append(static_cast<char>((i * 7919) & 0xFF));
    write_file("Daveri_ini.txt", noise);
    write_file("v4_timing_pattern.ini", "99999999\r\n\"only one\"\r\n");
    write_file("v4_timing_pattern_fav.ini", noise.left(5000));
    write_file("com_ports.txt", "COM0=/dev/a\nCOM17=/dev/b\nCOM3=\nCOM2=/dev/c\nCOM2=/dev/d\n" +
                                    QByteArray(100000, 'C') + "\n" + noise.left(3000));
    MainWindow& w = open_window();

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(find<QComboBox>("cbo_com")->count(), 16);
    EXPECT_EQ(w.com_map().device_for(17), "");
    EXPECT_EQ(w.com_map().device_for(0), "");
    // A damaged settings file falls back to the defaults field by field: a
    // usable interface and an address the IP check can judge.
    const int iface = find<QComboBox>("cbo_interface")->currentIndex();
    EXPECT_TRUE(iface == 0 || iface == 1);
    find<QPushButton>("cmd_main_1")->click();
    find<QPushButton>("cmd_main_2")->click();
    EXPECT_FALSE(w.link().cmdtx_busy);
}

TEST_F(FaultTest, MotionTextIsCutAtTwentyCharacters) {
    open_window();
    find<QPushButton>("cmd_main_2")->click();  // the Pattern page is built when first opened
    auto* text = find<QLineEdit>("txt_motion_text");
    ASSERT_NE(text, nullptr);
    text->setText(QString(60, QLatin1Char('M')));
    EXPECT_EQ(text->text().size(), 20);
    text->clear();
    text->insert(QStringLiteral("0123456789012345678901234567890"));  // a paste
    EXPECT_EQ(text->text(), "01234567890123456789");
}

}  // namespace
}  // namespace t27::testing
