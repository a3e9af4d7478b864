// What the EDID declares, as the source check reads it: the timings of the
// base block and the CTA blocks, the colour, deep colour, HDR and audio
// capabilities; and where the EDID comes from (a file, or the unit's Rx EDID).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analyser/source_check.h"
#include "edid/base_block.h"
#include "edid/edid_files.h"
#include "edid/edit/edit_field_make.h"
#include "edid/edit/edit_ops.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/timing_table.h"
#include "edid/unit/edid_items.h"
#include "edid/unit/unit_exchange.h"

namespace t27 {

namespace {

// ---- the sink ----------------------------------------------------------------

long long field_of(const std::string& bytes, const std::vector<EdidField>& fields,
                   const std::string& key) {
    for (const EdidField& f : fields)
        if (f.key == key) return field_value(bytes, f);
    return 0;
}

bool flag_of(const std::string& bytes, const std::vector<EdidField>& fields,
             const std::string& key) {
    return field_of(bytes, fields, key) != 0;
}

double frame_rate(long long clock_hz, int h_total, int v_total_lines) {
    if (h_total <= 0 || v_total_lines <= 0) return 0;
    return static_cast<double>(clock_hz) / (static_cast<double>(h_total) * v_total_lines);
}

// An interlaced timing counts its lines per field; the unit shows the field
// rate and the frame's lines.
SinkTiming timing_from(int clock_10khz, int h_active, int h_blank, int v_active, int v_blank,
                       bool interlaced, std::string from) {
    SinkTiming t;
    t.h_active = h_active;
    t.v_active = interlaced ? 2 * v_active : v_active;
    t.interlaced = interlaced;
    const int field_lines = v_active + v_blank;
    t.rate_hz = interlaced
                    ? 2 * frame_rate(clock_10khz * 10000LL, h_active + h_blank, 2 * field_lines + 1)
                    : frame_rate(clock_10khz * 10000LL, h_active + h_blank, field_lines);
    t.from = std::move(from);
    return t;
}


void add_descriptor_timing(const std::string& bytes, const std::string& from, SinkCaps& k) {
    if (descriptor_kind(bytes) != DescriptorKind::timing) return;
    const std::vector<EdidField> f = timing_fields(0);
    k.timings.push_back(timing_from(static_cast<int>(field_of(bytes, f, "pixel_clock")),
                                    static_cast<int>(field_of(bytes, f, "h_active")),
                                    static_cast<int>(field_of(bytes, f, "h_blank")),
                                    static_cast<int>(field_of(bytes, f, "v_active")),
                                    static_cast<int>(field_of(bytes, f, "v_blank")),
                                    flag_of(bytes, f, "interlaced"), from));
}

// The established timings are named "800x600 60Hz" by the editor's schema.
void add_established(const EdidPart& part, SinkCaps& k) {
    for (const EdidField& f : part_fields(part)) {
        if (f.type != FieldType::flag || field_value(part.bytes, f) == 0) continue;
        int w = 0, h = 0, hz = 0;
        if (std::sscanf(f.label.c_str(), "%dx%d %dHz", &w, &h, &hz) != 3) continue;
        SinkTiming t;
        t.h_active = w;
        t.v_active = h;
        t.interlaced = f.label.find("interlaced") != std::string::npos;
        t.rate_hz = hz;
        t.from = "established " + f.label;
        k.timings.push_back(t);
    }
}

void add_standard(const EdidPart& part, SinkCaps& k) {
    const std::vector<EdidField> f = part_fields(part);
    for (int i = 1; i <= 8; ++i) {
        const std::string n = std::to_string(i);
        const int first = part_byte(part.bytes, 2 * (i - 1));
        const int second = part_byte(part.bytes, 2 * (i - 1) + 1);
        if (first <= 1 && second <= 1) continue;  // 01 01 or 00 00: unused
        SinkTiming t;
        t.h_active = static_cast<int>(field_of(part.bytes, f, "st" + n + "_width"));
        // 16:10, 4:3, 5:4, 16:9
        constexpr int num[] = {10, 3, 4, 9}, den[] = {16, 4, 5, 16};
        const long long aspect = field_of(part.bytes, f, "st" + n + "_aspect");
        t.v_active = t.h_active * num[aspect & 3] / den[aspect & 3];
        t.rate_hz = static_cast<double>(field_of(part.bytes, f, "st" + n + "_rate"));
        t.from = "standard timing " + n;
        k.timings.push_back(t);
    }
}

void add_cta_block(const EdidModel& m, int b, SinkCaps& k) {
    std::vector<int> block_vics;  // the SVDs a capability map counts
    std::vector<std::string> maps;
    int timing = 0;
    for (int p = 0; p < static_cast<int>(m.block(b).parts.size()); ++p) {
        const EdidPart& part = m.part(b, p);
        const std::string& bytes = part.bytes;
        if (part.role == EdidPartRole::cta_header) {
            const std::vector<EdidField> f = part_fields(part);
            k.ycbcr444 = k.ycbcr444 || flag_of(bytes, f, "ycbcr_4_4_4");
            k.ycbcr422 = k.ycbcr422 || flag_of(bytes, f, "ycbcr_4_2_2");
            k.basic_audio = k.basic_audio || flag_of(bytes, f, "basic_audio");
            continue;
        }
        if (part.role == EdidPartRole::cta_timing) {
            add_descriptor_timing(bytes, "CTA detailed timing " + std::to_string(++timing), k);
            continue;
        }
        if (part.role != EdidPartRole::data_block) continue;
        const std::vector<EdidField> f = part_fields(part);
        switch (data_block_kind(bytes)) {
            case DataBlockKind::video:
                for (int code : svd_codes(part)) block_vics.push_back(svd_decode(code).vic);
                break;
            case DataBlockKind::y420_video:
                for (int code : svd_codes(part)) k.y420_only.insert(svd_decode(code).vic);
                break;
            case DataBlockKind::y420_map:
                maps.push_back(bytes);
                break;
            case DataBlockKind::audio:
                for (const EdidListItem& sad : part_list_items(part)) {
                    SinkAudio a;
                    a.format = static_cast<int>(field_of(bytes, sad.fields, "format"));
                    a.max_channels = static_cast<int>(field_of(bytes, sad.fields, "channels"));
                    const std::vector<std::string>& rates = audio_rate_names();
                    for (std::size_t r = 0; r < rates.size(); ++r)
                        if (flag_of(bytes, sad.fields, "rate_" + field_make::slug(rates[r])))
                            a.rate_mask |= 1 << r;
                    k.sads.push_back(a);
                }
                break;
            case DataBlockKind::hdmi:
                k.hdmi = true;
                k.dc30 = k.dc30 || flag_of(bytes, f, "deep_colour_30_bit");
                k.dc36 = k.dc36 || flag_of(bytes, f, "deep_colour_36_bit");
                k.dc48 = k.dc48 || flag_of(bytes, f, "deep_colour_48_bit");
                k.dc_y444 = k.dc_y444 || flag_of(bytes, f, "deep_colour_4_4_4");
                k.three_d = k.three_d || flag_of(bytes, f, "3d_present");
                for (const EdidField& v : f)
                    if (v.key.rfind("hdmi_vic_", 0) == 0 && v.key != "hdmi_vic_count")
                        k.hdmi_vics.push_back(static_cast<int>(field_value(bytes, v)));
                break;
            case DataBlockKind::hdmi_forum:
                k.hf = true;
                k.scdc = k.scdc || flag_of(bytes, f, "scdc_present");
                for (int bit = 0; bit < 3; ++bit) {
                    const char* depth[] = {"30", "36", "48"};
                    if (flag_of(bytes, f, std::string("4_2_0_deep_colour_") + depth[bit] + "_bit"))
                        k.dc420_bits |= 1 << bit;
                }
                break;
            case DataBlockKind::video_capability:
                k.video_capability = true;
                k.qs = k.qs || flag_of(bytes, f, "qs");
                k.qy = k.qy || flag_of(bytes, f, "qy");
                break;
            case DataBlockKind::colorimetry:
                k.colorimetry_block = true;
                k.colorimetry_bits |= part_byte(bytes, 2);
                break;
            case DataBlockKind::hdr_static: {
                k.hdr = true;
                const char* eotf[] = {"eotf_traditional_sdr", "eotf_traditional_hdr",
                                      "eotf_smpte_st_2084", "eotf_hlg"};
                for (int e = 0; e < 4; ++e)
                    if (flag_of(bytes, f, eotf[e])) k.eotf_bits |= 1 << e;
                break;
            }
            default:
                break;
        }
    }
    // A map of no bytes marks every SVD of the block; otherwise bit i marks
    // the block's i-th SVD.
    for (const std::string& map : maps) {
        for (std::size_t i = 0; i < block_vics.size(); ++i) {
            const int byte = 2 + static_cast<int>(i / 8);
            if (map.size() <= 2 || ((part_byte(map, byte) >> (i % 8)) & 1))
                k.y420_also.insert(block_vics[i]);
        }
    }
    k.vics.insert(k.vics.end(), block_vics.begin(), block_vics.end());
}

std::string image_bytes(const EdidBuffer& b) {
    return std::string(reinterpret_cast<const char*>(b.data.data()),
                       static_cast<std::size_t>(std::max(0, b.size)));
}

}  // namespace

std::optional<SinkTiming> vic_timing(int vic) {
    const VideoTiming* v = video_timing_of_vic(vic);
    if (!v) return std::nullopt;
    return timing_from(v->clock_10khz, v->h_active, v->h_blank(), v->v_active, v->v_blank(),
                       v->interlaced, "VIC " + std::to_string(vic));
}

// ---- the sink ------------------------------------------------------------------

SinkCaps sink_caps(const EdidModel& m) {
    SinkCaps k;
    int descriptor = 0;
    for (const EdidPart& part : m.block(0).parts) {
        if (part.role == EdidPartRole::descriptor)
            add_descriptor_timing(part.bytes, "detailed timing " + std::to_string(++descriptor), k);
        else if (part.role == EdidPartRole::established)
            add_established(part, k);
        else if (part.role == EdidPartRole::standard)
            add_standard(part, k);
    }
    for (int b = 1; b < m.block_count(); ++b) {
        if (!m.block(b).is_cta()) continue;
        k.cta = true;
        add_cta_block(m, b, k);
    }
    k.max_tmds_mhz = edid_max_tmds_mhz(m);
    return k;
}

// ---- the EDID ------------------------------------------------------------------

SourceCheckEdid source_check_edid_file(const std::string& path) {
    SourceCheckEdid e;
    const EdidLoad load = edid_file_load(path);
    if (!load.ok()) {
        e.why = path + ": " +
                (load.io_message.empty() ? edid_load_error_name(load.error) : load.io_message);
        return e;
    }
    e.model = EdidModel::parse(image_bytes(load.buffer), &e.why);
    if (!e.model) e.why = path + ": " + e.why;
    e.origin = "file " + path;
    return e;
}

// The EDID the unit presents on its input, read from the unit.
SourceCheckEdid source_check_edid_unit(Engine& engine) {
    SourceCheckEdid e;
    LinkState& link = engine.link();
    link.quiet_transaction = true;
    engine.cmdtx_str("$edid_rx?\r");
    const std::string rx = link.cmdrx_status == ReplyStatus::Accepted ? link.cmdrx_param1 : "";
    const std::string source = rx_edid_read_source(rx);
    if (source.empty()) {
        link.quiet_transaction = false;
        e.why =
            "the unit did not say which EDID its input presents (" +
            (rx.empty() ? std::string(reply_status_name(link.cmdrx_status)) : "\"" + rx + "\"") +
            ")";
        return e;
    }
    std::string name;
    if (source != "sink_h") {
        engine.cmdtx_str("$edid_name? " + source + "\r");
        if (link.cmdrx_status == ReplyStatus::Accepted && link.cmdrx_param1 == source)
            name = link.cmdrx_param2;
    }
    const EdidReadResult read = edid_read_unit(engine, source);
    link.quiet_transaction = false;
    if (read.end == EdidReadEnd::nothing) {
        e.why = "the unit's " + source + " EDID could not be read";
        return e;
    }
    e.model = EdidModel::parse(image_bytes(read.buffer), &e.why);
    if (source == "sink_h" && e.model) name = edid_monitor_name(read.buffer);
    e.origin = rx_edid_origin(rx, name);
    return e;
}

}  // namespace t27
