#pragma once
// The nodes of the analysis tree, as data the window adds in order.
#include <string>
#include <vector>

#include "edid/edid_buffer.h"

namespace t27 {

struct EdidTreeNode {
    int index = 0;  // 1-based, in the order the nodes are added
    std::string key;
    std::string caption;
    int parent = 0;  // 0 for a root node
    bool expanded = false;
};

inline constexpr int edid_tree_summary_node = 1;
inline constexpr const char* edid_tree_summary_key = "summary";

// Nodes for a buffer that the check has just run on: only "Summary :" when
// block 0 has a bad header, all thirteen otherwise.
std::vector<EdidTreeNode> edid_tree_nodes(const EdidBuffer& checked);

}  // namespace t27
