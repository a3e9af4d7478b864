#include "edid/edit/edit_model.h"

#include <algorithm>

#include "edid/edit/edit_field.h"

namespace t27 {

namespace {

EdidPart slice(EdidPartRole role, const std::string& bytes, int from, int to) {
    return {role,
            bytes.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from))};
}

struct BaseRange {
    EdidPartRole role;
    int from, to;
};

const BaseRange base_ranges[] = {
    {EdidPartRole::header, 0, 8},         {EdidPartRole::vendor, 8, 18},
    {EdidPartRole::version, 18, 20},      {EdidPartRole::display, 20, 25},
    {EdidPartRole::colour, 25, 35},       {EdidPartRole::established, 35, 38},
    {EdidPartRole::standard, 38, 54},     {EdidPartRole::descriptor, 54, 72},
    {EdidPartRole::descriptor, 72, 90},   {EdidPartRole::descriptor, 90, 108},
    {EdidPartRole::descriptor, 108, 126}, {EdidPartRole::extension_count, 126, 127},
};

// Data blocks from byte 4 up to the first timing at `d`. A block that runs
// past `d` means the walk cannot be trusted: the whole collection is kept as
// one raw part then.
void parse_collection(const std::string& bytes, int d, std::vector<EdidPart>& parts) {
    std::vector<EdidPart> blocks;
    int at = 4;
    while (at < d) {
        const int end = at + 1 + (part_byte(bytes, at) & 0x1F);
        if (end > d) {
            parts.push_back(slice(EdidPartRole::collection, bytes, 4, d));
            return;
        }
        blocks.push_back(slice(EdidPartRole::data_block, bytes, at, end));
        at = end;
    }
    parts.insert(parts.end(), blocks.begin(), blocks.end());
}

EdidBlock parse_cta(const std::string& bytes) {
    EdidBlock block;
    block.parts.push_back(slice(EdidPartRole::cta_header, bytes, 0, 4));
    const int d = part_byte(bytes, 2);
    int at = 4;
    if (d != 0 && (d < 4 || d > edid_block_body)) {
        block.parts.push_back(slice(EdidPartRole::collection, bytes, 4, edid_block_body));
        at = edid_block_body;
    } else if (d != 0) {
        parse_collection(bytes, d, block.parts);
        at = d;
        // A timing whose pixel clock is 0 ends the list.
        while (at + 18 <= edid_block_body &&
               (part_byte(bytes, at) != 0 || part_byte(bytes, at + 1) != 0)) {
            block.parts.push_back(slice(EdidPartRole::cta_timing, bytes, at, at + 18));
            at += 18;
        }
    }
    // Only the zero bytes after the last non-zero one are padding: sinks put
    // display descriptors (and sometimes junk) after a zero-clock entry.
    int last = edid_block_body;
    while (last > at && part_byte(bytes, last - 1) == 0) --last;
    if (last > at) block.parts.push_back(slice(EdidPartRole::trailer, bytes, at, last));
    if (last < edid_block_body)
        block.parts.push_back(slice(EdidPartRole::padding, bytes, last, edid_block_body));
    block.parts.push_back(slice(EdidPartRole::checksum, bytes, edid_block_body, 128));
    return block;
}

// Where a part stands in a CTA block's layout. The padding is placed anew
// and stands anywhere.
enum class CtaPlace { header, data, timings, trailer, checksum, anywhere };

CtaPlace cta_place(EdidPartRole role) {
    switch (role) {
        case EdidPartRole::cta_header:
            return CtaPlace::header;
        case EdidPartRole::data_block:
        case EdidPartRole::collection:
            return CtaPlace::data;
        case EdidPartRole::cta_timing:
            return CtaPlace::timings;
        case EdidPartRole::trailer:
            return CtaPlace::trailer;
        case EdidPartRole::checksum:
            return CtaPlace::checksum;
        default:
            return CtaPlace::anywhere;
    }
}

