#include "edid/analysis_report.h"

#include "edid/base_block.h"
#include "edid/cea_report.h"
#include "edid/check_labels.h"
#include "edid/hex_digits.h"
#include "edid/tag_names.h"

namespace t27 {

namespace {

const char* const eol = "\r\n";
const char* const rule = "==============================";
constexpr int tag_cea = 0x02;
constexpr int tag_block_map = 0xF0;

void bad_checksum_line(std::string& out, const EdidBuffer& buf, int block) {
    const int expected = buf.checksums[static_cast<std::size_t>(block)];
    if (buf.byte(edid_block_bytes * block + 127) != expected) {
        out +=
            ">>>>> ! Bad Checksum, should be " + hex_upper(static_cast<unsigned>(expected)) + eol;
    }
}

void extension_dump(std::string& out, const EdidBuffer& buf, int block) {
    const int tag = buf.byte(edid_block_bytes * block);
    out += std::string(eol) + rule + " Block " + std::to_string(block) + ": " +
           extension_tag_name(tag) + eol;
    out += edid_block_dump(buf, block);
    bad_checksum_line(out, buf, block);
    out += eol;
}

}  // namespace

std::string edid_block_dump(const EdidBuffer& buf, int block) {
    std::string out;
    for (int line = 0; line < 16; ++line) {
        out += ' ';
        const int first = edid_block_bytes * block + 8 * line;
        for (int k = first; k < first + 8; ++k) {
            out += hex_upper(static_cast<unsigned>(buf.byte(k)), 2) + ' ';
        }
        out += "//" + hex_upper(static_cast<unsigned>(first + 7)) + eol;
    }
    return out;
}

std::string edid_report_text(const EdidBuffer& buf) {
    std::string out;
    if (buf.type_code == edid_type_invalid) {
        if (buf.type_detail == edid_error_header) {
            out += std::string(">>>>> ! Block0 has bad header.") + eol;
        } else if (buf.type_detail == edid_error_block_count) {
            return out + ">>>>> ! Block0 has bad size." + eol;
        }
    }
    const std::string type = edid_type_name(buf.type_code, buf.type_detail);
    if (!type.empty()) out += "EDID Type = " + type + " , ";
    out += "Total " + std::to_string(buf.block_count) + " blocks" + eol;

    out += std::string(eol) + rule + " Block 0: VESA BASE EDID" + eol;
    out += edid_block_dump(buf, 0);
    bad_checksum_line(out, buf, 0);
    out += eol;

    const int code = edid_product_code(buf);
    out += " Manufacturer Name = " + buf.manufacturer + eol;
    out += " Product Code = " + std::to_string(code) + " (" +
           hex_upper(static_cast<unsigned>(code), 4) + " h)" + eol;
    out += " Monitor Name = " + buf.monitor_name + eol;
    if (buf.has_first_timing) {
        out += " First Detailed Timing = " + edid_native_text(buf) +
               edid_rate_text(buf.refresh_rate) + eol;
    }

    for (int block = 1; block < buf.block_count && block < edid_max_blocks; ++block) {
        extension_dump(out, buf, block);
        const int tag = buf.byte(edid_block_bytes * block);
        if (block == 1 && tag == tag_block_map) {
            for (int k = 2; k < buf.block_count; ++k) {
                out += " Block " + std::to_string(k) + "= " +
                       extension_tag_name(buf.byte(128 + k - 1)) + eol;
            }
        }
        if (tag == tag_cea) out += cea_report_section(buf, block);
    }
    return out;
}

std::string edid_report_file_text(const std::string& report, const std::string& time_text,
                                  const std::string& date_text, const std::string& model_caption,
                                  const std::string& firmware_caption) {
    std::string out = "EDID Analysis Report " + time_text + " " + date_text + eol;
    out += "Model: " + model_caption + " , " + firmware_caption + " , AP: 2.18T" + eol + eol;
    out += report;
    out += std::string(eol) + "END." + eol;
    return out;
}

}  // namespace t27
