// The analyser against realistic signals: t27-unit-sim plays each signal
// scenario, `t27ctl monitor-report` and `t27ctl monitor watch` read it as a
// user would. The expected figures come from this file's own CTA-861 table,
// written from the standard, not from the simulator's.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <sstream>
#include <vector>

#include "tests/e2e/process_support.h"

namespace t27::testing {
namespace {

struct Timing {
    int vic;
    const char* name;  // the format as the standard names it
    int ha, va, ht, vt;
    int pixel_khz;
    bool interlaced;
};

// clang-format off
constexpr Timing cta[] = {
    {2,  "720x480p59.94", 720,  480,  858,  525,  27000,  false},
    {4,  "1280x720p60",   1280, 720,  1650, 750,  74250,  false},
    {16, "1920x1080p60",  1920, 1080, 2200, 1125, 148500, false},
    {19, "1280x720p50",   1280, 720,  1980, 750,  74250,  false},
    {20, "1920x1080i50",  1920, 1080, 2640, 1125, 74250,  true},
    {32, "1920x1080p24",  1920, 1080, 2750, 1125, 74250,  false},
    {96, "3840x2160p50",  3840, 2160, 5280, 2250, 594000, false},
    {97, "3840x2160p60",  3840, 2160, 4400, 2250, 594000, false},
};
// clang-format on

const Timing* timing_of(int vic) {
    for (const Timing& t : cta)
        if (t.vic == vic) return &t;
    return nullptr;
}

enum Encoding { rgb, ycc422, ycc444, ycc420 };

struct Expected {
    const char* scenario;
    int vic;  // 0: no signal
    bool frame_packed;
    Encoding encoding;
    int depth;          // 0: no GCP
    bool avi;           // the colour space is known
    const char* audio;  // the System section's "Source Audio", empty for none
    const char* packets;
    int audio_rate_hz;  // 0: no audio clock
    std::vector<const char*> lines;
};

const char* encoding_text(Encoding e) {
    constexpr const char* texts[] = {"RGB", "YCbCr422", "YCbCr444", "YCbCr420"};
    return texts[e];
}

// The TMDS character rate: deep colour raises it, 4:2:2 never does, 4:2:0
// halves the pixel rate first.
long long tmds_khz(long long pixel_khz, Encoding e, int depth) {
    if (e == ycc422) return pixel_khz;
    if (e == ycc420) return pixel_khz * depth / 16;
    return pixel_khz * depth / 8;
}

std::string report(const std::string& listen) {
    const CtlResult r = run_ctl({"--tcp", QString::fromStdString(listen), "monitor-report"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r.out;
}

bool has_line(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos;
}

std::string value_after(const std::string& text, const std::string& label) {
    const std::size_t at = text.find("\n" + label);
    if (at == std::string::npos) return {};
    const std::size_t from = at + 1 + label.size();
    return text.substr(from, text.find('\n', from) - from);
}

TEST(MonitorCli, ListsEveryScenarioWithADescription) {
    QProcess p;
    p.start(QStringLiteral(T27_SIM_BIN), {"--list-scenarios"});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 0);
    std::istringstream in(p.readAllStandardOutput().toStdString());
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_GT(line.size(), tab + 1) << line;
        names.push_back(line.substr(0, tab));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"1080p60", "2160p60-hdr10", "2160p50-hlg-420",
                                               "1080i50-ac3", "1080p24-hbr", "1080p60-pcm8",
                                               "720p50-3d", "720p60-dvi", "480p-avmute",
                                               "1080p60-hdcp-fail", "no-signal"}));
}

