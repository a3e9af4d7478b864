#!/usr/bin/env python3
"""Dropout hunt benchmark: how many short dropouts `t27ctl monitor watch --hunt`
catches, and how well it times them, beside plain `monitor watch --view system`
in the same run.

For each link (TCP, and the pseudo-terminal at 115200 baud) two simulators run
side by side, one watched with --hunt and one plainly. Both get the same
"glitch no-signal MS" at the same moment, MS drawn in random order from the
lengths, with a random pause between glitches. The truth is each simulator's
own log of when it switched; what each watcher saw comes from its JSON lines.

    bench/dropout_bench.py --bin build/bin [--per-length 200] [--lengths 20,50,100,500]
                           [--links tcp,pty] [--seed N] [--json FILE]

The last line is the hunt's share of caught 100 ms dropouts over the plain
watch's, both measured in this run.
"""
import argparse
import datetime
import json
import os
import random
import re
import socket
import statistics
import subprocess
import sys
import threading
import time

GLITCH_LOG = re.compile(r"^(\S+) glitch no-signal(?: (\d+) ms: start|: end)")
# The plain watch sees a dropout as a change of one of these to a value that
# means "no signal", and back.
SIGNAL_ITEMS = {"Source +5V", "Source Clock", "Source Sync", "Source Resolution"}
GONE = {"off", "none", ""}


def parse_time(text):
    return datetime.datetime.fromisoformat(text).timestamp() * 1000.0


class Sim:
    def __init__(self, binary, link):
        args = [binary, "--control", "127.0.0.1:0"]
        args += ["--listen", "127.0.0.1:0"] if link == "tcp" else ["--listen", "none", "--pty"]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True, bufsize=1)
        self.listen = self.pty = self.control = None
        for line in self.proc.stdout:
            word, _, rest = line.strip().partition(" ")
            if word == "LISTEN":
                self.listen = rest
            elif word == "PTY":
                self.pty = rest
            elif word == "CONTROL":
                self.control = rest
            elif word == "READY":
                break
        host, port = self.control.rsplit(":", 1)
        self.sock = socket.create_connection((host, int(port)))
        self.sock_file = self.sock.makefile("r")
        self.glitches = []  # [start_ms, end_ms, length]
        self.log_thread = threading.Thread(target=self._read_log, daemon=True)
        self.log_thread.start()

    def _read_log(self):
        for line in self.proc.stderr:
            m = GLITCH_LOG.match(line.strip())
            if not m:
                continue
            t = parse_time(m.group(1))
            if m.group(2):
                self.glitches.append([t, None, int(m.group(2))])
            elif self.glitches and self.glitches[-1][1] is None:
                self.glitches[-1][1] = t

    def send(self, line):
        self.sock.sendall((line + "\n").encode())

    def answer(self):
        return self.sock_file.readline().strip()

    def link_args(self):
        return ["--tcp", self.listen] if self.listen else ["--serial", self.pty]

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)
        self.log_thread.join(timeout=5)


class Watch:
    def __init__(self, ctl, sim, hunt):
        args = [ctl] + sim.link_args() + ["monitor", "watch", "--json"]
        args += ["--hunt"] if hunt else ["--view", "system"]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True, bufsize=1)
        self.lines = []
        self.ready = threading.Event()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        for line in self.proc.stdout:
            try:
                obj = json.loads(line)
            except ValueError:
                continue
            self.lines.append(obj)
            if obj.get("item") == "Sink Rx EDID Model" and obj.get("old") is None:
                self.ready.set()

    def stop(self):
        self.proc.send_signal(2)  # Ctrl-C: prints the summary
        try:
            self.proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        self.thread.join(timeout=5)

    def dropouts(self):
        """(start_ms, end_ms) of each dropout the watch reported or showed."""
        if any(o.get("dropout") for o in self.lines):
            return [(parse_time(o["start"]), parse_time(o["end"]))
                    for o in self.lines if o.get("dropout")]
        out, gone_since = [], None
        for o in self.lines:
            if o.get("item") not in SIGNAL_ITEMS or o.get("old") is None:
                continue
            t = parse_time(o["time"])
            bad = o["new"] in GONE
            if bad and gone_since is None:
                gone_since = t
            elif not bad and gone_since is not None and o["old"] in GONE:
                out.append((gone_since, t))
                gone_since = None
        return out

    def summary(self):
        for o in reversed(self.lines):
            if o.get("summary"):
                return o
        return {}


def score(glitches, seen, late_ms):
    """Per length: (caught, count, duration errors in ms). A dropout counts as
    caught when a reported one starts inside it, or up to `late_ms` after its
    end (the read that saw it may be answered after the source came back)."""
    result = {}
    for start, end, length in glitches:
        if end is None:
            continue
        caught = [s for s in seen if start - 5.0 <= s[0] <= end + late_ms]
        c = result.setdefault(length, [0, 0, []])
        c[1] += 1
        if caught:
            c[0] += 1
            c[2].append(abs((caught[0][1] - caught[0][0]) - (end - start)))
    return result


