#include "edid/analysis_tree.h"

#include <array>

#include "edid/tag_names.h"

namespace t27 {

namespace {

struct NodeRow {
    const char* key;
    const char* caption;
    int parent;
};

// Node 3's caption gets the tag name of block 1 appended.
constexpr std::array<NodeRow, 13> node_rows = {{
    {"summary", "Summary :", 0},
    {"block0_root_true", "Block 0 : VESA Basic Block", 0},
    {"block1_root_false", "Block 1 : ", 0},
    {"block0_binary", "Binary List", 2},
    {"block0_vendor", "Vendor/Product Id", 2},
    {"block0_basic", "Basic Display Parameters", 2},
    {"block0_color", "Color Characteristics", 2},
    {"block0_established", "Established Timings", 2},
    {"block0_standard", "Standard Timings", 2},
    {"block0_standard1", "Standard Timings 1,2,3", 9},
    {"block0_standard2", "Standard Timings 4,5,6", 9},
    {"block0_standard3", "Standard Timings 7,8", 9},
    {"block0_dt_mon", "Detail Timings/Monitor Descriptors", 2},
}};

}  // namespace

std::vector<EdidTreeNode> edid_tree_nodes(const EdidBuffer& buf) {
    const bool bad_header =
        buf.type_code == edid_type_invalid && buf.type_detail == edid_error_header;
    const std::size_t count = bad_header ? 1 : node_rows.size();
    std::vector<EdidTreeNode> nodes;
    for (std::size_t i = 0; i < count; ++i) {
        EdidTreeNode n;
        n.index = static_cast<int>(i) + 1;
        n.key = node_rows[i].key;
        n.caption = node_rows[i].caption;
        n.parent = node_rows[i].parent;
        if (n.index == 3) n.caption += extension_tag_name(buf.byte(128));
        n.expanded = n.index == 2 || n.index == 3;
        nodes.push_back(n);
    }
    return nodes;
}

}  // namespace t27
