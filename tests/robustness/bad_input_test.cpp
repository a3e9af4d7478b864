// Bad input through the whole window: each gets a clear message or a safe
// default, never a crash, and what was on disk stays as it was.
#include <sys/resource.h>

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <csignal>

#include "edid/ui/edid_tab.h"
#include "generator/output_requests.h"
#include "tests/e2e/process_support.h"
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

// ---- text from a person or a unit -----------------------------------------------------

// The same hostile texts for every input that takes text. `sent`: the text
// may reach the unit as it stands; otherwise it is refused with a message
// holding `why` and the unit hears nothing of it.
struct HostileText {
    const char* name;
    QString text;
    bool sent;
    const char* why;
};

const std::vector<HostileText>& hostile_texts() {
    static const std::vector<HostileText> rows = {
        {"empty", QString(), true, ""},
        {"100000 characters", QString(100000, QLatin1Char('M')), true, ""},
        {"CR", QStringLiteral("hi\r$task_mode cable"), false, "control characters (CR found)"},
        {"LF", QStringLiteral("ab\ncd"), false, "control characters (LF found)"},
        {"CR LF", QStringLiteral("ab\r\ncd"), false, "control characters (CR found)"},
        {"NUL", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"), false, "(NUL found)"},
        {"ESC", QStringLiteral("\x1B]0;title\x07"), false, "(ESC found)"},
        {"DEL", QStringLiteral("ab\x7F"), false, "(DEL found)"},
        {"Latin-1", QStringLiteral("caf\u00E9 \u00FC"), true, ""},
        {"beyond Latin-1", QStringLiteral("\u20AC 5"), false, "cannot show (U+20AC)"},
        {"lone word", QStringLiteral("System"), true, ""},
        {"options", QStringLiteral("x --yes -- -o y"), true, ""},
    };
    return rows;
}

std::string latin1(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

class HostileTextTest : public FaultTest {
  protected:
    void SetUp() override {
        FaultTest::SetUp();
        ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0"}, wire_log()));
    }
    std::string wire() const { return read_file("wire.log").toStdString(); }
    // What reached the unit while `act` ran.
    std::string sent_by(const std::function<void()>& act) {
        const std::size_t before = wire().size();
        act();
        wait_until([&] { return !window || !window->link().cmdtx_busy; });
        run_events_for(50);  // the simulator's log is written as it reads
        return wire().substr(before);
    }
    FaultSim sim;
};

void press_enter(QWidget* w) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &down);
}

// Each field of the window that puts typed text into a request: what it
// shows is what goes, or nothing goes and a message says why.
TEST_F(HostileTextTest, WindowTextFieldsSendWhatTheyShowOrNothing) {
    linked_over_tcp(sim);
    window->lab_monitor_eye_cmd_Click();
    find<QPushButton>("cmd_main_0")->click();  // EDID: the slot rename
    find<QComboBox>("imgcbo_write")->setCurrentIndex(4);  // c3
    find<QPushButton>("cmd_main_2")->click();  // Pattern: the motion text
    wait_until([&] { return !window->link().cmdtx_busy; });
    run_events_for(200);
    struct Field {
        const char* name;
        const char* request;  // what the field's text follows
        std::function<void()> send;
        const char* empty_why;  // a field that refuses an empty text says this
    };
    const Field fields[] = {
        {"txt_motion_text", "$motion_text ",
         [&] { press_enter(find<QLineEdit>("txt_motion_text")); }, nullptr},
        {"txt_edid_rename", "$edid_name c3,",
         [&] { find<QPushButton>("cmd_write_rename")->click(); }, "Wrong name"},
        {"txt_tx_str", "", [&] { find<QPushButton>("cmd_tx_str")->click(); }, nullptr},
    };
    for (const Field& f : fields) {
        auto* field = find<QLineEdit>(f.name);
        ASSERT_NE(field, nullptr) << f.name;
        for (const HostileText& row : hostile_texts()) {
            SCOPED_TRACE(std::string(f.name) + ", " + row.name);
            field->setText(row.text);
            const QString shown = field->text().trimmed();  // as long as the field takes
            const std::size_t messages = dialogs.messages.size();
            const std::string sent = sent_by(f.send);
            const bool refused_empty = row.text.isEmpty() && f.empty_why;
            if (row.sent && !refused_empty) {
                // A request left unanswered goes a second time.
                const std::string request = f.request + latin1(shown) + "\r";
                EXPECT_TRUE(sent == request || sent == request + request) << sent;
                EXPECT_EQ(dialogs.messages.size(), messages) << dialogs.messages.back();
                continue;
            }
            EXPECT_EQ(sent, "");
            ASSERT_EQ(dialogs.messages.size(), messages + 1);
            EXPECT_NE(dialogs.messages.back().find(refused_empty ? f.empty_why : row.why),
                      std::string::npos)
                << dialogs.messages.back();
        }
    }
}