// Why the parts are not laid out as a CTA block is: the header, the data
// blocks, the detailed timings and the checksum, in that order. Empty when
// they are.
std::string cta_order_fault(const std::vector<EdidPart>& parts) {
    if (parts.size() < 2 || parts.front().role != EdidPartRole::cta_header ||
        parts.back().role != EdidPartRole::checksum)
        return "a CTA-861 block starts with its header and ends with its checksum";
    CtaPlace last = CtaPlace::header;
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        const CtaPlace place = cta_place(parts[i].role);
        if (place == CtaPlace::anywhere) continue;
        if (place == CtaPlace::header || place == CtaPlace::checksum)
            return "a CTA-861 block has one header and one checksum";
        if (place == CtaPlace::trailer && last == CtaPlace::trailer)
            return "a CTA-861 block has one part after its detailed timings";
        if (place < last)
            return last == CtaPlace::trailer
                       ? "the bytes after the detailed timings stay after them"
                       : "detailed timings follow the data blocks";
        last = place;
    }
    return {};
}

bool is_sized_freely(EdidPartRole role) {
    return role == EdidPartRole::data_block || role == EdidPartRole::cta_timing;
}

}  // namespace

std::string EdidBlock::bytes() const {
    std::string out;
    for (const EdidPart& p : parts) out += p.bytes;
    return out;
}

int EdidBlock::tag() const {
    return parts.empty() || parts[0].bytes.empty() ? -1
                                                   : static_cast<unsigned char>(parts[0].bytes[0]);
}

int EdidBlock::offset_of(int p) const {
    int at = 0;
    for (int i = 0; i < p && i < static_cast<int>(parts.size()); ++i)
        at += static_cast<int>(parts[static_cast<std::size_t>(i)].bytes.size());
    return at;
}

EdidBlock edid_parse_block(const std::string& bytes, int index) {
    if (index == 0) {
        EdidBlock block;
        for (const BaseRange& r : base_ranges)
            block.parts.push_back(slice(r.role, bytes, r.from, r.to));
        block.parts.push_back(slice(EdidPartRole::checksum, bytes, edid_block_body, 128));
        return block;
    }
    if (part_byte(bytes, 0) == edid_cta_tag) return parse_cta(bytes);
    EdidBlock block;
    block.parts.push_back(slice(EdidPartRole::raw_block, bytes, 0, edid_block_body));
    block.parts.push_back(slice(EdidPartRole::checksum, bytes, edid_block_body, 128));
    return block;
}

void EdidModel::note(const std::string& line) {
    if (std::find(notes_.begin(), notes_.end(), line) == notes_.end()) notes_.push_back(line);
}

void EdidModel::warn(const std::string& line) {
    if (std::find(warnings_.begin(), warnings_.end(), line) == warnings_.end())
        warnings_.push_back(line);
}

std::optional<EdidModel> EdidModel::parse(const std::string& image, std::string* why) {
    const std::size_t n = image.size();
    if (n < 128 || n > 512 || n % 128 != 0) {
        if (why)
            *why = "an image of " + std::to_string(n) +
                   " bytes is not 1 to 4 whole blocks of 128 bytes";
        return std::nullopt;
    }
    EdidModel m;
    for (std::size_t b = 0; b < n / 128; ++b)
        m.blocks_.push_back(edid_parse_block(image.substr(128 * b, 128), static_cast<int>(b)));
    return m;
}

std::string EdidModel::serialize() const {
    std::string out;
    for (const EdidBlock& b : blocks_) {
        std::string bytes = b.bytes();
        if (edited_) {
            int sum = 0;
            for (int i = 0; i < edid_block_body; ++i) sum += part_byte(bytes, i);
            bytes[edid_block_body] = static_cast<char>((256 - sum % 256) % 256);
        }
        out += bytes;
    }
    return out;
}

