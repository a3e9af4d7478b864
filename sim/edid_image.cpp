#include "sim/edid_image.h"

#include <algorithm>
#include <cstring>

namespace t27::sim {

namespace {

struct Dtd {
    int clock_10khz;
    int h_active, h_blank, h_sync_offset, h_sync_width;
    int v_active, v_blank, v_sync_offset, v_sync_width;
    std::uint8_t vic;
};

// Indexed by NativeTiming.
constexpr Dtd dtds[] = {
    {14850, 1920, 280, 88, 44, 1080, 45, 4, 5, 16},
    {7425, 1280, 370, 110, 40, 720, 30, 5, 5, 4},
    {29700, 3840, 560, 176, 88, 2160, 90, 8, 10, 95},
    {59400, 3840, 560, 176, 88, 2160, 90, 8, 10, 97},
    {6500, 1024, 320, 24, 136, 768, 38, 3, 6, 0},
};

void put_dtd(std::uint8_t* p, const Dtd& d) {
    p[0] = static_cast<std::uint8_t>(d.clock_10khz & 0xFF);
    p[1] = static_cast<std::uint8_t>(d.clock_10khz >> 8);
    p[2] = static_cast<std::uint8_t>(d.h_active & 0xFF);
    p[3] = static_cast<std::uint8_t>(d.h_blank & 0xFF);
    p[4] = static_cast<std::uint8_t>(((d.h_active >> 8) << 4) | (d.h_blank >> 8));
    p[5] = static_cast<std::uint8_t>(d.v_active & 0xFF);
    p[6] = static_cast<std::uint8_t>(d.v_blank & 0xFF);
    p[7] = static_cast<std::uint8_t>(((d.v_active >> 8) << 4) | (d.v_blank >> 8));
    p[8] = static_cast<std::uint8_t>(d.h_sync_offset & 0xFF);
    p[9] = static_cast<std::uint8_t>(d.h_sync_width & 0xFF);
    p[10] = static_cast<std::uint8_t>(((d.v_sync_offset & 15) << 4) | (d.v_sync_width & 15));
    p[11] = static_cast<std::uint8_t>(((d.h_sync_offset >> 8) << 6) | ((d.h_sync_width >> 8) << 4) |
                                      ((d.v_sync_offset >> 4) << 2) | (d.v_sync_width >> 4));
    // A 27-inch 16:9 panel: 598 × 336 mm.
    p[12] = 598 & 0xFF;
    p[13] = 336 & 0xFF;
    p[14] = static_cast<std::uint8_t>(((598 >> 8) << 4) | (336 >> 8));
    p[17] = 0x1E;  // digital separate sync, both polarities positive
}

void put_text_descriptor(std::uint8_t* p, std::uint8_t tag, const char* text) {
    p[3] = tag;
    std::size_t n = std::min<std::size_t>(std::strlen(text), 13);
    std::memcpy(p + 5, text, n);
    if (n < 13) {
        p[5 + n] = 0x0A;
        for (std::size_t i = n + 1; i < 13; ++i) p[5 + i] = 0x20;
    }
}

void put_range_limits(std::uint8_t* p, const EdidRecipe& r) {
    p[3] = 0xFD;
    p[5] = 24;  // min vertical Hz
    p[6] = 75;  // max vertical Hz
    p[7] = 15;  // min horizontal kHz
    p[8] = r.native == NativeTiming::p2160_60 ? 136 : 83;
    p[9] = static_cast<std::uint8_t>((r.max_tmds_mhz + 9) / 10);
    p[10] = 0x00;
    p[11] = 0x0A;
    for (int i = 12; i < 18; ++i) p[i] = 0x20;
}

void build_base(std::uint8_t* b, const EdidRecipe& r, int extensions) {
    static const std::uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(b, header, 8);
    const char* m = r.manufacturer;
    int id = ((m[0] - 'A' + 1) << 10) | ((m[1] - 'A' + 1) << 5) | (m[2] - 'A' + 1);
    b[8] = static_cast<std::uint8_t>(id >> 8);
    b[9] = static_cast<std::uint8_t>(id & 0xFF);
    b[10] = static_cast<std::uint8_t>(r.product & 0xFF);
    b[11] = static_cast<std::uint8_t>(r.product >> 8);
    b[12] = 0x27;  // serial number 0x00000027
    b[16] = 12;    // week
    b[17] = 33;    // 2023
    b[18] = 1;
    b[19] = 3;
    b[20] = r.digital ? 0x80 : 0x0E;
    b[21] = 60;
    b[22] = 34;
    b[23] = 0x78;  // gamma 2.2
    b[24] = 0x0A;  // RGB colour, preferred timing is native
    static const std::uint8_t chroma[10] = {0xEE, 0x91, 0xA3, 0x54, 0x4C,
                                            0x99, 0x26, 0x0F, 0x50, 0x54};
    std::memcpy(b + 25, chroma, 10);
    b[35] = 0x21;                               // 640x480@60, 800x600@60
    b[36] = 0x08;                               // 1024x768@60
    for (int i = 38; i < 54; ++i) b[i] = 0x01;  // no standard timings
    put_dtd(b + 54, dtds[static_cast<int>(r.native)]);
    put_range_limits(b + 72, r);
    put_text_descriptor(b + 90, 0xFC, r.monitor_name);
    put_text_descriptor(b + 108, 0xFF, "SIM0027");
    b[126] = static_cast<std::uint8_t>(extensions);
}

void add_block(std::vector<std::uint8_t>& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void build_cea(std::uint8_t* b, const EdidRecipe& r) {
    std::vector<std::uint8_t> d;
    const Dtd& native = dtds[static_cast<int>(r.native)];
    // Video data block: the native VIC first and marked native when it can be.
    std::vector<std::uint8_t> vics;
    if (native.vic != 0 && !r.ycbcr420)
        vics.push_back(
            static_cast<std::uint8_t>(native.vic <= 64 ? (0x80 | native.vic) : native.vic));
    for (std::uint8_t v : {16, 4, 31, 19, 3, 2, 1})
        if (v != native.vic) vics.push_back(v);
    d.push_back(static_cast<std::uint8_t>(0x40 | vics.size()));
    d.insert(d.end(), vics.begin(), vics.end());
    if (r.audio_channels > 0) {
        std::uint8_t rates = r.audio_channels > 2 ? 0x7F : 0x07;
        add_block(d, {0x23, static_cast<std::uint8_t>(0x08 | (r.audio_channels - 1)), rates, 0x07});
        std::uint8_t speakers = r.audio_channels >= 8 ? 0x4F : r.audio_channels >= 6 ? 0x0F : 0x01;
        add_block(d, {0x83, speakers, 0x00, 0x00});
    }
    if (r.hdmi) {
        int clock = std::min(r.max_tmds_mhz, 340) / 5;
        if (r.native == NativeTiming::p2160_30) {
            // HDMI video present with one HDMI VIC (4K30) so the 4K mode is
            // reachable without the HDMI Forum block.
            add_block(d, {0x6B, 0x03, 0x0C, 0x00, 0x10, 0x00, 0x38,
                          static_cast<std::uint8_t>(clock), 0x20, 0x00, 0x20, 0x01});
        } else {
            add_block(d,
                      {0x67, 0x03, 0x0C, 0x00, 0x10, 0x00, 0x38, static_cast<std::uint8_t>(clock)});
        }
        if (r.max_tmds_mhz > 340)
            add_block(d, {0x67, 0xD8, 0x5D, 0xC4, 0x01,
                          static_cast<std::uint8_t>(r.max_tmds_mhz / 5), 0x80, 0x00});
    }
    if (r.hdr) add_block(d, {0xE3, 0x06, 0x0D, 0x01});
    if (r.ycbcr420) add_block(d, {0xE2, 0x0E, 97});
    b[0] = 0x02;
    b[1] = 0x03;
    b[2] = static_cast<std::uint8_t>(4 + d.size());
    b[3] = static_cast<std::uint8_t>((r.audio_channels > 0 ? 0x70 : 0x30) | 1);
    std::copy(d.begin(), d.end(), b + 4);
    // One more detailed timing: 720p, which every sink here can show.
    put_dtd(b + 4 + d.size(), dtds[static_cast<int>(NativeTiming::p720_60)]);
}

}  // namespace

void fix_checksum(EdidBytes& image, std::size_t offset) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < 127; ++i) sum += image[offset + i];
    image[offset + 127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

EdidBytes build_edid(const EdidRecipe& r) {
    int blocks = std::clamp(r.blocks, 1, 4);
    EdidBytes img(static_cast<std::size_t>(std::max(blocks, 2)) * 128, 0);
    build_base(img.data(), r, blocks - 1);
    if (blocks == 1) {
        std::fill(img.begin() + 128, img.end(), 0xFF);
    } else if (blocks == 2) {
        build_cea(img.data() + 128, r);
    } else {
        // Block map: every later block is a CEA extension.
        img[128] = 0xF0;
        for (int i = 2; i < blocks; ++i) img[128 + i - 1] = 0x02;
        build_cea(img.data() + 256, r);
        if (blocks == 4) {
            std::uint8_t* b = img.data() + 384;
            b[0] = 0x02;
            b[1] = 0x03;
            b[2] = 4;
            b[3] = 0x01;
            put_dtd(b + 4, dtds[static_cast<int>(NativeTiming::p1080_60)]);
        }
    }
    for (int i = 0; i < blocks; ++i) fix_checksum(img, static_cast<std::size_t>(i) * 128);
    return img;
}

}  // namespace t27::sim