def run_link(args, link, lengths, rng, report):
    sims = {"hunt": Sim(args.sim, link), "plain": Sim(args.sim, link)}
    watches = {m: Watch(args.ctl, sims[m], m == "hunt") for m in sims}
    for m, w in watches.items():
        if not w.ready.wait(60):
            sys.exit(f"dropout_bench: {link} {m} watch did not come up: "
                     f"{w.proc.stderr.read() if w.proc.poll() is not None else ''}")
    plan = [length for length in lengths for _ in range(args.per_length)]
    rng.shuffle(plan)
    started = time.monotonic()
    for length in plan:
        time.sleep(rng.uniform(args.gap_min, args.gap_max) / 1000.0)
        for s in sims.values():
            s.send(f"glitch no-signal {length}")
        for s in sims.values():
            if s.answer() != "ok":
                sys.exit("dropout_bench: the simulator refused a glitch")
        time.sleep(length / 1000.0)
    time.sleep(args.gap_max / 1000.0 + 1.0)
    elapsed = time.monotonic() - started
    for w in watches.values():
        w.stop()
    for s in sims.values():
        s.stop()
    hunt_summary = watches["hunt"].summary()
    round_ms = hunt_summary.get("round_us", 0) / 1000.0
    # Five requests a round: four signal items and one of the rest.
    rtt_ms = round_ms / 5 if round_ms else 0.0
    # Either watch times a read when its reply is in: up to one request late.
    late = {m: max(5.0, 2 * rtt_ms) for m in sims}
    report[link] = {
        "elapsed_s": round(elapsed, 1),
        "hunt_round_ms": round(round_ms, 2),
        "request_ms": round(rtt_ms, 2),
        "modes": {m: score(sims[m].glitches, watches[m].dropouts(), late[m]) for m in sims},
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--bin", default=os.path.join(here, "..", "build", "bin"))
    p.add_argument("--per-length", type=int, default=200)
    p.add_argument("--lengths", default="20,50,100,500")
    p.add_argument("--links", default="tcp,pty")
    p.add_argument("--gap-min", type=float, default=300.0, help="ms between glitches, least")
    p.add_argument("--gap-max", type=float, default=1200.0, help="ms between glitches, most")
    p.add_argument("--seed", type=int, default=None)
    p.add_argument("--json", default=None, help="also write the figures here")
    args = p.parse_args()
    args.sim = os.path.join(args.bin, "t27-unit-sim")
    args.ctl = os.path.join(args.bin, "t27ctl")
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    lengths = [int(x) for x in args.lengths.split(",")]
    load_before = os.getloadavg()
    report = {"seed": seed, "per_length": args.per_length, "load_before": load_before}
    threads = []
    # Both links at once, each with its own random plan: one run, one machine load.
    for n, link in enumerate(args.links.split(",")):
        rng = random.Random(seed + n)
        t = threading.Thread(target=run_link, args=(args, link, lengths, rng, report))
        t.start()
        threads.append(t)
    for t in threads:
        t.join()
    report["load_after"] = os.getloadavg()

    print(f"seed {seed}, {args.per_length} dropouts per length and link, "
          f"load {load_before[0]:.1f} before, {report['load_after'][0]:.1f} after")
    print(f"{'link':5} {'mode':6} {'length':>6} {'caught':>9} {'share':>7} "
          f"{'err med':>8} {'err p95':>8} {'err max':>8}")
    for link in args.links.split(","):
        r = report[link]
        for mode in ("hunt", "plain"):
            for length in lengths:
                caught, count, errors = r["modes"][mode].get(length, [0, 0, []])
                share = 100.0 * caught / count if count else 0.0
                med = statistics.median(errors) if errors else float("nan")
                p95 = sorted(errors)[int(0.95 * (len(errors) - 1))] if errors else float("nan")
                worst = max(errors) if errors else float("nan")
                print(f"{link:5} {mode:6} {length:6} {caught:4}/{count:<4} {share:6.1f}% "
                      f"{med:8.1f} {p95:8.1f} {worst:8.1f}")
        print(f"{link:5} limit: one request {r['request_ms']} ms, hunt round "
              f"{r['hunt_round_ms']} ms (every dropout longer than a round is caught)")
    if args.json:
        with open(args.json, "w") as f:
            json.dump(report, f, indent=1, default=str)

    def share(mode, link):
        caught, count, _ = report[link]["modes"][mode].get(100, [0, 0, []])
        return caught / count if count else 0.0

    hunt = min(share("hunt", link) for link in args.links.split(","))
    plain = max(share("plain", link) for link in args.links.split(","))
    ratio = hunt / plain if plain else float("inf")
    print(f"100 ms dropouts caught, hunt over plain watch (worst link / best link): {ratio:.2f}")


if __name__ == "__main__":
    main()
