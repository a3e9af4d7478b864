#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/<target>/.

Every seed is built here from the test images in tests/data/edid, the
catalogues in data/, the command table and the reply forms the unit uses, so
the corpus can be made again and reviewed. Run from anywhere:

    python3 fuzz/make_corpus.py

Existing seeds of the same name are overwritten; nothing else is touched.
"""

import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"
EDID_DATA = ROOT / "tests" / "data" / "edid"
PROGRAM_DATA = ROOT / "data"


def command_indices():
    """Command-table texts by index, from protocol/command_table.cpp."""
    text = (ROOT / "protocol" / "command_table.cpp").read_text()
    return {int(i): t for i, t in re.findall(r'\{(\d+), "([^"]*)"\}', text)}


def analyser_commands():
    """The analyser's named command indices, from analyser/commands.h."""
    text = (ROOT / "analyser" / "commands.h").read_text()
    return {n: int(v) for n, v in re.findall(r"constexpr int (\w+) = (\d+);", text)}


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    (folder / name).write_bytes(data)


def triplets(block):
    return "".join("%02X " % b for b in block)


def infoframe(kind, version, payload):
    data = [kind, version, len(payload), 0] + list(payload)
    data[3] = (256 - sum(data) % 256) % 256
    return " ".join("%02X" % b for b in data)


def edid_images():
    return {p.name: p.read_bytes() for p in sorted(EDID_DATA.glob("*.bin"))}


# Engine: flags, chunk size, command index, bytes received.
BLOCK, EOT, MONITOR, NEAR_LIMIT, TRANSACTION, ETHERNET, QUIET = 1, 2, 4, 8, 16, 32, 64


def engine_seed(flags, chunk, index, wire):
    if isinstance(wire, str):
        wire = wire.encode("latin-1")
    return bytes([flags, chunk, index]) + wire


def engine_corpus(commands):
    by_text = {t: i for i, t in commands.items()}
    manuf = by_text["$edid_manuf? rx"]
    pattern = by_text["$pattern? "]
    block0 = edid_images()["hdmi-tv-hd.bin"][:128]
    block = triplets(block0) + "\r\n"
    seeds = {
        "model": engine_seed(0, 0, 0, "$model? T27\r\n"),
        "firmware-serial-chunks": engine_seed(0, 3, 0, "$fwver? 2.18.07\r\n"),
        "three-params": engine_seed(0, 0, 0, "$timing? 16,1920x1080p60,ok\r\n"),
        # The word "None" as a parameter of its own, read like an absent one.
        "literal-none-parameter": engine_seed(0, 5, 0, "$model? None,T27,x\r\n"),
        "error-reply": engine_seed(0, 0, 0, "$foo err_cmd\r\n"),
        "unsolicited-then-reply": engine_seed(MONITOR, 7, 0,
                                              "$boot ready\r\n$model? T27\r\n"),
        "block-read": engine_seed(BLOCK, 50, 0,
                                  "$edid_read sink_h,block0\r\n" + block + "trailing"),
        "block-read-monitor": engine_seed(BLOCK | MONITOR, 0, 0,
                                          "$edid_read d1,block1\r\n" + block),
        "block-ddc-error": engine_seed(BLOCK, 0, 0, "$edid_read err_ddc,block0\r\n"),
        "block-err-line": engine_seed(BLOCK, 0, 0, "$err no_sink\r\n"),
        "block-short": engine_seed(BLOCK, 0, 0, "$edid_read d1,block0\r\n" + block[:200]),
        "help-eot": engine_seed(EOT | MONITOR, 5, 0,
                                "$help\r\n$model?\r\n$fwver?\r\n\x04"),
        "eot-near-log-limit": engine_seed(EOT | MONITOR | NEAR_LIMIT, 0, 0,
                                          "$help\r\n$boot?\r\n\x04"),
        "controls-and-latin1": engine_seed(MONITOR, 0, 0, b"$a \x1b\x01\x7f\xe9\x04\r\n"),
        "transaction-serial": engine_seed(TRANSACTION, 4, manuf, "$edid_manuf? ABC\r\n"),
        "transaction-ethernet": engine_seed(TRANSACTION | ETHERNET, 0, manuf,
                                            "$edid_manuf? ABC\r\n"),
        "transaction-wrong-word": engine_seed(TRANSACTION | QUIET, 0, manuf,
                                              "$wrongword ABC\r\n"),
        "transaction-pattern": engine_seed(TRANSACTION, 0, pattern, "$pattern? 12\r\n"),
        "transaction-block": engine_seed(TRANSACTION | BLOCK, 40, manuf,
                                         "$edid_manuf? rx\r\n" + block),
        "transaction-silent": engine_seed(TRANSACTION | ETHERNET, 0, manuf, ""),
    }
    for name, data in seeds.items():
        write("fuzz_engine_receive", name, data)


