#include "edid/unit/unit_exchange.h"

#include <algorithm>

#include "edid/edid_check.h"
#include "edid/hex_text.h"

namespace t27 {

namespace {

constexpr int ext_count_at = 126;

std::string block_name(int b) { return "block" + std::to_string(b); }

// Stores an accepted block and returns its hex text (with the separator
// before it that the unit's text rule puts before every further block).
std::string store_block(EdidBuffer& buf, int b, const std::string& data) {
    const EdidReplyBlock block = edid_reply_block_decode(data);
    for (int i = 0; i < edid_block_bytes; ++i)
        buf.data[static_cast<std::size_t>(edid_block_bytes * b + i)] =
            static_cast<std::uint8_t>(block.bytes[static_cast<std::size_t>(i)]);
    std::string text = edid_text_format_pairs(block.pairs, edid_block_bytes * b,
                                              EdidSeparatorRule::before_further_blocks);
    // The separator was shown before the request went out.
    if (b > 0) text.erase(0, edid_text_separator().size());
    return text;
}

}  // namespace

bool edid_block_accepted(const LinkState& link, const std::string& source,
                         const std::string& block) {
    return link.cmdrx_status == ReplyStatus::Accepted && link.cmdrx_param1 == source &&
           link.cmdrx_param2 == block && link.cmdrx_count == edid_block_chars;
}

EdidReadResult edid_read_unit(Engine& engine, const std::string& source,
                              const std::function<void(const std::string&)>& on_text,
                              const std::function<void(int)>& on_block) {
    LinkState& link = engine.link();
    EdidReadResult r;
    auto show = [&] {
        if (on_text) on_text(r.text);
    };
    // One status line and one data block per read line.
    auto send = [&](int b) {
        if (on_block) on_block(b);
        link.block_follows = true;
        engine.cmdtx_str("$edid_read " + source + "," + block_name(b) + "\r");
        return edid_block_accepted(link, source, block_name(b));
    };
    auto finish = [&](EdidReadEnd end) {
        link.block_follows = false;
        r.end = end;
        r.buffer.size = edid_block_bytes * r.blocks_read;
        return r;
    };

    if (!send(0)) return finish(EdidReadEnd::nothing);
    r.text += store_block(r.buffer, 0, link.cmdrx_block);
    r.blocks_read = 1;
    show();

    r.text += edid_text_separator();
    show();
    if (!send(1)) return finish(EdidReadEnd::partial);
    r.text += store_block(r.buffer, 1, link.cmdrx_block);
    r.blocks_read = 2;
    show();

    const int extensions = r.buffer.byte(ext_count_at);
    if (source == "sink_h") {
        bool gap = false;
        for (int b = 2; b <= 3 && extensions >= b; ++b) {
            r.text += edid_text_separator();
            show();
            const bool accepted = send(b);
            // A refused line is passed over; an accepted one that is not
            // this block, or not a whole block, ends the read unchecked.
            if (link.cmdrx_status != ReplyStatus::Accepted) {
                gap = true;
                continue;
            }
            if (!accepted) return finish(EdidReadEnd::partial);
            r.text += store_block(r.buffer, b, link.cmdrx_block);
            if (!gap) r.blocks_read = b + 1;
            show();
        }
    }

    link.block_follows = false;
    r.end = EdidReadEnd::complete;
    r.buffer.size = std::min(edid_read_size(r.buffer), edid_block_bytes * r.blocks_read);
    return r;
}

bool edid_write_unit(Engine& engine, const std::string& slot, const EdidBuffer& image) {
    std::copy_n(image.data.begin(), engine.edid_tx_data().size(), engine.edid_tx_data().begin());
    for (int b = 0; b < 2; ++b) {
        engine.cmdtx_str("$edid_write " + slot + "," + block_name(b) + "\r\n");
        const LinkState& link = engine.link();
        if (link.cmdrx_status != ReplyStatus::Accepted || link.cmdrx_param1 != slot ||
            link.cmdrx_param2 != block_name(b))
            return false;
    }
    return true;
}

std::string edid_written_slot_name(const std::string& manufacturer, const std::string& model1,
                                   const std::string& model2) {
    return manufacturer + "." + model1 + model2;
}

}  // namespace t27
