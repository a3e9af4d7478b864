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
#include "edid/hex_text.h"
#include "fuzz/fuzz_support.h"

namespace t27::fuzz {

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

    // The window text goes through the writers and back through the parser.
    const std::string cleaned = edid_clean_text(load.text);
    edid_hex_simple(cleaned);
    edid_hex_c_language(cleaned);
    const std::string bin = edid_bin_from_text(cleaned);
    T27_FUZZ_CHECK(bin.size() <= static_cast<std::size_t>(edid_data_bytes));

    const EdidCompare same = edid_compare(load.text, side, load.text, side);
    T27_FUZZ_CHECK(same.differing.empty());

    std::string text = load.text;
    EdidBuffer repaired = working;
    // Only blocks whose "R" button shows can be repaired.
    for (int block = 0; block < edid_max_blocks; ++block) {
        if (!labels[static_cast<std::size_t>(block)].recover_visible) continue;
        edid_checksum_repair(repaired, text, block);
        T27_FUZZ_CHECK(text.size() == load.text.size());
        T27_FUZZ_CHECK(edid_expected_checksum(repaired, block) ==
                       repaired.byte(edid_block_bytes * block + edid_block_bytes - 1));
    }
}

}  // namespace t27::fuzz