EdidEdit EdidModel::replace(int b, int p, const std::string& bytes) {
    if (b < 0 || b >= block_count() || p < 0 || p >= static_cast<int>(block(b).parts.size()))
        return {"no such part"};
    EdidBlock& blk = blocks_[static_cast<std::size_t>(b)];
    const EdidPart& old = blk.parts[static_cast<std::size_t>(p)];
    if (old.role == EdidPartRole::checksum) return {"the checksum follows the block's bytes"};
    if (bytes.size() == old.bytes.size() && old.role != EdidPartRole::data_block) {
        blk.parts[static_cast<std::size_t>(p)].bytes = bytes;
        edited_ = true;
        return {};
    }
    if (bytes.size() != old.bytes.size() && (!is_sized_freely(old.role) || !blk.is_cta()))
        return {"this part is " + std::to_string(old.bytes.size()) + " bytes long"};
    std::vector<EdidPart> parts = blk.parts;
    parts[static_cast<std::size_t>(p)].bytes = bytes;
    return lay_out_cta(b, std::move(parts));
}

EdidEdit EdidModel::insert_data_block(int b, const std::string& bytes, int after) {
    if (b < 1 || b >= block_count() || !block(b).is_cta())
        return {"block " + std::to_string(b) + " is not a CTA-861 extension"};
    std::vector<EdidPart> parts = block(b).parts;
    int last_data = 0;  // the CTA header
    for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
        const EdidPartRole role = parts[static_cast<std::size_t>(i)].role;
        if (role == EdidPartRole::collection)
            return {"the data blocks of block " + std::to_string(b) +
                    " cannot be walked; they are kept as they are"};
        if (role == EdidPartRole::data_block) last_data = i;
    }
    const int at = (after < 0 ? last_data : after) + 1;
    parts.insert(parts.begin() + at, EdidPart{EdidPartRole::data_block, bytes});
    return lay_out_cta(b, std::move(parts));
}

EdidEdit EdidModel::insert_timing(int b, const std::string& bytes, int after) {
    if (b < 1 || b >= block_count() || !block(b).is_cta())
        return {"block " + std::to_string(b) + " is not a CTA-861 extension"};
    std::vector<EdidPart> parts = block(b).parts;
    if (after < 0 || after + 1 >= static_cast<int>(parts.size())) return {"no such part"};
    parts.insert(parts.begin() + after + 1, EdidPart{EdidPartRole::cta_timing, bytes});
    return lay_out_cta(b, std::move(parts));
}

EdidEdit EdidModel::remove(int b, int p) {
    if (b < 0 || b >= block_count() || p < 0 || p >= static_cast<int>(block(b).parts.size()))
        return {"no such part"};
    if (!block(b).is_cta() || !is_sized_freely(part(b, p).role))
        return {"only data blocks and detailed timings of a CTA-861 block can be removed"};
    std::vector<EdidPart> parts = block(b).parts;
    parts.erase(parts.begin() + p);
    return lay_out_cta(b, std::move(parts));
}