def poll_seed(index, view, task_mode, line):
    modes = {0: 0, 1: 1, 2: 2, 254: 3}
    return bytes([index, view | (modes[task_mode] << 4)]) + line.encode("latin-1")


def poll_corpus(cmd):
    avi = infoframe(0x82, 2, [0x10, 0xA8, 0x00, 16] + [0] * 9)
    aif = infoframe(0x84, 1, [0x01] + [0] * 9)
    spd = infoframe(0x83, 1, list(b"SIMSRC\0\0") + list(b"SIM PLAYER\0\0\0\0\0\0") + [1])
    seeds = {
        "tmds-clock": (cmd["sd_tmds_clock"], 1, 0, "$source_detect? tmds_clock,148500\r\n"),
        "tmds-clock-8k": (cmd["sd_tmds_clock"], 1, 0, "$source_detect? tmds_clock,2376000000\r\n"),
        "pixel-clock": (cmd["sd_pixel_clock"], 0, 0, "$source_detect? pixel_clock,148500\r\n"),
        "ht": (cmd["sd_ht"], 1, 0, "$source_detect? ht,2200\r\n"),
        "vt": (cmd["sd_vt"], 1, 0, "$source_detect? vt,1125\r\n"),
        "scan": (cmd["sd_scan"], 1, 0, "$source_detect? scan,p\r\n"),
        "avi": (cmd["sd_avi"], 3, 0, "$source_detect? avi," + avi + "\r\n"),
        "aif": (cmd["sd_aif"], 3, 0, "$source_detect? aif," + aif + "\r\n"),
        "spd": (cmd["sd_spd"], 3, 0, "$source_detect? spd," + spd + "\r\n"),
        "vsi-off": (cmd["sd_vsi"], 3, 0, "$source_detect? vsi,off\r\n"),
        "asp": (cmd["sd_asp"], 2, 0, "$source_detect? asp,on\r\n"),
        "hdcp-bksv": (cmd["sd_hdcp_bksv"], 4, 0, "$source_detect? hdcp_bksv,5A 3C 96 E1 0F\r\n"),
        "sink-hotplug": (cmd["kd_hotplug"], 0, 1, "$sink_detect? hotplug,on\r\n"),
        "sink-hdcp": (cmd["kd_hdcp"], 4, 1, "$sink_detect? hdcp,v2.2\r\n"),
        "pattern": (cmd["pattern_q"], 0, 1, "$pattern? 2\r\n"),
        "timingx": (cmd["timingx_q"], 0, 1, "$timingx? 1920x1080p60\r\n"),
        "audio-source": (cmd["audio_source_q"], 2, 1, "$audio_source? hdmi\r\n"),
        "edid-type": (cmd["edid_type_sink"], 0, 1, "$edid_type? HDMI 6G\r\n"),
        "cable-result": (cmd["cable_result_q"], 0, 2, "$cable_result? pass,12,0\r\n"),
        "timer": (cmd["timer_second_q"], 0, 2, "$timer_second? 59\r\n"),
        "error": (cmd["sd_tmds_clock"], 1, 0, "$source_detect? err_item\r\n"),
        "unknown-mode": (cmd["sd_5v"], 0, 254, "$source_detect? 5v,on\r\n"),
    }
    for name, args in seeds.items():
        write("fuzz_poll_reply", name, poll_seed(*args))


