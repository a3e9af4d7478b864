#pragma once
// The check every fill of a buffer runs: block count, checksums, header, then
// the type (analog, DVI, HDMI) and the HDMI class from the range limits and
// the vendor blocks, and the base-block fields.
#include "edid/edid_buffer.h"

namespace t27 {

// Checks and decodes `buf` in place.
void edid_check_in_place(EdidBuffer& buf);

// The side's record is copied into `working`, checked there and copied back,
// so that `working` afterwards describes the side checked last (the analysis
// report reads it).
void edid_check(EdidBuffer& side, EdidBuffer& working);

// Block number (1-3) of the CEA-861 extension the type decision uses, or -1:
// block 1 of a two-block image; block 2, else block 3, of a longer one, else
// block 1 of a longer one.
int edid_cea_block_for_type(const EdidBuffer& buf);

// The checksum byte that block b must carry for its 128 bytes to sum to 0.
int edid_expected_checksum(const EdidBuffer& buf, int block);

// Size of an image read from the unit, from its extension count: one block
// when the count is 0 and the second block read back as all 0xFF.
int edid_read_size(const EdidBuffer& buf);

// Before the WRITE side's check: a 256-byte image without extensions whose
// second block is all 0xFF is one block.
void edid_write_side_size_fix(EdidBuffer& buf);

// True when bytes 128-255 are all 0xFF.
bool edid_second_block_blank(const EdidBuffer& buf);

}  // namespace t27