EdidEdit EdidModel::lay_out_cta(int b, std::vector<EdidPart> parts) {
    if (std::string why = cta_order_fault(parts); !why.empty()) return {why};
    int data = 0;
    int timings = 0;
    int trailer = 0;
    std::size_t padding_at = parts.size();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EdidPart& part = parts[i];
        const int size = static_cast<int>(part.bytes.size());
        if (part.role == EdidPartRole::data_block) {
            if (size < 1 || size > 32)
                return {"a data block holds 0 to 31 bytes after its header, not " +
                        std::to_string(size - 1)};
            part.bytes[0] = static_cast<char>((part_byte(part.bytes, 0) & 0xE0) | (size - 1));
            data += size;
        } else if (part.role == EdidPartRole::collection) {
            data += size;
        } else if (part.role == EdidPartRole::cta_timing) {
            if (size != 18) return {"a detailed timing is 18 bytes long"};
            timings += size;
        } else if (part.role == EdidPartRole::trailer) {
            trailer = size;
        } else if (part.role == EdidPartRole::padding) {
            padding_at = i;
        }
    }
    const int body = 4 + data + timings + trailer;
    if (body > edid_block_body) {
        const int over = body - edid_block_body;
        return {"block " + std::to_string(b) + " would overflow: " + std::to_string(over) +
                (over == 1 ? " byte of its data blocks and detailed timings does not fit"
                           : " bytes of its data blocks and detailed timings do not fit") +
                (trailer > 0 ? " (the " + std::to_string(trailer) +
                                   " non-zero bytes after its detailed timings are kept)"
                             : "")};
    }
    std::string& header = parts[0].bytes;
    const bool had_none = part_byte(header, 2) == 0;
    const bool none = had_none && data == 0 && timings == 0;
    const int had_data = had_none ? 0 : part_byte(header, 2) - 4;
    // Without a collection the bytes after byte 3 mean nothing yet; a first
    // data block would make them read as detailed timings.
    if (had_none && !none && trailer > 0)
        return {"block " + std::to_string(b) + " has no data blocks but " +
                std::to_string(trailer) +
                " non-zero bytes after its header; a data block would give them a meaning"};
    // Readers take the bytes after the timings in whole 18-byte descriptors
    // and the rest as padding: the trailer must fall into as many whole
    // descriptors where it goes as where it was.
    const auto in_whole = [trailer](int at) {
        return std::min(trailer, (edid_block_body - at) / 18 * 18);
    };
    const EdidBlock& was = block(b);
    for (int p = 0; p < static_cast<int>(was.parts.size()); ++p)
        if (was.parts[static_cast<std::size_t>(p)].role == EdidPartRole::trailer &&
            in_whole(was.offset_of(p)) != in_whole(4 + data + timings))
            return {"the " + std::to_string(trailer) +
                    " bytes after the detailed timings of block " + std::to_string(b) +
                    " would change meaning where they would go"};

    // Revisions 1 and 2 have no data blocks: readers skip whatever stands
    // before the timings, and raising the revision would give those bytes a
    // meaning they never had.
    if (part_byte(header, 1) < 3 && had_data > 0 && data != had_data)
        return {"CTA-861 block " + std::to_string(b) + " is of revision " +
                std::to_string(part_byte(header, 1)) +
                ", whose readers skip the bytes before its detailed timings: an edit there "
                "would not be seen"};

    std::string padding;
    if (padding_at < parts.size()) {
        padding = parts[padding_at].bytes;
        parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(padding_at));
    }
    padding.resize(static_cast<std::size_t>(edid_block_body - body), '\0');
    if (!none) header[2] = static_cast<char>(4 + data);
    // Revisions 1 and 2 have no data blocks: a reader would skip the new ones.
    if (part_byte(header, 1) < 3 && had_data <= 0 && data > 0) {
        note("CTA-861 block " + std::to_string(b) + ": revision " +
             std::to_string(part_byte(header, 1)) + " raised to 3, which has data blocks");
        header[1] = 3;
    }
    // Padding that now starts where a timing could sit must not read as one.
    if (!none && trailer == 0 && padding.size() >= 18) padding[0] = padding[1] = '\0';
    // The padding goes just before the checksum, which is always last.
    if (!padding.empty()) parts.insert(parts.end() - 1, EdidPart{EdidPartRole::padding, padding});

    blocks_[static_cast<std::size_t>(b)].parts = std::move(parts);
    edited_ = true;
    return {};
}

void EdidModel::set_extension_count() {
    for (EdidPart& p : blocks_[0].parts)
        if (p.role == EdidPartRole::extension_count)
            p.bytes[0] = static_cast<char>(block_count() - 1);
}

EdidEdit EdidModel::add_cta_block() {
    if (block_count() >= 4) return {"an image holds at most 4 blocks"};
    std::string bytes(128, '\0');
    bytes[0] = static_cast<char>(edid_cta_tag);
    bytes[1] = 3;
    bytes[2] = 4;
    blocks_.push_back(edid_parse_block(bytes, block_count()));
    set_extension_count();
    edited_ = true;
    return {};
}

EdidEdit EdidModel::remove_block(int b) {
    if (b < 1 || b >= block_count()) return {"only an extension block can be removed"};
    blocks_.erase(blocks_.begin() + b);
    set_extension_count();
    edited_ = true;
    return {};
}

}  // namespace t27
