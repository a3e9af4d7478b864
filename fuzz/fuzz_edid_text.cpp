// Hex text as a user's .hex file holds it, and the unit's block triplets.
#include <cstddef>
#include <cstdint>
#include <string>

#include "edid/edid_buffer.h"
#include "edid/hex_text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);

    const t27::EdidTextParse p = t27::edid_text_parse(content);
    if (p.ok) {
        T27_FUZZ_CHECK(p.bytes.size() <= static_cast<std::size_t>(t27::edid_data_bytes));
        // The laid-out text reads back as the same bytes and lays out the same.
        const t27::EdidTextParse again = t27::edid_text_parse(p.text);
        T27_FUZZ_CHECK(again.ok);
        T27_FUZZ_CHECK(again.bytes == p.bytes);
        T27_FUZZ_CHECK(again.text == p.text);
    }

    const t27::EdidReplyBlock block = t27::edid_reply_block_decode(content);
    T27_FUZZ_CHECK(block.bytes.size() == static_cast<std::size_t>(t27::edid_block_bytes));
    T27_FUZZ_CHECK(block.pairs.size() == static_cast<std::size_t>(t27::edid_block_bytes));
    t27::edid_text_format_pairs(block.pairs, 0, t27::EdidSeparatorRule::before_further_blocks);
    t27::edid_text_format_pairs(block.pairs, 128, t27::EdidSeparatorRule::before_further_blocks);
    return 0;
}
