#pragma once
// Reading an EDID from one of the unit's sources block by block, and writing
// the first two blocks of an image into the sink or a user slot. Plain
// functions over the transaction engine, shared by the EDID tab and t27ctl.
#include <functional>
#include <string>

#include "edid/edid_buffer.h"
#include "protocol/engine.h"

namespace t27 {

enum class EdidReadEnd {
    nothing,   // block 0 was not read: the window stays empty
    partial,   // stopped after block 0 or at a malformed later block: no check
    complete,  // read as far as the image asks: go on to the check
};

struct EdidReadResult {
    EdidReadEnd end = EdidReadEnd::nothing;
    std::string text;     // the READ window's hex text
    EdidBuffer buffer;    // the bytes this read stored, and `size`
    int blocks_read = 0;  // blocks stored from block 0 on without a gap
};

// Reads `source` ("sink_h", "sink_v", "d1" ... "c10"). Only the sink is asked
// for blocks 2 and 3, as its extension count says. `on_text` (may be empty)
// sees the window text each time it grows, so a window can fill as the
// blocks arrive. Sets and clears the link's block_follows.
//
// The buffer starts empty on every read and `size` never counts a block that
// this read did not store: an image that claims more blocks than were read
// fails the check on its block count instead of being judged together with
// whatever an earlier read left behind.
// `on_block` (may be empty) hears each block number just before it is asked
// for, for a progress line.
EdidReadResult edid_read_unit(Engine& engine, const std::string& source,
                              const std::function<void(const std::string&)>& on_text = {},
                              const std::function<void(int)>& on_block = {});

// True when the last transaction accepted the block `block` of `source` and
// exactly one block of data followed its reply line.
bool edid_block_accepted(const LinkState& link, const std::string& source,
                         const std::string& block);

// Writes bytes 0-255 of `image` to `slot`, block0 then block1. True when the
// unit accepted both; any refusal ends the write. Blocks 2 and 3 are never
// written.
bool edid_write_unit(Engine& engine, const std::string& slot, const EdidBuffer& image);

// The name a user slot takes after a write: manufacturer "." monitor name.
std::string edid_written_slot_name(const std::string& manufacturer, const std::string& model1,
                                   const std::string& model2);

}  // namespace t27
