#!/usr/bin/env python3
"""Builds the EDID test images in this folder, field by field.

Every image is made here from the byte layouts of the VESA base block and of
CEA-861 extension blocks; nothing is copied from a real display. Run it from
any folder to write the files next to this script; the output is stable.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
HEADER = [0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00]


def mfr_id(letters):
    """Three letters packed five bits each, 'A' = 1, big-endian."""
    v = 0
    for ch in letters:
        v = (v << 5) | (ord(ch) - 64)
    return [v >> 8, v & 0xFF]


def timing(clock_10khz, h_active, h_blank, v_active, v_blank, interlaced=False):
    d = [clock_10khz & 0xFF, clock_10khz >> 8,
         h_active & 0xFF, h_blank & 0xFF, ((h_active >> 8) << 4) | (h_blank >> 8),
         v_active & 0xFF, v_blank & 0xFF, ((v_active >> 8) << 4) | (v_blank >> 8),
         88 & 0xFF, 44, 0x45, 0x00,      # sync offsets and widths
         0x00, 0x00, 0x00,               # image size in mm (unknown)
         0, 0,                           # borders
         0x80 if interlaced else 0x18]   # flags: interlace / digital separate sync
    assert len(d) == 18
    return d


def display(tag, payload):
    data = list(payload)[:13]
    if len(data) < 13:
        data.append(0x0A)
    data += [0x20] * (13 - len(data))
    return [0, 0, 0, tag, 0] + data


def name(text):
    return display(0xFC, text.encode('ascii'))


def range_limits(max_clock_10mhz):
    # min/max vertical Hz, min/max horizontal kHz, max pixel clock / 10 MHz
    return [0, 0, 0, 0xFD, 0, 50, 75, 30, 160, max_clock_10mhz, 0x00, 0x0A] + [0x20] * 6


def dummy():
    return [0, 0, 0, 0x10, 0] + [0] * 13


def base_block(mfr, product, digital, descriptors, extensions):
    b = list(HEADER)
    b += mfr_id(mfr)
    b += [product & 0xFF, product >> 8]      # product code, little-endian
    b += [0x01, 0x00, 0x00, 0x00]            # serial number
    b += [10, 30]                            # week 10 of 2020
    b += [1, 3]                              # EDID 1.3
    b += [0x80 if digital else 0x0E]         # video input definition (byte 20)
    b += [53, 30, 120, 0x0A]                 # size in cm, gamma 2.2, features
    b += [0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54]  # chromaticity
    b += [0x21, 0x08, 0x00]                  # established timings
    b += [0x01, 0x01] * 8                    # standard timings: unused
    assert len(b) == 54
    for d in descriptors:
        assert len(d) == 18
        b += d
    while len(b) < 126:
        b += dummy()
    b += [extensions, 0]
    return b


def db(tag, payload):
    return [(tag << 5) | len(payload)] + list(payload)


def ext(ext_tag, payload):
    return db(7, [ext_tag] + list(payload))


def cea_block(data_blocks, dtds=()):
    body = []
    for blk in data_blocks:
        body += blk
    b = [0x02, 0x03, 4 + len(body), 0x70] + body   # byte 3: underscan, audio, 4:4:4, 4:2:2
    for d in dtds:
        b += d
    b += [0] * (127 - len(b))
    return b


def finish(block):
    assert len(block) in (127, 128), len(block)
    block = block[:127]
    return block + [(256 - sum(block) % 256) % 256]


def image(*blocks):
    out = []
    for blk in blocks:
        out += finish(blk)
    return bytes(out)


# Data blocks used below.
SAD_LPCM = [0x09, 0x07, 0x07]        # LPCM, 2 channels, 32/44.1/48 kHz, 16/20/24 bit
SAD_AC3 = [0x15, 0x07, 0x50]         # AC-3 (code 2)
SAD_EAC3 = [0x57, 0x06, 0x00]        # E-AC-3 (code 10)
SPEAKERS = db(4, [0x01, 0x00, 0x00])
HDMI_OUI = [0x03, 0x0C, 0x00]
HF_OUI = [0xD8, 0x5D, 0xC4]
OTHER_OUI = [0x1A, 0x00, 0x00]

T1080P = timing(14850, 1920, 280, 1080, 45)
T1080I = timing(7425, 1920, 280, 540, 22, interlaced=True)
T2160P = timing(59400, 3840, 560, 2160, 90)
T1280 = timing(10800, 1280, 408, 1024, 42)
T1024 = timing(6500, 1024, 320, 768, 38)
T1920x1200 = timing(15400, 1920, 160, 1200, 35)
T720P = timing(7425, 1280, 370, 720, 30)


def images():
    out = {}
    out['analog-crt.bin'] = image(base_block(
        'CRT', 0x0017, False, [T1280, range_limits(14), name('ANALOG 17')], 0))
    out['analog-vga-name13.bin'] = image(base_block(
        'VGA', 0x0101, False, [range_limits(8), T1024, name('VGA MONITOR13')], 0))
    out['dvi-monitor.bin'] = image(base_block(
        'DVM', 0x2400, True, [T1920x1200, range_limits(16), name('DVI 24')], 0))
    out['dvi-cea-other-oui.hex'] = image(
        base_block('DVC', 0x2401, True, [T1080P, name('DVI CEA')], 1),
        cea_block([db(2, [0x90, 0x04]), db(3, OTHER_OUI + [0x01, 0x02])], [T720P]))
    out['hdmi-tv-hd.bin'] = image(
        base_block('TVH', 0x1000, True, [T1080P, range_limits(15), name('HD TV')], 1),
        cea_block([db(2, [0x90, 0x04, 0x03, 0x01]), db(1, SAD_LPCM), SPEAKERS,
                   db(3, HDMI_OUI + [0x10, 0x00])]))
    out['hdmi-tv-1080i.bin'] = image(
        base_block('TVI', 0x1001, True, [T1080I, range_limits(17), name('INTERLACED TV')], 1),
        cea_block([db(2, [0x05, 0x84]), db(1, SAD_LPCM + SAD_AC3),
                   # HDMI VSDB: address 1.0.0.0, deep colour 36/30 bit, 300 MHz,
                   # HDMI video present, 3D present, two HDMI VICs (1 and 3)
                   db(3, HDMI_OUI + [0x10, 0x00, 0x30, 60, 0x20, 0x80, 0x40, 0x01, 0x03])]))
    out['hdmi-hf-6g.bin'] = image(
        base_block('UHD', 0x2160, True, [T2160P, range_limits(30), name('UHD TV 6G')], 1),
        cea_block([db(2, [0x61, 0x10, 0x04]), db(1, SAD_LPCM + SAD_AC3 + SAD_EAC3), SPEAKERS,
                   db(3, HDMI_OUI + [0x10, 0x00, 0x38, 0x3C]),
                   db(3, HF_OUI + [0x01, 0x78, 0x80, 0x01]),
                   ext(6, [0x07, 0x01]),              # HDR static metadata
                   ext(14, [0x60, 0x61])]))            # YCbCr 4:2:0 video: VICs 96, 97
    out['hdmi-tv-4k-hdr.bin'] = image(
        base_block('UHT', 0x4B00, True, [T2160P, range_limits(60), name('4K HDR TV')], 1),
        cea_block([db(2, [0x61, 0x60, 0x10, 0x04, 0x13]), db(1, SAD_LPCM), SPEAKERS,
                   db(3, HDMI_OUI + [0x10, 0x00, 0x38, 0x3C]),
                   db(3, HF_OUI + [0x01, 0x78, 0x80, 0x03]),  # 600 MHz, SCDC, 4:2:0 30/36 bit
                   ext(0, [0x40]),                     # video capability: QS
                   ext(5, [0xC0, 0x00]),               # colorimetry: BT.2020 YCC and RGB
                   ext(6, [0x0F, 0x01]),               # HDR: SDR, HDR, ST 2084, HLG
                   ext(15, [0x03])]))                  # 4:2:0 also for SVDs 1, 2 (VICs 97, 96)
    out['hdmi-hf-first.bin'] = image(
        base_block('HFF', 0x0340, True, [T1080P, name('HF FIRST')], 1),
        cea_block([db(3, HF_OUI + [0x01, 0x44, 0x00]), db(3, HDMI_OUI + [0x20, 0x00]),
                   db(2, [0x90])]))
    out['hdr-y420cmdb.bin'] = image(
        base_block('HDR', 0x0D10, True, [T2160P, range_limits(60), name('HDR MONITOR')], 1),
        cea_block([db(2, [0x61, 0x5F, 0x10]), ext(6, [0x0F, 0x01, 0x78, 0x50, 0x20]),
                   ext(15, [0x03]), db(3, HDMI_OUI + [0x10, 0x00, 0x00]),
                   ext(5, [0x03, 0x00])]))
    out['three-block.bin'] = image(
        base_block('TRI', 0x0003, True, [T1080P, name('THREE BLOCKS')], 2),
        [0x10, 0x01, 0x00] + [0] * 124,                # a video timing block, empty
        cea_block([db(2, [0x10]), db(3, HDMI_OUI + [0x10, 0x00])]))
    out['four-block-map.bin'] = image(
        base_block('MAP', 0x0004, True, [T1080P, range_limits(15), name('BLOCK MAP')], 3),
        [0xF0, 0x02, 0x02] + [0] * 124,                # block map: blocks 2 and 3 are CEA
        cea_block([db(2, [0x90]), db(1, SAD_LPCM), db(3, HDMI_OUI + [0x10, 0x00])]),
        cea_block([db(3, HF_OUI + [0x01, 0x50, 0x80]), ext(14, [0x61])]))
    good = image(
        base_block('BAD', 0x0001, True, [T1080P, name('BAD CHECKSUM')], 1),
        cea_block([db(2, [0x90]), db(3, HDMI_OUI + [0x10, 0x00])]))
    bad = bytearray(good)
    bad[255] = (bad[255] + 1) & 0xFF
    out['badsum-block1.bin'] = bytes(bad)
    bad0 = bytearray(image(base_block('BAD', 0x0002, False, [T1280, name('BAD BLOCK0')], 0)))
    bad0[127] ^= 0x01
    out['badsum-block0.hex'] = bytes(bad0)
    hdr = bytearray(image(base_block('HDX', 0x0005, True, [T1080P, name('BAD HEADER')], 0)))
    hdr[7] = 0x01
    hdr[127] = (256 - sum(hdr[:127]) % 256) % 256
    out['bad-header.bin'] = bytes(hdr)
    count = bytearray(image(base_block('CNT', 0x0006, True, [T1080P], 0)))
    count[126] = 5
    count[127] = (256 - sum(count[:127]) % 256) % 256
    out['bad-count.bin'] = bytes(count)
    one = image(base_block('ONE', 0x0007, True, [T1080P, name('ONE BLOCK')], 0))
    out['one-block-ff.bin'] = one + bytes([0xFF] * 128)
    out['dump-256.ddc'] = bytes(range(256)) + out['hdmi-tv-hd.bin']
    out['dump-128.ddc'] = bytes([0x5A] * 272) + out['analog-crt.bin']
    return out


def hex_text(data, c_style):
    lines = []
    for i in range(0, len(data), 8):
        row = data[i:i + 8]
        if c_style:
            lines.append(','.join('0x%02X' % v for v in row) + ',  // %X' % (i + 7))
        else:
            lines.append(' '.join('%02X' % v for v in row) + ' //%X' % (i + 7))
        if (i + 8) % 128 == 0:
            lines.append('')
    return '\r\n'.join(lines) + '\r\n'


def main():
    for fname, data in images().items():
        path = os.path.join(HERE, fname)
        if fname.endswith('.hex'):
            c_style = fname.startswith('dvi')
            with open(path, 'w', newline='') as f:
                f.write(hex_text(data, c_style))
        else:
            with open(path, 'wb') as f:
                f.write(data)


if __name__ == '__main__':
    main()
