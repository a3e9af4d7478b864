// Random sequences of the editor's edits on an image: whatever the edits
// do or refuse, the image comes back the same through serialise and parse,
// parts the editor does not understand keep their bytes, checksums are
// right, and nothing that names a VIC by position names one past the list
// unless the image already did.
//
// Input: the image (its length cut to whole blocks, 1 to 4), then pairs of
// (operation, argument) bytes, then one byte counting the pairs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace t27;

// Parts kept raw, block by block.
std::vector<std::string> raw_parts(const EdidModel& m) {
    std::vector<std::string> out;
    for (int b = 0; b < m.block_count(); ++b)
        for (const EdidPart& p : m.block(b).parts)
            if (p.role == EdidPartRole::collection || p.role == EdidPartRole::trailer ||
                p.role == EdidPartRole::raw_block)
                out.push_back(std::to_string(b) + ":" + p.bytes);
    return out;
}

// References by position past the list of the block's VICs.
int stray_references(const EdidModel& m) {
    int stray = 0;
    for (int b = 1; b < m.block_count(); ++b) {
        int count = 0;
        for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
            if (r.block == b) count += static_cast<int>(svd_codes(m.part(b, r.part)).size());
        for (const PartRef& r : data_blocks_of(m, DataBlockKind::hdmi))
            if (r.block == b)
                for (int i : hdmi_3d_vic_positions(m.part(b, r.part).bytes)) stray += i >= count;
        for (const PartRef& r : data_blocks_of(m, DataBlockKind::y420_map)) {
            if (r.block != b) continue;
            const std::string& map = m.part(b, r.part).bytes;
            for (int i = 0; i < 8 * (static_cast<int>(map.size()) - 2); ++i)
                stray += i >= count && ((part_byte(map, 2 + i / 8) >> (i % 8)) & 1);
        }
    }
    return stray;
}

void apply(EdidModel& m, int op, int arg) {
    static const char* const kinds[] = {
        "audio",      "video",      "hdmi",     "hdmi-forum", "speaker",          "colorimetry",
        "hdr-static", "y420-video", "y420-map", "vendor",     "video-capability", "7:6"};
    switch (op % 10) {
        case 0:
            edit_add_vics(m, {arg % 128, (arg * 7) % 128});
            break;
        case 1:
            edit_remove_vics(m, {arg % 128});
            break;
        case 2:
            edit_native_vic(m, arg % 128);
            break;
        case 3:
            edit_remove_data_blocks(m, kinds[arg % 12]);
            break;
        case 4:
            edit_hdr_static(m, arg & 1);
            break;
        case 5:
            edit_audio(m, std::vector<std::string>(static_cast<std::size_t>(arg % 4),
                                                   std::string("\x09\x07\x07", 3)));
            break;
        case 6:
            edit_max_tmds_mhz(m, 5 * (arg % 70));
            break;
        case 7:
            edit_max_tmds_rate_mhz(m, 5 * (arg % 130));
            break;
        case 8:
            edit_monitor_name(m, std::string(static_cast<std::size_t>(arg % 14), 'N'));
            break;
        default: {
            const int b = first_cta_block(m);
            if (b > 0) edit_add_cta_timing(m, b, video_timings()[arg % video_timings().size()]);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 129) return 0;
    const std::size_t pairs = data[size - 1];
    const std::size_t ops = std::min(pairs * 2, size - 1);
    const std::size_t image_size = std::min<std::size_t>((size - 1 - ops) / 128 * 128, 512);
    if (image_size == 0) return 0;
    const std::string image(reinterpret_cast<const char*>(data), image_size);
    auto model = EdidModel::parse(image);
    T27_FUZZ_CHECK(model);
    T27_FUZZ_CHECK(model->serialize() == image);
    const std::vector<std::string> raw = raw_parts(*model);
    const int stray_before = stray_references(*model);

    for (std::size_t k = size - 1 - ops; k + 1 < size - 1; k += 2)
        apply(*model, data[k], data[k + 1]);

    const std::string out = model->serialize();
    T27_FUZZ_CHECK(out.size() == image.size());
    const auto again = EdidModel::parse(out);
    T27_FUZZ_CHECK(again);
    T27_FUZZ_CHECK(again->serialize() == out);
    T27_FUZZ_CHECK(raw_parts(*again) == raw);
    if (model->edited())
        for (std::size_t b = 0; b < out.size() / 128; ++b) {
            int sum = 0;
            for (std::size_t i = 0; i < 128; ++i)
                sum += static_cast<unsigned char>(out[128 * b + i]);
            T27_FUZZ_CHECK(sum % 256 == 0);
        }
    if (stray_before == 0) T27_FUZZ_CHECK(stray_references(*again) == 0);
    return 0;
}
