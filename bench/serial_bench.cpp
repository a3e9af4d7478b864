// t27-bench-serial: the transaction engine on the program's serial transport,
// over a pseudo-terminal to t27-unit-sim running as a separate process and
// sending at the byte rate of 115200 baud.
//   t27-bench-serial edid [ROUNDS]    a four-block sink read
//   t27-bench-serial report [ROUNDS]  the monitor report of all five sections
// Each round's figure is its elapsed time over the wire-time floor of the bytes
// that crossed in it (requests, reply lines, data blocks at 11.52 bytes/ms);
// the last line gives the median round.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "analyser/analyser_state.h"
#include "analyser/decode_reply.h"
#include "analyser/monitor_report.h"
#include "bench/counting_transport.h"
#include "bench/quiet_views.h"
#include "bench/sim_child.h"
#include "bench/stats.h"
#include "edid/unit/unit_exchange.h"
#include "protocol/command_table.h"
#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "protocol/qt/qt_pump.h"
#include "protocol/qt/qt_serial_transport.h"

namespace {

namespace bench = t27::bench;

// 115200 baud with a start and a stop bit: ten bit times per byte.
constexpr double wire_bytes_per_ms = 11.52;

int usage() {
    std::cerr << "usage: t27-bench-serial edid|report [ROUNDS]\n";
    return 64;
}

class SerialLink {
  public:
    SerialLink() : engine_(link_, unit_, pump_, view_), serial_(pump_), counted_(serial_) {
        engine_.set_serial(&counted_);
        serial_.on_read_failure = [this] {
            serial_.close();
            link_.serial_open = false;
        };
    }
    ~SerialLink() { serial_.close(); }

    bool open(const std::string& device, std::string& error) {
        link_.link_interface = t27::interface_rs232;
        QString why;
        if (!serial_.open(QString::fromStdString(device), &why)) {
            error = "cannot open " + device + ": " + why.toStdString();
            return false;
        }
        link_.serial_open = true;
        t27::link_sequence(engine_, view_);
        if (unit_.model_family == t27::not_known) {
            error = "the unit was not identified over " + device;
            return false;
        }
        return true;
    }

    // Elapsed time over the floor for one run of `work`; false when the run
    // failed (with the reason in `error`).
    bool measure(const std::function<bool(std::string&)>& work, double& ratio, std::string& detail,
                 std::string& error) {
        counted_.sent = counted_.received = 0;
        QElapsedTimer t;
        t.start();
        if (!work(error)) return false;
        const double elapsed_ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const std::size_t bytes = counted_.sent + counted_.received;
        const double floor_ms = static_cast<double>(bytes) / wire_bytes_per_ms;
        ratio = elapsed_ms / floor_ms;
        // The simulator paces only what the unit sends; requests reach it
        // at once over a pty, so the replies alone are the floor it can show.
        const double replies_ms = static_cast<double>(counted_.received) / wire_bytes_per_ms;
        detail = bench::fixed(elapsed_ms, 1) + " ms for " + std::to_string(counted_.sent) +
                 " bytes out + " + std::to_string(counted_.received) + " bytes in, floor " +
                 bench::fixed(floor_ms, 1) + " ms (replies alone " +
                 bench::fixed(elapsed_ms / replies_ms, 3) + " of theirs)";
        if (!view_.messages.empty()) {
            error = "the engine showed \"" + view_.messages.front() + "\"";
            return false;
        }
        return true;
    }

    t27::Engine& engine() { return engine_; }
    t27::LinkState& link() { return link_; }
    t27::UnitIdentity& unit() { return unit_; }

  private:
    t27::LinkState link_;
    t27::UnitIdentity unit_;
    t27::QtPump pump_;
    bench::QuietView view_;
    t27::Engine engine_;
    t27::QtSerialTransport serial_;
    bench::CountingTransport counted_;
};

bool read_sink(SerialLink& s, std::string& error) {
    const t27::EdidReadResult r = t27::edid_read_unit(s.engine(), "sink_h");
    if (r.end != t27::EdidReadEnd::complete || r.blocks_read != 4) {
        error = "the sink read stopped after " + std::to_string(r.blocks_read) + " blocks";
        return false;
    }
    return true;
}

// The report as the Monitor tab's REPORT button builds it.
bool build_report(SerialLink& s, std::string& error) {
    t27::Engine& engine = s.engine();
    const t27::LinkState& l = s.link();
    t27::ReportContext ctx;
    ctx.task_mode = s.unit().task_mode;
    ctx.model_family = s.unit().model_family;
    ctx.linked_model = s.unit().linked_model;
    t27::AnalyserState state;
    std::array<bool, t27::analyser_view_count> all{};
    all.fill(true);
    const t27::ReportSections r = t27::build_report_sections(all, ctx, state, [&](int index) {
        engine.cmdtx_str(t27::command_text(index) + "\r");
        t27::ReportReply reply;
        reply.status = l.cmdrx_status;
        if (reply.status == t27::ReplyStatus::Accepted ||
            reply.status == t27::ReplyStatus::ErrorReply) {
            engine.cmdrx_param_get();
            reply.params = t27::PollReply{l.cmdrx_param1, l.cmdrx_param2, l.cmdrx_param3};
        }
        return reply;
    });
    if (r.aborted || r.text.empty()) {
        error = "the report was aborted";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return usage();
    const std::string mode = argv[1];
    if (mode != "edid" && mode != "report") return usage();
    int rounds = argc > 2 ? std::atoi(argv[2]) : 0;
    if (rounds <= 0) rounds = mode == "edid" ? 7 : 3;

    bench::SimChild sim;
    SerialLink link;
    std::string error;
    bool ok = sim.start(bench::sim_program(),
                        {"--listen", "none", "--pty", "--sink", "4block", "--quiet"}, error) &&
              link.open(sim.pty(), error);
    std::vector<double> ratios;
    for (int round = 0; ok && round < rounds; ++round) {
        double ratio = 0;
        std::string detail;
        ok = link.measure(
            [&](std::string& e) {
                return mode == "edid" ? read_sink(link, e) : build_report(link, e);
            },
            ratio, detail, error);
        if (!ok) break;
        ratios.push_back(ratio);
        std::cout << "round " << round + 1 << ": " << detail << ", ratio " << bench::fixed(ratio, 3)
                  << "\n"
                  << std::flush;
    }
    if (!ok) {
        std::cout << "t27-bench-serial " << mode << ": FAILED: " << error << "\n";
        return 1;
    }
    std::cout << (mode == "edid" ? "four-block sink read" : "monitor report, five sections")
              << " over a 115200-baud pty: elapsed / wire floor = "
              << bench::fixed(bench::median(ratios), 3) << " (median of " << rounds
              << " rounds; target <= 1.2)\n";
    return 0;
}