TEST(MonitorCli, ReportShowsEachScenarioAsTheStandardTimesIt) {
    // clang-format off
    const Expected table[] = {
        {"1080p60", 16, false, rgb, 8, true, "LPCM", "GCP AVI AIF ", 48000,
         {"   Channel No.   =  2"}},
        {"2160p60-hdr10", 97, false, ycc422, 12, true, "LPCM", "GCP AVI AIF HDR ", 48000,
         {"   EOTF     = 2:SMPTE ST 2084[2]", "   Max. Content Light Level       = 1000",
          "   Max. Frame-Average Light Level = 400", "   Extended Colorimetry = BT2020(2)",
          "Source Tx HDCP = v2.2_on", "Source Tx SCDC Scramble Enable = on"}},
        {"2160p50-hlg-420", 96, false, ycc420, 10, true, "LPCM", "GCP AVI AIF HDR ", 48000,
         {"   EOTF     = 3:HLG", "   Extended Colorimetry = BT2020(2)",
          "Source Tx SCDC Scramble Enable = on"}},
        {"1080i50-ac3", 20, false, ycc444, 8, true, "NON-LPCM", "GCP AVI AIF ", 48000,
         {"   Coding Type   = Refer to stream header", "   Channel No.   =  6",
          "   Sampling Rate = Refer to stream header",
          "Source Scan = Interlace", "Source Tx SCDC Scramble Enable = off"}},
        {"1080p24-hbr", 32, false, ycc444, 8, true, "HBR", "GCP AVI AIF ", 192000,
         {"   Channel No.   =  8", "   Sampling Rate = Refer to stream header",
          "Source HBR       = on"}},
        {"1080p60-pcm8", 16, false, rgb, 8, true, "LPCM", "GCP AVI AIF ", 96000,
         {"   Coding Type   = Refer to stream header", "   Channel No.   =  8",
          "   Sampling Rate = Refer to stream header", "   Sampling Size = Refer to stream header",
          "Source CHS Sampling Rate = 96 kHz", "Source CHS Sampling Size = 24 Bits",
          "   Speaker Place = RRC RLC RR RL FC LFE FR FL",
          "Source ASP Ch No.= 8"}},
        {"720p50-3d", 19, true, rgb, 8, true, "LPCM", "GCP AVI AIF VSI ", 48000,
         {"   HDMI Video Format = 3D Format", "   3D Structure      = Frame Packing"}},
        {"720p60-dvi", 4, false, rgb, 0, false, "", "", 0,
         {"Source TMDS Format = DVI", "Source AIF = off", "Source ACR       = off"}},
        {"480p-avmute", 2, false, rgb, 8, true, "", "GCP AVI AIF ", 48000,
         {"Source AVMute = Set", "Source ASP       = off", "   Colorimetry = ITU601"}},
        {"1080p60-hdcp-fail", 16, false, rgb, 8, true, "LPCM", "GCP AVI AIF ", 48000,
         {"Source Tx HDCP = v1.4_fail"}},
        {"no-signal", 0, false, rgb, 0, false, "", "", 0,
         {"Source +5V   = off", "Source Clock = off", "Source Sync  = off",
          "Source ACR       = off"}},
    };
    // clang-format on

    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    for (const Expected& e : table) {
        SCOPED_TRACE(e.scenario);
        ASSERT_EQ(sim.control_line(std::string("scenario ") + e.scenario), "ok");
        const std::string r = report(sim.listen);
        ASSERT_NE(r.find("========== Monitor HDCP & SCDC"), std::string::npos) << r;

        if (const Timing* t = timing_of(e.vic)) {
            const int fp = e.frame_packed ? 2 : 1;
            // Frame packing: both eyes and the blank between them in one frame.
            const long long pixel = static_cast<long long>(t->pixel_khz) * fp;
            const int vt = t->vt * fp;
            const int va = e.frame_packed ? 2 * t->va + (t->vt - t->va) : t->va;
            const double v_hz =
                pixel * 1000.0 / (static_cast<double>(t->ht) * vt) * (t->interlaced ? 2 : 1);
            char v_text[16];
            std::snprintf(v_text, sizeof v_text, "%.2f", v_hz);
            const long long h_hz = std::llround(pixel * 1000.0 / t->ht);
            const int depth = e.depth ? e.depth : 8;

            EXPECT_TRUE(has_line(r, std::string("Source Resolution  = ") + t->name)) << r;
            EXPECT_TRUE(has_line(r, "Source Pixel Clock= " + std::to_string(pixel) + " kHz")) << r;
            EXPECT_TRUE(has_line(
                r, "Source TMDS Clock = " + std::to_string(tmds_khz(pixel, e.encoding, depth)) +
                       " kHz"))
                << r;
            EXPECT_TRUE(
                has_line(r, "Source H Total         = " + std::to_string(t->ht) + " pixel"));
            EXPECT_TRUE(
                has_line(r, "Source H Active        = " + std::to_string(t->ha) + " pixel"));
            EXPECT_TRUE(has_line(r, "Source V Total         = " + std::to_string(vt) + " line"));
            EXPECT_TRUE(has_line(r, "Source V Active        = " + std::to_string(va) + " line"));
            EXPECT_TRUE(has_line(r, "Source H Frequency = " + std::to_string(h_hz) + " Hz")) << r;
            EXPECT_TRUE(has_line(r, std::string("Source V Frequency =") + v_text + " Hz")) << r;
            EXPECT_TRUE(has_line(r, "Source +5V   = on"));
        }
        if (e.avi) {
            EXPECT_TRUE(
                has_line(r, std::string("Source Color Space = ") + encoding_text(e.encoding)));
            EXPECT_NE(r.find("\n   VIC =  " + std::to_string(e.vic) + " "), std::string::npos);
        } else {
            EXPECT_TRUE(has_line(r, "Source Color Space = None"));
        }
        // 4:2:2 carries 12 bits without deep-colour packing: the GCP says nothing.
        if (e.depth && e.encoding == ycc422)
            EXPECT_TRUE(has_line(r, "Source Color Depth = Not Indicated")) << r;
        else if (e.depth)
            EXPECT_TRUE(has_line(r, "Source Color Depth = " + std::to_string(e.depth))) << r;
        else
            EXPECT_TRUE(has_line(r, "Source Deep Color = None")) << r;
        if (*e.audio)
            EXPECT_TRUE(has_line(r, std::string("Source Audio = ") + e.audio)) << r;
        else
            EXPECT_EQ(r.find("\nSource Audio = "), std::string::npos) << r;
        EXPECT_TRUE(has_line(r, std::string("Source Packets = ") + e.packets)) << r;
        for (const char* line : e.lines) EXPECT_TRUE(has_line(r, line)) << line << "\n" << r;

        // Audio clock regeneration: 128 fs = f_TMDS * N / CTS.
        if (e.audio_rate_hz) {
            const double n = std::stod(value_after(r, "Source ACR N     = "));
            const double cts = std::stod(value_after(r, "Source ACR CTS   = "));
            const double tmds_hz = std::stod(value_after(r, "Source TMDS Clock = ")) * 1000;
            EXPECT_NEAR(tmds_hz * n / cts / 128, e.audio_rate_hz, 1.0);
        }
    }
}

