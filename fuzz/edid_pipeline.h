#pragma once
// What the EDID window does with a loaded image, in the order it does it:
// check, labels, analysis report and tree, then the writers and COMPARE that
// work from the hex text. Shared by the three file-format targets.
#include <string>

#include "edid/analysis_report.h"
#include "edid/analysis_tree.h"
#include "edid/base_block.h"
#include "edid/cea_blocks.h"
#include "edid/cea_report.h"
#include "edid/check_labels.h"
#include "edid/checksum_repair.h"
#include "edid/edid_check.h"
#include "edid/edid_compare.h"
#include "edid/edid_files.h"
#include "edid/edid_writers.h"
#include "edid/edit/edit_check.h"
#include "edid/edit/edit_decode.h"
#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"
#include "edid/hex_text.h"
#include "fuzz/fuzz_support.h"

namespace t27::fuzz {

using EditorStep = EdidEdit (*)(EdidModel&);

// The editor's model of the image: it gives the image back byte for byte,
// and every edit either is refused with a reason or leaves an image of the
// same size whose checksums are right and that the model reads back as it is.
inline void edid_editor_pipeline(const std::string& image) {
    const auto model = EdidModel::parse(image);
    if (!model) return;
    T27_FUZZ_CHECK(model->serialize() == image);
    T27_FUZZ_CHECK(!edid_decode_text(*model).empty());
    T27_FUZZ_CHECK(!edid_decode_json(*model).empty());
    edid_model_warnings(*model);
    const std::vector<EditorStep> steps = {
        [](EdidModel& m) {
            return edit_add_vics(m, {97, 16});
        },
        [](EdidModel& m) { return edit_remove_vics(m, {16}); },
        [](EdidModel& m) { return edit_native_vic(m, 4); },
        [](EdidModel& m) { return edit_hdr_static(m, true); },
        [](EdidModel& m) { return edit_max_tmds_rate_mhz(m, 600); },
        [](EdidModel& m) { return edit_max_tmds_mhz(m, 300); },
        [](EdidModel& m) { return edit_audio(m, {std::string("\x0F\x7F\x07", 3)}); },
        [](EdidModel& m) { return edit_remove_data_blocks(m, "7"); },
        [](EdidModel& m) { return edit_monitor_name(m, "FUZZ"); },
        [](EdidModel& m) { return m.add_cta_block(); },
    };
    for (const EditorStep& step : steps) {
        EdidModel m = *model;
        const EdidEdit r = step(m);
        if (!r.ok()) {
            T27_FUZZ_CHECK(m.serialize() == image);
            continue;
        }
        const std::string out = m.serialize();
        T27_FUZZ_CHECK(out.size() >= image.size());
        for (std::size_t b = 0; b < out.size() / 128; ++b) {
            int sum = 0;
            for (std::size_t i = 0; i < 128; ++i)
                sum += static_cast<std::uint8_t>(out[128 * b + i]);
            T27_FUZZ_CHECK(sum % 256 == 0);
        }
        // Read back, the edited image has the parts the edit laid out.
        const auto again = EdidModel::parse(out);
        T27_FUZZ_CHECK(again && again->block_count() == m.block_count());
        for (int b = 0; b < m.block_count(); ++b) {
            T27_FUZZ_CHECK(again->block(b).parts.size() == m.block(b).parts.size());
            for (std::size_t p = 0; p + 1 < m.block(b).parts.size(); ++p)
                T27_FUZZ_CHECK(again->block(b).parts[p].bytes == m.block(b).parts[p].bytes);
        }
        edid_check_line(out);
    }
}

inline void edid_pipeline(const EdidLoad& load) {
    if (!load.ok()) {
        T27_FUZZ_CHECK(!edid_load_error_name(load.error).empty());
        return;
    }
    T27_FUZZ_CHECK(load.buffer.size >= 0 && load.buffer.size <= edid_data_bytes);

    EdidBuffer side = load.buffer;
    EdidBuffer working;
    edid_write_side_size_fix(side);
    edid_check(side, working);
    T27_FUZZ_CHECK(working.block_count >= 1 && working.block_count <= 256);

    const auto labels = checksum_labels_show(working);
    type_labels_show(working);
    check_message_labels(working);
    edid_native_text(working);
    edid_descriptor_table(working);
    edid_product_code(working);
    edid_read_size(working);
    for (int block = 1; block < edid_max_blocks; ++block) {
        const CeaVendorBlocks v = cea_vendor_blocks_find(working, block);
        cea_audio_flags(working, v.index);
        cea_hdmi14_flags(working, v);
        cea_hf_flags(working, v);
        cea_first_vic(working, v.index);
        cea_report_section(working, block);
    }
    const std::string report = edid_report_text(working);
    T27_FUZZ_CHECK(!report.empty());
    edid_tree_nodes(working);

    // Saving the window text in any format and opening the file again gives
    // back the bytes that were loaded: nothing the window shows is lost.
    const std::string cleaned = edid_clean_text(load.text);
    const std::string bin = edid_bin_from_text(cleaned);
    // The window may show more than the image: a one-block .ddc dump shows
    // block 1 as FF filler, and the buffer holds the same.
    const EdidTextParse shown_text = edid_text_parse(load.text);
    T27_FUZZ_CHECK(shown_text.ok);
    const std::size_t shown = shown_text.bytes.size();
    T27_FUZZ_CHECK(shown >= static_cast<std::size_t>(load.buffer.size));
    T27_FUZZ_CHECK(bin == shown_text.bytes);
    T27_FUZZ_CHECK(bin == std::string(load.buffer.data.begin(), load.buffer.data.begin() + shown));
    const EdidLoad simple = edid_read_hex(edid_hex_simple(cleaned));
    const EdidLoad c_language = edid_read_hex(edid_hex_c_language(cleaned));
    T27_FUZZ_CHECK(simple.ok() && c_language.ok());
    T27_FUZZ_CHECK(simple.buffer.data == c_language.buffer.data);
    T27_FUZZ_CHECK(static_cast<std::size_t>(simple.buffer.size) == shown);
    T27_FUZZ_CHECK(std::string(simple.buffer.data.begin(), simple.buffer.data.begin() + shown) ==
                   bin);

    edid_editor_pipeline(
        std::string(load.buffer.data.begin(), load.buffer.data.begin() + load.buffer.size));

    const EdidCompare same = edid_compare(load.text, side, load.text, side);
    T27_FUZZ_CHECK(same.differing.empty());

    std::string text = load.text;
    EdidBuffer repaired = working;
    // Only blocks whose "R" button shows can be repaired.
    for (int block = 0; block < edid_max_blocks; ++block) {
        if (!labels[static_cast<std::size_t>(block)].recover_visible) continue;
        const ChecksumRepair r = edid_checksum_repair(repaired, text, block);
        T27_FUZZ_CHECK(text.size() == load.text.size());
        // The text shows the repaired byte too.
        const std::string now = edid_text_parse(text).bytes;
        const std::size_t at = static_cast<std::size_t>(edid_block_bytes * block + 127);
        if (at < now.size())
            T27_FUZZ_CHECK(!r.text_changed ||
                           static_cast<std::uint8_t>(now[at]) == repaired.data[at]);
        T27_FUZZ_CHECK(edid_expected_checksum(repaired, block) ==
                       repaired.byte(edid_block_bytes * block + edid_block_bytes - 1));
    }
}

}  // namespace t27::fuzz
