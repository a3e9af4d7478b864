#pragma once
// Command line of t27-unit-sim.
#include <string>
#include <vector>

#include "sim/discovery.h"

namespace t27::sim {

struct Endpoint {
    std::string host;  // dotted IPv4
    int port = 0;
};

// "127.0.0.1:2323" → endpoint; false when malformed.
bool parse_endpoint(const std::string& text, Endpoint& out);

struct SimOptions {
    bool tcp = true;
    Endpoint listen{"127.0.0.1", 23};
    bool pty = false;
    std::string pty_link;
    int baud = -1;  // -1: 115200 on the pty, none on TCP; 0: no emulated rate anywhere
    bool discovery = false;
    Endpoint discovery_at;
    std::string discovery_malformed;
    DiscoveryIdentity discovery_id;
    bool discovery_name_given = false;
    bool discovery_ip_given = false;
    bool control = false;
    Endpoint control_at;
    std::string wire_log;
    std::string model, fw, task, sink;
    std::string scenario;  // empty: the default source
    bool list_scenarios = false;
    int board = -1;
    std::string time_scale, cable;  // cable test: "set time-scale", "set cable" values
    std::vector<std::string> faults;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Empty on success, else a message naming the bad option.
std::string parse_options(const std::vector<std::string>& args, SimOptions& out);

std::string usage_text();

}  // namespace t27::sim
