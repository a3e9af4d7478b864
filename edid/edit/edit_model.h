#pragma once
// The editor's model of an EDID image: each block cut into parts that own
// their bytes. A part the editor does not understand keeps its bytes as they
// were, so joining the parts gives the image back byte for byte. An edit
// rewrites only its own part; a change of size re-lays the CTA-861 block
// around it. Checksums are recomputed when the image is serialized after an
// edit, and left as they were read while nothing has been edited.
#include <optional>
#include <string>
#include <vector>

namespace t27 {

enum class EdidPartRole {
    // Base block, in byte order.
    header,
    vendor,
    version,
    display,
    colour,
    established,
    standard,
    descriptor,  // one of the four 18-byte descriptors
    extension_count,
    checksum,
    // CTA-861 extension.
    cta_header,
    data_block,
    collection,  // a data block collection that could not be walked, kept whole
    cta_timing,  // an 18-byte detailed timing after the data blocks
    // Bytes after the detailed timings up to the last non-zero one: display
    // descriptors after a zero-clock entry, or bytes of unknown meaning. Kept
    // whole at the same distance from the timings; only the zero padding
    // after it gives or takes room.
    trailer,
    padding,  // zero bytes up to the checksum
    // Any other extension: everything but the checksum.
    raw_block,
};

struct EdidPart {
    EdidPartRole role = EdidPartRole::raw_block;
    std::string bytes;
};

inline constexpr int edid_cta_tag = 0x02;
// Bytes 0-126 of a block; byte 127 is its checksum.
inline constexpr int edid_block_body = 127;

struct EdidBlock {
    std::vector<EdidPart> parts;

    std::string bytes() const;
    int tag() const;
    bool is_cta() const { return tag() == edid_cta_tag; }
    // Offset of part p within the block.
    int offset_of(int p) const;
};

// An edit that could not be made says why; nothing was changed then.
struct EdidEdit {
    std::string why;
    bool ok() const { return why.empty(); }
};

class EdidModel {
  public:
    // An image of 1 to 4 whole blocks. Nothing else is asked of it: a bad
    // header, checksum or extension count is kept as read.
    static std::optional<EdidModel> parse(const std::string& image, std::string* why = nullptr);

    std::string serialize() const;
    bool edited() const { return edited_; }

    // What edits changed beyond what was asked (header bits they imply, 3D
    // entries that went with a removed VIC), and what they left dangling or
    // could not keep. In the order they were made; an undo takes them back
    // with the edit.
    const std::vector<std::string>& notes() const { return notes_; }
    const std::vector<std::string>& warnings() const { return warnings_; }
    void note(const std::string& line);
    void warn(const std::string& line);

    int block_count() const { return static_cast<int>(blocks_.size()); }
    const EdidBlock& block(int b) const { return blocks_[static_cast<std::size_t>(b)]; }
    const EdidPart& part(int b, int p) const { return block(b).parts[static_cast<std::size_t>(p)]; }
    // Offset of the part in the whole image.
    int image_offset(int b, int p) const { return 128 * b + block(b).offset_of(p); }

    // Replaces a part's bytes. A base-block part or descriptor keeps its
    // size; a data block or CTA timing may change size, and the CTA block is
    // laid out again (data blocks, then timings, then padding) or the edit
    // is refused when they would not fit in the block.
    EdidEdit replace(int b, int p, const std::string& bytes);
    // Adds a data block after the part `after` (-1: after the last data
    // block) of CTA block b. Like every change of a CTA block's layout, it
    // is refused when a data block would follow a detailed timing.
    EdidEdit insert_data_block(int b, const std::string& bytes, int after = -1);
    // Adds an 18-byte detailed timing after the part `after` of CTA block b.
    EdidEdit insert_timing(int b, const std::string& bytes, int after);
    // Removes a data block or a CTA timing.
    EdidEdit remove(int b, int p);
    // Appends an empty CTA-861 block (revision 3) and counts it in block 0.
    EdidEdit add_cta_block();
    // Removes extension block b (1-3) and counts one fewer in block 0.
    EdidEdit remove_block(int b);

  private:
    EdidEdit lay_out_cta(int b, std::vector<EdidPart> parts);
    void set_extension_count();

    std::vector<EdidBlock> blocks_;
    std::vector<std::string> notes_;
    std::vector<std::string> warnings_;
    bool edited_ = false;
};

// Parts of a freshly parsed block, exposed for the fuzz target and tests.
EdidBlock edid_parse_block(const std::string& bytes, int index);

}  // namespace t27
