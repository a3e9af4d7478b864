// t27-bench-exec: whole programs timed side by side, alternating which goes
// first in each round so that drifting load on a shared machine falls on both.
//   t27-bench-exec startup ROUNDS PROGRAM_DIR CONTROLLER MINIMAL
//       each program runs on the offscreen platform with T27_SHOWN_EXIT set,
//       prints "shown" once its window is up and leaves; timed from the spawn
//       to that line. Figure: controller / minimal Qt Widgets program.
//   t27-bench-exec startup-ab ROUNDS PROGRAM_DIR CONTROLLER_A CONTROLLER_B
//       the same for two builds of the window program (hardened or not, -z
//       now or not), both with PROGRAM_DIR. Figure: A / B.
//   t27-bench-exec edid ROUNDS T27CTL EDID_DECODE FILE...
//       "T27CTL edid report FILE" and "EDID_DECODE FILE" once per file, whole
//       process, output discarded. Figure: t27ctl / edid-decode.
// The last line holds the figure: the ratio of the two medians over rounds.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "bench/stats.h"

extern char** environ;

namespace {

namespace bench = t27::bench;

double now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Run {
    bool ok = false;
    int exit_code = -1;
    double ms = 0;
};

// Spawns `argv` with `extra_env` added. With `marker` empty the time runs to
// the process's exit; otherwise to the first stdout line equal to `marker`
// (the process is then waited for, untimed).
Run run(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env,
        const std::string& marker) {
    Run r;
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) env_text.emplace_back(*e);
    env_text.insert(env_text.end(), extra_env.begin(), extra_env.end());
    std::vector<char*> envp, args;
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argv_copy = argv;
    for (std::string& a : argv_copy) args.push_back(a.data());
    args.push_back(nullptr);

    int out[2] = {-1, -1};
    if (!marker.empty() && pipe2(out, O_CLOEXEC) != 0) return r;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (marker.empty())
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);

    const double start = now_ms();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, args[0], &fa, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (!marker.empty()) close(out[1]);
    if (spawned != 0) {
        if (!marker.empty()) close(out[0]);
        return r;
    }

    bool marked = marker.empty();
    if (!marker.empty()) {
        std::string got;
        char buf[256];
        for (;;) {
            const ssize_t n = read(out[0], buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got.append(buf, static_cast<std::size_t>(n));
            if (got.find(marker + "\n") != std::string::npos) {
                r.ms = now_ms() - start;
                marked = true;
                break;
            }
        }
        close(out[0]);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (marker.empty()) r.ms = now_ms() - start;
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.ok = marked && WIFEXITED(status);
    return r;
}

std::string base_name(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int usage() {
    std::cerr << "usage: t27-bench-exec startup ROUNDS PROGRAM_DIR CONTROLLER MINIMAL\n"
                 "       t27-bench-exec startup-ab ROUNDS PROGRAM_DIR CONTROLLER_A CONTROLLER_B\n"
                 "       t27-bench-exec edid ROUNDS T27CTL EDID_DECODE FILE...\n";
    return 64;
}

void print_round(int round, double a, double b) {
    std::cout << "round " << round << ": " << bench::fixed(a, 1) << " ms / " << bench::fixed(b, 1)
              << " ms\n"
              << std::flush;
}

int startup(int rounds, const std::string& program_dir, const std::string& controller,
            const std::string& minimal, bool both_controllers = false) {
    const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "T27_SHOWN_EXIT=1"};
    const std::vector<std::string> a = {controller, "--program-dir", program_dir};
    const std::vector<std::string> b =
        both_controllers ? std::vector<std::string>{minimal, "--program-dir", program_dir}
                         : std::vector<std::string>{minimal};
    std::vector<double> ta, tb;
    // One untimed run each first: the libraries and fonts come off the disk.
    for (int round = 0; round <= rounds; ++round) {
        const bool a_first = round % 2 == 0;
        Run ra, rb;
        if (a_first) ra = run(a, env, "shown");
        rb = run(b, env, "shown");
        if (!a_first) ra = run(a, env, "shown");
        if (!ra.ok || !rb.ok) {
            std::cout << "t27-bench-exec startup: FAILED: "
                      << base_name(ra.ok ? minimal : controller) << " did not report its window\n";
            return 1;
        }
        if (round == 0) continue;
        ta.push_back(ra.ms);
        tb.push_back(rb.ms);
        print_round(round, ra.ms, rb.ms);
    }
    const double ma = bench::median(ta), mb = bench::median(tb);
    if (both_controllers) {
        std::cout << "start-up to window shown: " << controller << " " << bench::fixed(ma, 1)
                  << " ms / " << minimal << " " << bench::fixed(mb, 1)
                  << " ms = " << bench::fixed(ma / mb, 3) << " (median of " << rounds
                  << " rounds)\n";
        return 0;
    }
    std::cout << "start-up to window shown: t27-controller " << bench::fixed(ma, 1)
              << " ms / minimal Qt Widgets program " << bench::fixed(mb, 1)
              << " ms = " << bench::fixed(ma / mb, 3) << " (median of " << rounds
              << " rounds; target <= 1.5)\n";
    return 0;
}

int edid(int rounds, const std::string& t27ctl, const std::string& edid_decode,
         const std::vector<std::string>& files) {
    std::vector<double> ta, tb;
    int refused = 0;
    for (int round = 0; round <= rounds; ++round) {
        const bool a_first = round % 2 == 0;
        double sa = 0, sb = 0;
        for (const std::string& f : files) {
            Run ra, rb;
            if (a_first) ra = run({t27ctl, "edid", "report", f}, {}, "");
            rb = run({edid_decode, f}, {}, "");
            if (!a_first) ra = run({t27ctl, "edid", "report", f}, {}, "");
            if (!ra.ok || !rb.ok) {
                std::cout << "t27-bench-exec edid: FAILED: could not run on " << f << "\n";
                return 1;
            }
            if (round == 0 && ra.exit_code != 0) ++refused;
            sa += ra.ms;
            sb += rb.ms;
        }
        if (round == 0) continue;
        ta.push_back(sa);
        tb.push_back(sb);
        print_round(round, sa, sb);
    }
    if (refused)
        std::cout << refused << " of " << files.size() << " files were refused by "
                  << base_name(t27ctl) << " (not an EDID it analyses)\n";
    const double ma = bench::median(ta), mb = bench::median(tb);
    std::cout << "EDID analysis of " << files.size() << " files: " << base_name(t27ctl)
              << " edid report " << bench::fixed(ma, 1) << " ms / " << base_name(edid_decode) << " "
              << bench::fixed(mb, 1) << " ms = " << bench::fixed(ma / mb, 3) << " (median of "
              << rounds << " rounds; target <= 1.0)\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) return usage();
    const int rounds = std::atoi(args[1].c_str());
    if (rounds <= 0) return usage();
    if (args[0] == "startup" && args.size() == 5) return startup(rounds, args[2], args[3], args[4]);
    if (args[0] == "startup-ab" && args.size() == 5)
        return startup(rounds, args[2], args[3], args[4], true);
    if (args[0] == "edid" && args.size() >= 5)
        return edid(rounds, args[2], args[3],
                    std::vector<std::string>(args.begin() + 4, args.end()));
    return usage();
}