// "...T10:00:00.123" -> milliseconds since midnight.
std::optional<long long> ms_of_day(const std::string& json_line) {
    const std::size_t t = json_line.find("T");
    if (t == std::string::npos || json_line.size() < t + 13) return std::nullopt;
    const std::string hms = json_line.substr(t + 1, 12);
    int h = 0, m = 0, s = 0, ms = 0;
    if (std::sscanf(hms.c_str(), "%d:%d:%d.%d", &h, &m, &s, &ms) != 4) return std::nullopt;
    return ((h * 60LL + m) * 60 + s) * 1000 + ms;
}

TEST(MonitorCli, WatchShowsAScenarioSwitchWithinOnePollCycle) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    QProcess watch;
    watch.start(QStringLiteral(T27CTL_BIN), {"--tcp", QString::fromStdString(sim.listen), "monitor",
                                             "watch", "--json", "--duration", "6"});
    ASSERT_TRUE(watch.waitForStarted(5000));

    std::vector<std::string> lines;
    auto read_until = [&](const std::string& needle, int timeout_ms) {
        QDeadlineTimer deadline(timeout_ms);
        for (;;) {
            while (watch.canReadLine()) {
                lines.push_back(watch.readLine().trimmed().toStdString());
                if (lines.back().find(needle) != std::string::npos) return true;
            }
            if (deadline.hasExpired() || !watch.waitForReadyRead(200)) {
                if (deadline.hasExpired() || watch.state() == QProcess::NotRunning) return false;
            }
        }
    };
    // The snapshot ends with the sink's items; everything before it was seen.
    ASSERT_TRUE(read_until("\"item\": \"Sink Rx EDID Model\"", 5000));
    bool first_resolution = false;
    for (const std::string& l : lines)
        first_resolution =
            first_resolution || l.ends_with(
                                    "\"item\": \"Source Resolution\", \"old\": null, \"new\": "
                                    "\"1920x1080p60\"}");
    EXPECT_TRUE(first_resolution) << lines.front();

    const long long switched = QTime::currentTime().msecsSinceStartOfDay();
    ASSERT_EQ(sim.control_line("scenario 2160p60-hdr10"), "ok");
    ASSERT_TRUE(
        read_until("\"item\": \"Source Packet HDR\", \"old\": \"absent\", \"new\": "
                   "\"present\"",
                   4000));
    const std::string hdr_line = lines.back();
    bool resolution = false;
    for (const std::string& l : lines) {
        if (l.find("\"item\": \"Source Resolution\", \"old\": \"1920x1080p60\", \"new\": "
                   "\"3840x2160p60\"") == std::string::npos)
            continue;
        resolution = true;
        // One System cycle is 38 requests, each a reply plus a 20 ms tick.
        EXPECT_LT(*ms_of_day(l) - switched, 2500) << l;
    }
    EXPECT_TRUE(resolution);
    EXPECT_LT(*ms_of_day(hdr_line) - switched, 2500) << hdr_line;

    ASSERT_TRUE(watch.waitForFinished(10000));
    EXPECT_EQ(watch.exitCode(), 0) << watch.readAllStandardError().toStdString();
}

