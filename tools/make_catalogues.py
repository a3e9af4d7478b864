#!/usr/bin/env python3
"""Writes the timing/pattern catalogues and their favourites files into data/.

Each catalogue is: timing count, timing names, pattern count, pattern names,
one field per line, texts quoted, CR LF line ends. A list position is the
number the unit's firmware knows the entry by, so the lists below are in
firmware order and must only ever grow at the end of a family's list.

Fixed numbers that the program relies on:
  timing 88      "Follow Input": the unit re-sends what its input receives, so
                 it exists only in analyser mode;
  patterns 41/42 the two motion patterns that draw a user text;
  pattern 12     the colour calibration pattern of the old V4L board (T28).

Run from anywhere: python3 tools/make_catalogues.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(os.path.dirname(HERE), "data")

FOLLOW_INPUT = "Follow Input (analyser only)"
FOLLOW_INPUT_POSITION = 88

# ---- timings ---------------------------------------------------------------

CEA_SD = [
    "640x480p 59.94Hz",
    "640x480p 60Hz",
    "720x480p 59.94Hz",
    "720x480p 60Hz",
    "720(1440)x480i 59.94Hz",
    "720(1440)x480i 60Hz",
    "720x576p 50Hz",
    "720(1440)x576i 50Hz",
    "1440x480p 59.94Hz",
    "1440x576p 50Hz",
]

CEA_HD = [
    "1280x720p 23.98Hz",
    "1280x720p 24Hz",
    "1280x720p 25Hz",
    "1280x720p 29.97Hz",
    "1280x720p 30Hz",
    "1280x720p 50Hz",
    "1280x720p 59.94Hz",
    "1280x720p 60Hz",
    "1920x1080i 50Hz",
    "1920x1080i, 1250 lines 50Hz",
    "1920x1080i 59.94Hz",
    "1920x1080i 60Hz",
    "1920x1080p 23.98Hz",
    "1920x1080p 24Hz",
    "1920x1080p 25Hz",
    "1920x1080p 29.97Hz",
    "1920x1080p 30Hz",
    "1920x1080p 50Hz",
    "1920x1080p 59.94Hz",
    "1920x1080p 60Hz",
]

CEA_3D = [
    "1280x720p 50Hz 3D Frame Packing",
    "1280x720p 59.94Hz 3D Frame Packing",
    "1280x720p 60Hz 3D Frame Packing",
    "1920x1080p 23.98Hz 3D Frame Packing",
    "1920x1080p 24Hz 3D Frame Packing",
    "1920x1080i 50Hz 3D Side-by-Side",
    "1920x1080i 60Hz 3D Side-by-Side",
    "1920x1080p 50Hz 3D Top-and-Bottom",
    "1920x1080p 60Hz 3D Top-and-Bottom",
]

VESA = [
    "640x350 85Hz",
    "640x400 85Hz",
    "720x400 70Hz",
    "720x400 85Hz",
    "640x480 72Hz",
    "640x480 75Hz",
    "640x480 85Hz",
    "800x600 56Hz",
    "800x600 60Hz",
    "800x600 72Hz",
    "800x600 75Hz",
    "800x600 85Hz",
    "848x480 60Hz",
    "1024x768 60Hz",
    "1024x768 70Hz",
    "1024x768 75Hz",
    "1024x768 85Hz",
    "1152x864 60Hz",
    "1152x864 75Hz",
    "1280x768 60Hz RB",
    "1280x768 60Hz",
    "1280x768 75Hz",
    "1280x768 85Hz",
    "1280x800 60Hz RB",
    "1280x800 60Hz",
    "1280x800 75Hz",
    "1280x800 85Hz",
    "1280x960 60Hz",
    "1280x960 85Hz",
    "1280x1024 60Hz",
    "1280x1024 75Hz",
    "1280x1024 85Hz",
    "1360x768 60Hz",
    "1366x768 60Hz",
    "1400x1050 60Hz RB",
    "1400x1050 60Hz",
    "1400x1050 75Hz",
    "1440x900 60Hz RB",
    "1440x900 60Hz",
    "1440x900 75Hz",
    "1600x900 60Hz RB",
    "1600x1200 60Hz",
    "1680x1050 60Hz RB",
    "1680x1050 60Hz",
    "1920x1080 60Hz (DMT)",
    "1920x1200 60Hz RB",
    "1920x1200 60Hz",
    "2048x1152 60Hz RB",
]

# After "Follow Input": what each firmware line added later.
V4_LATER = [
    "1920x1080p 100Hz",
    "1920x1080p 119.88Hz",
    "1920x1080p 120Hz",
    "1280x720p 100Hz",
    "1280x720p 119.88Hz",
    "1280x720p 120Hz",
    "2560x1080p 60Hz (64:27)",
    "2560x1440 60Hz RB",
    "2560x1600 60Hz RB",
    "1920x1080p 60Hz 12-bit",
    "1280x720p 60Hz 12-bit",
    "720x480p 59.94Hz 16:9",
    "720x576p 50Hz 16:9",
    "1920x1080p 48Hz",
    "1280x720p 48Hz",
    "1680x720p 60Hz (64:27)",
    "1920x1080p 60Hz DVI",
    "1280x1024 60Hz DVI",
    "1024x768 60Hz DVI",
    "640x480 60Hz DVI",
    "1920x1080p 50Hz 12-bit",
    "1920x1080p 23.98Hz 12-bit",
    "1920x1080p 24Hz 12-bit",
    "1920x1080i 60Hz 12-bit",
]

UHD = [
    "3840x2160p 23.98Hz",
    "3840x2160p 24Hz",
    "3840x2160p 25Hz",
    "3840x2160p 29.97Hz",
    "3840x2160p 30Hz",
    "3840x2160p 50Hz",
    "3840x2160p 59.94Hz",
    "3840x2160p 60Hz",
    "3840x2160p 50Hz YCbCr 4:2:0",
    "3840x2160p 60Hz YCbCr 4:2:0",
    "4096x2160p 24Hz",
    "4096x2160p 25Hz",
    "4096x2160p 30Hz",
    "4096x2160p 50Hz",
    "4096x2160p 60Hz",
    "4096x2160p 50Hz YCbCr 4:2:0",
    "4096x2160p 60Hz YCbCr 4:2:0",
]

UHD_HDR = [
    "3840x2160p 24Hz HDR10",
    "3840x2160p 60Hz YCbCr 4:2:0 HDR10",
    "3840x2160p 50Hz YCbCr 4:2:0 HLG",
    "3840x2160p 30Hz 10-bit",
]

# Positions 1..87: the common front of every firmware line.
FRONT = CEA_SD + CEA_HD + CEA_3D + VESA

def with_follow_input(front, later):
    names = front[: FOLLOW_INPUT_POSITION - 1]
    assert len(names) == FOLLOW_INPUT_POSITION - 1, len(names)
    return names + [FOLLOW_INPUT] + later


V4_TIMINGS = with_follow_input(FRONT, V4_LATER)
# The V4L boards dropped the DVI-only and 12-bit entries from the tail.
V4L_LATER = [n for n in V4_LATER if "DVI" not in n and "12-bit" not in n]
V4L_TIMINGS = with_follow_input(FRONT, V4L_LATER + ["1920x1080p 60Hz 10-bit", "1280x720p 60Hz 10-bit"])
V4L_T_OLD_TIMINGS = with_follow_input(FRONT, V4L_LATER[:12])
V4L_T_NEW_TIMINGS = with_follow_input(FRONT, V4L_LATER + UHD)
V5_TIMINGS = with_follow_input(FRONT, V4_LATER + UHD + UHD_HDR[:1])

# ---- patterns --------------------------------------------------------------

def patterns(twelfth, motion, tail):
    names = [
        "Color Bars 100%",
        "Color Bars 75%",
        "SMPTE Color Bars",
        "EBU Color Bars",
        "Red Field",
        "Green Field",
        "Blue Field",
        "White Field",
        "Black Field",
        "Gray Field 50%",
        "Cyan, Magenta, Yellow Fields",
        twelfth,
        "Gray Scale 8 Steps",
        "Gray Scale 16 Steps",
        "Gray Ramp Horizontal",
        "Gray Ramp Vertical",
        "RGB Ramp",
        "Red Ramp",
        "Green Ramp",
        "Blue Ramp",
        "Checkerboard 8x8",
        "Checkerboard 16x16",
        "Checkerboard 1 Pixel",
        "Crosshatch 16x9",
        "Crosshatch 32x18",
        "Grid with Circle",
        "Convergence Dots",
        "Multiburst",
        "PLUGE",
        "White Window 10%",
        "White Window 50%",
        "Border Frame 1 Pixel",
        "Alternating Pixels",
        "Horizontal Lines 1 Pixel",
        "Vertical Lines 1 Pixel",
        "Color Checker 24 Patches",
        "Zone Plate",
        "Sharpness",
        "Focus, Centre and Corners",
        "Pixel Mapping",
    ] + motion + tail
    assert names[11] == twelfth and names[40:42] == motion
    return names

MOTION_TEXT = ["Motion Text Scroll", "Motion Text Bounce"]
COMMON_TAIL = [
    "Moving Bar",
    "Flicker 30Hz",
    "Lip Sync Flash",
    "Color Bars with Gray Ramp",
    "Gray Ramp 10-bit",
    "Deep Color Ramp 12-bit",
]

V4_PATTERNS = patterns("Yellow Field", MOTION_TEXT, COMMON_TAIL)
V4L_PATTERNS = patterns("Yellow Field", MOTION_TEXT, COMMON_TAIL[:4])
# On the old T28 board 12 opens the colour calibration; its moving patterns
# carry no text.
V4L_T_OLD_PATTERNS = patterns("Color Calibration", ["Moving Box", "Moving Bars"], COMMON_TAIL[2:4])
HDR_TAIL = [
    "HDR Window 10% 1000 nits",
    "HDR Window 10% 4000 nits",
    "HDR Gray Ramp PQ",
    "HDR Gray Ramp HLG",
    "BT.2020 Color Bars",
    "BT.2020 Color Bars 75%",
]
V4L_T_NEW_PATTERNS = patterns("Yellow Field", MOTION_TEXT, COMMON_TAIL + HDR_TAIL[:4] + ["Audio Sweep Visual"])
V5_PATTERNS = patterns("Yellow Field", MOTION_TEXT, COMMON_TAIL + HDR_TAIL + ["Audio Sweep Visual", "Checkerboard 4K 1 Pixel", "Uniformity 9 Points", "Overscan Markers"])

CATALOGUES = [
    ("v4_timing_pattern.ini", V4_TIMINGS, V4_PATTERNS,
     ["1280x720p 60Hz", "1920x1080p 60Hz", "1024x768 60Hz"], ["Color Bars 100%", "Checkerboard 8x8", "Gray Ramp Horizontal"]),
    ("v4l_timing_pattern.ini", V4L_TIMINGS, V4L_PATTERNS,
     ["1920x1080p 60Hz"], ["Color Bars 75%"]),
    ("v4l_t_old_timing_pattern.ini", V4L_T_OLD_TIMINGS, V4L_T_OLD_PATTERNS, [], []),
    ("v4l_t_new_timing_pattern.ini", V4L_T_NEW_TIMINGS, V4L_T_NEW_PATTERNS, [], []),
    ("v5_timing_pattern.ini", V5_TIMINGS, V5_PATTERNS,
     ["1920x1080p 60Hz", "3840x2160p 30Hz", "3840x2160p 60Hz"], ["Color Bars 100%", "HDR Window 10% 1000 nits"]),
]

def field_text(name):
    assert '"' not in name and all(32 <= ord(c) < 127 for c in name), name
    return '"' + name + '"'

def catalogue_bytes(timings, pats):
    lines = [str(len(timings))] + [field_text(n) for n in timings]
    lines += [str(len(pats))] + [field_text(n) for n in pats]
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")

def favourites_bytes(timings, pats, fav_t, fav_p):
    def slots(names, favs):
        numbers = sorted(names.index(f) + 1 for f in favs)
        assert len(numbers) <= 18
        return numbers + [254] * (18 - len(numbers))
    lines = slots(timings, fav_t) + slots(pats, fav_p)
    return ("\r\n".join(str(v) for v in lines) + "\r\n").encode("latin-1")

def main():
    os.makedirs(DATA, exist_ok=True)
    for name, timings, pats, fav_t, fav_p in CATALOGUES:
        assert len(set(timings)) == len(timings), name
        assert len(set(pats)) == len(pats), name
        assert timings[FOLLOW_INPUT_POSITION - 1] == FOLLOW_INPUT
        with open(os.path.join(DATA, name), "wb") as f:
            f.write(catalogue_bytes(timings, pats))
        with open(os.path.join(DATA, name[:-4] + "_fav.ini"), "wb") as f:
            f.write(favourites_bytes(timings, pats, fav_t, fav_p))
        print(f"{name}: {len(timings)} timings, {len(pats)} patterns")
    return 0

if __name__ == "__main__":
    sys.exit(main())