// Words and options of t27ctl that go into requests: the same rule, checked
// before the link opens, so a refused text leaves the unit untouched.
TEST_F(HostileTextTest, T27ctlTextArgumentsSendWhatWasGivenOrNothing) {
    const QStringList link = {"--tcp", QString::fromStdString(sim.announced("LISTEN"))};
    const std::string link_queries = "$model?\r$board_id?\r$fwver?\r$task_mode?\r";
    struct Place {
        const char* name;
        std::function<QStringList(const QString&)> args;
        std::function<std::string(const std::string&)> request;  // for a sent text
        const char* empty_why;
        int max;  // characters the place takes, 0: any
    };
    const Place places[] = {
        {"send LINE", [](const QString& t) { return QStringList{"send", t}; },
         [](const std::string& t) { return t + "\r"; }, "is empty", 0},
        {"pattern set --motion-text",
         [](const QString& t) {
             return QStringList{"pattern", "set", "41", "--motion-text", t};
         },
         [](const std::string& t) { return "$pattern 41\r$motion_text " + t + "\r"; }, nullptr,
         motion_text_max},
    };
    ASSERT_EQ(sim.control("set task pattern"), "ok");
    for (const Place& p : places) {
        for (const HostileText& row : hostile_texts()) {
            if (row.text.contains(QChar(0))) continue;  // no argument can hold a NUL
            SCOPED_TRACE(std::string(p.name) + ", " + row.name);
            CtlResult r;
            const std::string sent = sent_by([&] { r = run_ctl(link + p.args(row.text)); });
            const bool too_long = p.max && row.text.size() > p.max;
            const bool empty_refused = row.text.isEmpty() && p.empty_why;
            if (row.sent && !too_long && !empty_refused) {
                EXPECT_EQ(sent, link_queries + p.request(latin1(row.text.trimmed()))) << r.err;
                continue;
            }
            EXPECT_EQ(r.exit_code, 64) << r.err;
            EXPECT_EQ(sent, "");  // not even the link
            const char* why = too_long ? "at most 20 characters" : empty_refused ? p.empty_why : row.why;
            EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        }
    }
}

// File names go to the file system only: a bad one is a message and the unit
// hears nothing but the link.
TEST_F(HostileTextTest, FileNamesReachOnlyTheFileSystem) {
    const QStringList link = {"--tcp", QString::fromStdString(sim.announced("LISTEN"))};
    for (const HostileText& row : hostile_texts()) {
        if (row.text.contains(QChar(0))) continue;  // no argument or path can hold a NUL
        SCOPED_TRACE(row.name);
        const QString name = dir.path() + "/" + row.text.left(200);
        CtlResult r;
        const std::string sent = sent_by([&] { r = run_ctl(link + QStringList{"edid", "write", "c3", name}); });
        EXPECT_NE(r.exit_code, 0);
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(sent.find("$edid_write"), std::string::npos) << sent;
    }
}

// Text the unit sends: never raw to a terminal or pipe; JSON escapes it; a
// report file keeps the bytes as SAVE writes them.
TEST_F(HostileTextTest, UnitTextReachesTheTerminalEscaped) {
    const QStringList link = {"--tcp", QString::fromStdString(sim.announced("LISTEN"))};
    struct Row {
        const char* name;
        std::string firmware;  // the unit's firmware version text
        const char* shown;     // how t27ctl prints it
    };
    const Row rows[] = {
        {"ESC", "2.1\x1B]0;pwn\x07X", "2.1\\x1B]0;pwn\\x07X"},
        {"DEL and C1", "2.1\x7F\x9B" "2", "2.1\\x7F\\x9B2"},
        {"NUL", std::string("2.1\0X", 5), "2.1\\x00X"},
        {"Latin-1", "2.1\xE9", "2.1\xC3\xA9"},
        {"lone word", "2.18", "2.18"},
    };
    auto no_control = [](const std::string& out) {
        for (const char c : out)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) return false;
        return true;
    };
    const QString file = dir.path() + "/report.txt";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(sim.control("set fw " + row.firmware), "ok");
        CtlResult r = run_ctl(link + QStringList{"send", "$fwver?"});
        EXPECT_TRUE(no_control(r.out)) << r.out;
        EXPECT_NE(r.out.find(std::string("param1: ") + row.shown + "\n"), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find(std::string("FW: ") + row.shown + " task="), std::string::npos)
            << r.out;

        r = run_ctl(link + QStringList{"send", "--json", "$fwver?"});
        EXPECT_TRUE(no_control(r.out));
        EXPECT_FALSE(QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).isNull()) << r.out;

        r = run_ctl(link + QStringList{"monitor-report", "--section", "System"});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_TRUE(no_control(r.out)) << r.out;
        EXPECT_NE(r.out.find(row.shown), std::string::npos) << r.out;
        r = run_ctl(link + QStringList{"monitor-report", "--section", "System", "-o", file});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_NE(read_file("report.txt").toStdString().find(row.firmware), std::string::npos);
    }
    // A value the Monitor shows, as monitor watch prints it.
    ASSERT_EQ(sim.control("set source tmds_format HDMI\x1B]0;pwn\x07"), "ok");
    const CtlResult w = run_ctl(
        link + QStringList{"monitor", "watch", "--view", "system", "--duration", "1"});
    EXPECT_TRUE(no_control(w.out)) << w.out;
    EXPECT_NE(w.out.find("Source Format: HDMI\\x1B]0;PWN\\x07\n"), std::string::npos) << w.out;
}

}  // namespace
}  // namespace t27::testing