// A 100 ms dropout against the real simulator over TCP: reported once, timed
// by the reads around it to within a few milliseconds, counted at the end,
// and nothing read inside it listed as a change.
TEST(MonitorCli, HuntReportsADropoutOnceWithItsLength) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    QProcess watch;
    watch.start(QStringLiteral(T27CTL_BIN), {"--tcp", QString::fromStdString(sim.listen), "monitor",
                                             "watch", "--hunt", "--json", "--duration", "4"});
    ASSERT_TRUE(watch.waitForStarted(5000));
    ASSERT_TRUE(watch.waitForReadyRead(5000));  // linked and hunting
    QDeadlineTimer settle(1000);
    while (!settle.hasExpired()) watch.waitForReadyRead(50);
    ASSERT_EQ(sim.control_line("glitch no-signal 100"), "ok");
    ASSERT_TRUE(watch.waitForFinished(10000));
    EXPECT_EQ(watch.exitCode(), 0) << watch.readAllStandardError().toStdString();
    std::vector<std::string> dropouts, summary;
    for (const QByteArray& l : watch.readAllStandardOutput().split('\n')) {
        const std::string line = l.toStdString();
        if (line.starts_with("{\"dropout\": true")) dropouts.push_back(line);
        if (line.starts_with("{\"summary\": true")) summary.push_back(line);
        EXPECT_EQ(line.find("\"old\": \"on\", \"new\": \"off\""), std::string::npos) << line;
    }
    ASSERT_EQ(dropouts.size(), 1u);
    const std::size_t ms_at = dropouts[0].find("\"ms\": ");
    ASSERT_NE(ms_at, std::string::npos) << dropouts[0];
    const int ms = std::stoi(dropouts[0].substr(ms_at + 6));
    EXPECT_GE(ms, 90) << dropouts[0];
    EXPECT_LE(ms, 150) << dropouts[0];  // a busy machine may hold a read back
    EXPECT_NE(dropouts[0].find("\"lost\": true"), std::string::npos) << dropouts[0];
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_NE(summary[0].find("\"dropouts\": 1,"), std::string::npos) << summary[0];
}

// The verdict `monitor check --json` gives a rule, empty when the rule is
// not in the document.
std::string verdict_of(const std::string& json, const std::string& rule) {
    const std::string key = "{\"rule\": \"" + rule + "\", \"verdict\": \"";
    const std::size_t at = json.find(key);
    if (at == std::string::npos) return {};
    const std::size_t from = at + key.size();
    return json.substr(from, json.find('"', from) - from);
}