def packet_corpus():
    seeds = {
        "avi-vic16": infoframe(0x82, 2, [0x10, 0xA8, 0x00, 16] + [0] * 9),
        "avi-ycbcr420-vic97-rep": infoframe(0x82, 3, [0x70, 0xC8, 0x70, 97, 0x09] + [0] * 8),
        "aif-2ch": infoframe(0x84, 1, [0x01] + [0] * 9),
        "aif-8ch-ext": infoframe(0x84, 1, [0xF7, 0x1F, 0x00, 0x13, 0x78, 0x80, 0, 0, 0, 0]),
        "gcp-avmute-10bit": "03 00 00 01 05 00 00",
        "spd": infoframe(0x83, 1, list(b"SIMSRC\0\0") + list(b"SIM PLAYER\0\0\0\0\0\0") + [1]),
        "vsi-4k": infoframe(0x81, 1, [0x03, 0x0C, 0x00, 0x20, 0x01]),
        "vsi-3d": infoframe(0x81, 1, [0x03, 0x0C, 0x00, 0x40, 0x60, 0x10]),
        "drm-pq": infoframe(0x87, 1, [0x02, 0x00] + [0x10, 0x27] * 10 + [0xE8, 0x03, 0x90, 0x01]),
        "lower-case-and-blanks": "  82 02 0d 5f 10 a8 00 10  ",
        "short-pair": "AB 1",
        "long-35-bytes": " ".join(["FF"] * 35),
    }
    for name, text in seeds.items():
        write("fuzz_packets", name, text)


def edid_corpus():
    images = edid_images()
    for name, data in images.items():
        write("fuzz_edid_bin", name, data)
    write("fuzz_edid_bin", "513-bytes", images["four-block-map.bin"] + b"\x00")
    for p in sorted(EDID_DATA.glob("*.ddc")):
        write("fuzz_edid_ddc", p.name, p.read_bytes())
    write("fuzz_edid_ddc", "dump-tv-1080i.ddc", bytes(range(256)) * 2 + images["hdmi-tv-1080i.bin"])

    def hex_text(data, c_language=False):
        lines = []
        for at in range(0, len(data), 8):
            row = data[at:at + 8]
            if c_language:
                lines.append("".join("0x%02X," % b for b in row) + "  // %X" % (at + 7))
            else:
                lines.append(" ".join("%02X" % b for b in row) + " //%X" % (at + 7))
            if (at + 8) % 128 == 0:
                lines.append("")
        return "\r\n".join(lines) + "\r\n"

    for p in sorted(EDID_DATA.glob("*.hex")):
        write("fuzz_edid_hex", p.name, p.read_bytes())
        write("fuzz_edid_text", p.name, p.read_bytes())
    write("fuzz_edid_hex", "hdmi-hf-6g.hex", hex_text(images["hdmi-hf-6g.bin"]))
    write("fuzz_edid_hex", "four-block-c.hex", hex_text(images["four-block-map.bin"], True))
    write("fuzz_edid_hex", "one-value-a-line.hex",
          "\n".join("%X" % b for b in images["analog-crt.bin"]) + "\n")
    write("fuzz_edid_text", "hdmi-tv-1080i.hex", hex_text(images["hdmi-tv-1080i.bin"]))
    write("fuzz_edid_text", "reply-block", triplets(images["dvi-monitor.bin"][:128]) + "\r\n")
    write("fuzz_edid_text", "0x-prefixes", "0x00, 0xff,0xFF 0Xff\r\n// comment only\r\nF\r\n")


