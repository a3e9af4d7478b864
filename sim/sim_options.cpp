#include "sim/sim_options.h"

#include <charconv>

#include "sim/control.h"

namespace t27::sim {

namespace {

bool parse_int(const std::string& s, int lo, int hi, int& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && out >= lo && out <= hi;
}

}  // namespace

bool parse_endpoint(const std::string& text, Endpoint& out) {
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    std::array<std::uint8_t, 4> ip{};
    if (!parse_ipv4(std::string_view(text).substr(0, colon), ip)) return false;
    int port = 0;
    if (!parse_int(text.substr(colon + 1), 0, 65535, port)) return false;
    out = Endpoint{text.substr(0, colon), port};
    return true;
}

std::string parse_options(const std::vector<std::string>& args, SimOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) -> bool {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--pty") {
            o.pty = true;
        } else if (a == "--listen") {
            if (!value(v)) return a + " needs ADDR:PORT or none";
            if (v == "none") {
                o.tcp = false;
            } else if (!parse_endpoint(v, o.listen)) {
                return a + ": '" + v + "' is not ADDR:PORT";
            } else {
                o.tcp = true;
            }
        } else if (a == "--pty-link") {
            if (!value(o.pty_link) || o.pty_link.empty()) return a + " needs a path";
            o.pty = true;
        } else if (a == "--baud") {
            if (!value(v) || !parse_int(v, 0, 10000000, o.baud))
                return a + " needs a rate (0 = off)";
        } else if (a == "--discovery") {
            if (!value(v) || !parse_endpoint(v, o.discovery_at)) return a + " needs ADDR:PORT";
            o.discovery = true;
        } else if (a == "--discovery-malformed") {
            if (!value(v) || !is_malformed_variant(v))
                return a + " needs overrun, truncated, desc-first, no-desc or huge-len";
            o.discovery_malformed = v;
        } else if (a == "--discovery-name") {
            if (!value(o.discovery_id.name)) return a + " needs a text";
            o.discovery_name_given = true;
        } else if (a == "--discovery-description") {
            if (!value(o.discovery_id.description)) return a + " needs a text";
        } else if (a == "--discovery-ip") {
            if (!value(v) || !parse_ipv4(v, o.discovery_id.ip)) return a + " needs A.B.C.D";
            o.discovery_ip_given = true;
        } else if (a == "--discovery-mac") {
            if (!value(v) || !parse_mac(v, o.discovery_id.mac))
                return a + " needs XX:XX:XX:XX:XX:XX";
        } else if (a == "--control") {
            if (!value(v) || !parse_endpoint(v, o.control_at)) return a + " needs ADDR:PORT";
            o.control = true;
        } else if (a == "--wire-log") {
            if (!value(o.wire_log) || o.wire_log.empty()) return a + " needs a file";
        } else if (a == "--model") {
            if (!value(o.model)) return a + " needs a text";
        } else if (a == "--fw") {
            if (!value(o.fw)) return a + " needs a text";
        } else if (a == "--task") {
            if (!value(o.task)) return a + " needs analyser, pattern or cable";
        } else if (a == "--sink") {
            if (!value(o.sink)) return a + " needs a sink name";
        } else if (a == "--scenario") {
            if (!value(o.scenario) || o.scenario.empty()) return a + " needs a scenario name";
        } else if (a == "--list-scenarios") {
            o.list_scenarios = true;
        } else if (a == "--board") {
            if (!value(v) || !parse_int(v, 0, 255, o.board)) return a + " needs a number 0 to 255";
        } else if (a == "--time-scale") {
            if (!value(o.time_scale)) return a + " needs a number";
        } else if (a == "--cable") {
            if (!value(o.cable)) return a + " needs good, marginal or bad";
        } else if (a == "--fault") {
            if (!value(v)) return a + " needs a fault";
            o.faults.push_back(v);
        } else {
            return "unknown option '" + a + "' (see --help)";
        }
    }
    if (!o.tcp && !o.pty) return "nothing to serve: --listen none needs --pty";
    return {};
}

std::string usage_text() {
    std::string s =
        "Usage: t27-unit-sim [options]\n"
        "A software stand-in for the T27 HDMI test unit: answers its command protocol\n"
        "over TCP and a pseudo-terminal, answers discovery, and can misbehave on demand.\n"
        "\n"
        "Where it listens:\n"
        "  --listen ADDR:PORT        TCP server, one client at a time; a new client\n"
        "                            replaces the old (default 127.0.0.1:23; port 0 picks\n"
        "                            a free port; \"none\" serves the pty only)\n"
        "  --pty                     also serve a pseudo-terminal (prints \"PTY /dev/pts/N\")\n"
        "  --pty-link PATH           symlink PATH to the pseudo-terminal (implies --pty)\n"
        "  --baud N                  emulate a serial line of N baud (10 bits per byte) on\n"
        "                            what the unit writes; default 115200 on the pty and\n"
        "                            none on TCP; 0 turns it off everywhere\n"
        "  --discovery ADDR:PORT     answer discovery datagrams on this UDP address only\n"
        "  --discovery-name TEXT     name record (default: the model text)\n"
        "  --discovery-description TEXT\n"
        "  --discovery-ip A.B.C.D    IP record (default: the listen address)\n"
        "  --discovery-mac XX:..:XX  MAC record (default 02:00:27:00:00:01)\n"
        "  --discovery-malformed V   broken answers: overrun, truncated, desc-first,\n"
        "                            no-desc, huge-len\n"
        "  --control ADDR:PORT       control channel (TCP, text lines, answers \"ok\" or\n"
        "                            \"error: ...\")\n"
        "\n"
        "What the unit is:\n"
        "  --model TEXT              model text (default T27)\n"
        "  --board N                 board id (default 0)\n"
        "  --fw TEXT                 firmware text (default 2.18.07)\n"
        "  --task MODE               analyser, pattern or cable (default analyser)\n"
        "  --sink NAME               attached sink: none, default, d1..d10, 3block, 4block\n"
        "  --scenario NAME           what the source on the input sends (default 1080p60)\n"
        "  --list-scenarios          print the scenario names, a tab and what each sends\n"
        "  --time-scale N            the cable test clock runs N times real time\n"
        "  --cable 'Q [S]'           cable under test: good, marginal or bad, its\n"
        "                            errors showing S test seconds in (default 45)\n"
        "  --fault FORM              arm a fault at start (repeatable; forms below)\n"
        "\n"
        "Output:\n"
        "  --wire-log FILE           append every byte received from the program\n"
        "  --quiet                   no log of connections on stderr\n"
        "  --help                    this text\n"
        "  --version                 the version, then exit\n"
        "\n"
        "On start it prints, one per line and flushed: \"PTY /dev/pts/N\", \"DISCOVERY\n"
        "ADDR:PORT\", \"CONTROL ADDR:PORT\", \"LISTEN ADDR:PORT\" (those that apply, real\n"
        "ports), then \"READY\". SIGTERM or SIGINT ends it cleanly.\n"
        "\n"
        "Exit: 0 ended by SIGTERM or SIGINT (or --help, --version, --list-scenarios\n"
        "done); 1 a socket, the pseudo-terminal or the control channel could not be\n"
        "opened; 2 a bad option, setting or --fault form.\n"
        "\n"
        "Control commands and --fault forms:\n";
    s += control_help();
    return s;
}

}  // namespace t27::sim