TEST(MonitorCli, CheckHoldsEachScenarioAgainstTheEdidInTheInputSlot) {
    struct Row {
        const char* scenario;
        const char* edid;               // from tests/data/edid
        std::vector<const char*> edit;  // options of "t27ctl edid edit"
        const char* rule;               // nullptr: every rule, none failing
        const char* verdict;
    };
    // clang-format off
    const Row rows[] = {
        {"2160p60-hdr10", "hdmi-tv-4k-hdr.bin", {}, nullptr, "PASS"},
        {"2160p60-hdr10", "hdmi-tv-4k-hdr.bin", {"--hdr", "none"}, "HDR EOTF", "FAIL"},
        {"1080p60-pcm8", "hdmi-tv-hd.bin", {}, "Audio format", "FAIL"},
        {"2160p50-hlg-420", "hdmi-tv-4k-hdr.bin", {}, "YCbCr 4:2:0", "PASS"},
        {"2160p50-hlg-420", "hdmi-tv-4k-hdr.bin", {"--remove-vic", "96"}, "YCbCr 4:2:0", "FAIL"},
        {"720p60-dvi", "hdmi-tv-hd.bin", {}, "AVI InfoFrame", "FAIL"},
        {"1080p60", "dvi-monitor.bin", {}, "DVI sink", "FAIL"},
        {"720p50-3d", "hdmi-tv-1080i.bin", {}, "3D", "PASS"},
        {"1080p24-hbr", "hdmi-tv-4k-hdr.bin", {}, "HBR audio", "FAIL"},
    };
    // clang-format on
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    const QString tcp = QString::fromStdString(sim.listen);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.scenario) + " against " + r.edid);
        ASSERT_EQ(sim.control_line(std::string("scenario ") + r.scenario), "ok");
        QString image = QStringLiteral(T27_EDID_TEST_DATA "/") + r.edid;
        if (!r.edit.empty()) {
            const QString edited = dir.filePath(QStringLiteral("edited.bin"));
            QStringList args = {"edid", "edit", image, edited};
            for (const char* a : r.edit) args << a;
            const CtlResult e = run_ctl(args);
            ASSERT_EQ(e.exit_code, 0) << e.err;
            image = edited;
        }
        // Into user slot 3, which the input then presents.
        const CtlResult w = run_ctl({"--tcp", tcp, "edid", "write", "c3", image});
        ASSERT_EQ(w.exit_code, 0) << w.out << w.err;
        ASSERT_EQ(run_ctl({"--tcp", tcp, "send", "$edid_rx c3"}).exit_code, 0);

        const CtlResult c = run_ctl({"--tcp", tcp, "monitor", "check", "--json"});
        ASSERT_NE(c.out.find("\"edid\": \"Rx EDID, user slot c3 \\\""), std::string::npos) << c.out;
        const bool failed = c.out.find("\"verdict\": \"FAIL\"") != std::string::npos;
        EXPECT_EQ(c.exit_code, failed ? 1 : 0) << c.err;
        if (r.rule) {
            EXPECT_EQ(verdict_of(c.out, r.rule), r.verdict) << c.out;
        } else {
            EXPECT_FALSE(failed) << c.out;
            EXPECT_GE(count_of(c.out, "\"verdict\": \"PASS\""), 7) << c.out;
        }
    }

    // A file given by the user instead of the slot, as a table.
    ASSERT_EQ(sim.control_line("scenario 1080p60"), "ok");
    const CtlResult f = run_ctl({"--tcp", tcp, "monitor", "check", "--edid",
                                 QStringLiteral(T27_EDID_TEST_DATA "/hdmi-tv-hd.bin")});
    EXPECT_EQ(f.exit_code, 0) << f.out << f.err;
    EXPECT_NE(f.out.find("Audio format        PASS"), std::string::npos) << f.out;
    const CtlResult bad = run_ctl(
        {"--tcp", tcp, "monitor", "check", "--edid", dir.filePath(QStringLiteral("missing.bin"))});
    EXPECT_EQ(bad.exit_code, 3) << bad.err;
    EXPECT_EQ(run_ctl({"--tcp", tcp, "monitor", "check", "--duration", "1"}).exit_code, 64);
}

TEST(MonitorCli, CheckWatchPrintsAVerdictThatChanges) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--listen", "127.0.0.1:0", "--control", "127.0.0.1:0", "--quiet"}));
    ASSERT_EQ(run_ctl({"--tcp", QString::fromStdString(sim.listen), "edid", "write", "c1",
                       QStringLiteral(T27_EDID_TEST_DATA "/hdmi-tv-hd.bin")})
                  .exit_code,
              0);
    ASSERT_EQ(
        run_ctl({"--tcp", QString::fromStdString(sim.listen), "send", "$edid_rx c1"}).exit_code, 0);
    QProcess watch;
    watch.start(QStringLiteral(T27CTL_BIN), {"--tcp", QString::fromStdString(sim.listen), "monitor",
                                             "check", "--watch", "--duration", "4"});
    ASSERT_TRUE(watch.waitForStarted(5000));
    std::string out;
    QDeadlineTimer table(5000);
    while (out.find(" n.a.\n") == std::string::npos && !table.hasExpired()) {
        watch.waitForReadyRead(200);
        out += watch.readAll().toStdString();
    }
    ASSERT_NE(out.find("Audio format        PASS"), std::string::npos) << out;
    ASSERT_EQ(sim.control_line("scenario 1080p60-pcm8"), "ok");
    ASSERT_TRUE(watch.waitForFinished(10000));
    out += watch.readAll().toStdString();
    EXPECT_NE(out.find(" Audio format: PASS -> FAIL L-PCM 8 ch 96 kHz / L-PCM 2 ch"),
              std::string::npos)
        << out;
    // The rule failed during the watch, though not when it began.
    EXPECT_EQ(watch.exitCode(), 1);
}

}  // namespace
}  // namespace t27::testing