def discovery_corpus():
    def record(kind, value):
        return bytes([kind, len(value)]) + value

    mac = record(2, bytes([0x02, 0x00, 0x27, 0x00, 0x00, 0x01]))
    ip = record(3, bytes([127, 0, 0, 1]))
    name = record(13, b"T27")
    desc = record(14, b"HDMI test unit")
    head = b"\x02\x00"
    seeds = {
        "answer": head + mac + ip + name + desc,
        "desc-first": head + mac + name + desc + ip,
        "no-desc": head + mac + ip + name,
        "truncated": head + mac + ip[:4],
        "huge-len": head + bytes([2, 255]) + mac[2:] + ip + name + desc,
        "overrun": head + mac + ip + name + bytes([14, 54]) + b"HDMI test unit",
        "two-units": head + mac + ip + name + desc + record(13, b" RQTA-V5     x") + desc,
        "v4l-name": head + mac + ip + record(13, b"Vuririd Uva. 1") + desc,
        "request-echo": b"\x01\x00\xff\xff",
    }
    for n, data in seeds.items():
        write("fuzz_discovery", n, data)


def program_file_corpus():
    for p in sorted(PROGRAM_DATA.glob("*.ini")):
        target = "fuzz_favourites" if p.name.endswith("_fav.ini") else "fuzz_catalogue"
        write(target, p.name, p.read_bytes())
    write("fuzz_catalogue", "ends-early", "3\r\n\"640x480p 60Hz\"\r\n\"720x480p 60Hz\"\r\n")
    write("fuzz_catalogue", "bad-count", "2\r\n\"a\"\r\n\"b\"\r\n-1\r\n")
    write("fuzz_catalogue", "open-quote", "1\r\n\"a, b\r\n1\r\n\"c\"\r\n")
    write("fuzz_favourites", "damaged", "18\r\n30\r\nx\r\n1e3\r\n-4\r\n\"7\"\r\n2.5\r\n")

    def settings(*fields):
        return "".join(f + "\r\n" for f in fields)

    empty = ['""'] * 10
    write("fuzz_settings", "ethernet",
          settings("1", '"192.168.0.5"', "3", "1440", "-720",
                   '"C:\\edid\\panel a.hex"', '""', '"/home/bench/tv, living room.bin"',
                   *(['""'] * 7)))
    write("fuzz_settings", "serial-centred", settings("0", '""', "16", "", "", *empty))
    write("fuzz_settings", "fractional",
          "0\r\n10.0.0.7\r\n16\r\n2880.4\r\n1.5e+03\r\n" + '""\r\n' * 10)
    write("fuzz_settings", "bad-values",
          settings("7", '"10.1.1.1"', "17", "left", "300", '"/a.hex"'))
    write("fuzz_settings", "open-quote", settings("0", '"1.2.3.4"', "2", "0", "0", '"/a.hex"',
                                                  '"/b.hex'))
    write("fuzz_settings", "big-position", settings("1", '"1.2.3.4"', "2", "2147483647",
                                                    "-2147483648", *empty))

    write("fuzz_com_map", "map", "# pinned ports\r\nCOM3=/dev/ttyUSB0\r\n 4 = /dev/pts/7 \r\n")
    write("fuzz_com_map", "bad-lines", "COM17=/dev/ttyS1\nCOM=x\n=\ncom2=\n")
    write("fuzz_com_map", "ip", "192.168.001.010")
    write("fuzz_com_map", "ip-odd", " a.b.-1.300 ")
    write("fuzz_com_map", "com-name", "com12")


def sim_corpus():
    block = triplets(edid_images()["hdmi-hf-6g.bin"][:128])
    seeds = {
        "identity": b"\x00$model?\r$fwver?\r$board_id?\r",
        "serial-pieces": b"\x03$task_mode pattern\r\n$task_mode?\r\n",
        "edid-read": b"\x00$edid_read sink_h,block0\r$edid_read d1,block1\r",
        "edid-write": b"\x00$edid_write c1,block0\r\n" + block.encode() + b"\r\n$edid_read c1,block0\r",
        "edid-write-serial": b"\x40$edid_write d2,block1\r\n" + block.encode() + b"\r",
        "status": b"\x00$source_detect? avi\r$sink_detect? hotplug\r$timingx?\r",
        "help": b"\x00$help\r$?\r",
        "settings": b"\x00$audio_mute on\r$audio_mute?\r$hdcp_out_sw off\r$factory\r",
        "faults": b"\x00#drop 1\x00$model?\r\x00#garbage 40\x00$fwver?\r\x00#dup\x00$boot?\r",
        "close-mid-block": b"\x00#close-mid-block\x00$edid_read sink_h,block0\r",
        "control-set": b"\x00#set sink 4block\x00#set task cable\x00$cable_run start\r$cable_run?\r",
        "long-line": b"\x00$" + b"x" * 1100 + b"\r$model?\r",
        "stray-bytes": b"\x01\n\n\r\x04$mo\x00del?\r",
    }
    for name, data in seeds.items():
        write("fuzz_sim_session", name, data)


def cable_corpus():
    # Positions in the cable poll list: level, run state, result, time, then
    # day, hour, minute, second.
    def cycle(level, run, result, time, clock, focus=0):
        replies = [(0, "$cable_level? " + level), (1, "$cable_run? " + run),
                   (2, "$cable_result? " + result), (3, "$cable_time? " + time)]
        names = ["$timer_day? ", "$timer_hour? ", "$timer_minute? ", "$timer_second? "]
        replies += [(4 + i, names[i] + v) for i, v in enumerate(clock)]
        return b"\0".join(bytes([pos, focus]) + (line + "\r\n").encode("latin-1")
                          for pos, line in replies)

    seeds = {
        "finite-running": cycle("normal", "start", "testing", "2", ["0", "0", "3", "17"]),
        "endless-running": cycle("strict", "start", "testing", "7", ["1", "2", "3", "4"]) * 2,
        "stopped-pass": cycle("normal", "stop", "pass", "1", ["0", "0", "0", "59"]),
        "user-choosing": cycle("normal", "start", "fail", "3", ["0", "0", "1", "1"], focus=1),
        "odd-values": cycle("", "paused", "err", " 9 ", ["-1", "999999999", "x", "30"]),
        "calibration": b"\0".join(bytes([0, 0]) + v for v in
                                   [b"$color_cal_red? 255\r\n", b"$color_cal_color? magenta\r\n",
                                    b"$color_cal_level? 0007\r\n", b"$color_cal_blue? 256\r\n"]),
    }
    for name, data in seeds.items():
        write("fuzz_cable_reply", name, data)


# Request building: requester, flags, then length-prefixed parameters.
def request_corpus():
    def seed(which, flags, *params):
        out = bytes([which, flags])
        for p in params:
            if isinstance(p, str):
                p = p.encode("utf-8")
            out += bytes([len(p)]) + p
        return out

    image = edid_images()["hdmi-tv-hd.bin"][:255]
    seeds = {
        "raw-line": seed(0, 0, "$model?\r"),
        "raw-second-command": seed(0, 1, "$motion_text hi\r$task_mode cable\r"),
        "raw-edid-write": seed(0, 0, "$edid_write c1,block0\r\n"),
        "motion-plain": seed(1, 0, "  Hello  "),
        "motion-cr": seed(1, 1, "hi\r$task_mode cable"),
        "motion-latin1": seed(1, 0, "caf\u00e9 \u00fc"),
        "motion-unchecked-lf": seed(2, 0, "ab\ncd"),
        "slot-name": seed(3, 0, "Lab A", "\x19"),
        "slot-name-esc": seed(3, 1, "x\x1b]0;t\x07", "\x19"),
        "edid-write": seed(4, 0, "c1", image),
        "edid-write-bad-slot": seed(4, 1, "c1\r\x7f", image),
        "edid-read": seed(5, 0, "rx"),
        "timing": seed(6, 0, "", "\x30"),
        "table-entry": seed(7, 0, "on", "\x14"),
        "typed-line": seed(8, 0, "$help"),
        "typed-line-nul": seed(8, 1, "$boot?\x00go"),
    }
    for name, data in seeds.items():
        write("fuzz_request_build", name, data)


def main():
    commands = command_indices()
    engine_corpus(commands)
    poll_corpus(analyser_commands())
    packet_corpus()
    edid_corpus()
    discovery_corpus()
    program_file_corpus()
    sim_corpus()
    cable_corpus()
    request_corpus()


if __name__ == "__main__":
    main()
