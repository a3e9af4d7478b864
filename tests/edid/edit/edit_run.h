#pragma once
// What the editor's tests share: "t27ctl edid edit" run in-process, the image
// a file holds, and edid-decode's verdict on a file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/t27ctl/edid_commands.h"
#include "edid/edid_check.h"
#include "edid/edid_files.h"
#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"

namespace t27::edit_test {

namespace fs = std::filesystem;

struct CliRun {
    int rc;
    std::string out;
    std::string err;
};

inline CliRun edit(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"edit"};
    all.insert(all.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    const int rc = edid_cli_main(all, out, err);
    return {rc, out.str(), err.str()};
}

// The image a file holds, as OPEN puts it on the WRITE side.
inline std::string image_of(const std::string& path) {
    EdidLoad load = edid_file_load(path);
    edid_write_side_size_fix(load.buffer);
    return std::string(load.buffer.data.begin(), load.buffer.data.begin() + load.buffer.size);
}

// The failure lines of "edid-decode --check", or nothing when it is not installed.
inline std::optional<std::set<std::string>> conformance_failures(const std::string& path) {
    static const bool installed = std::system("command -v edid-decode > /dev/null 2>&1") == 0;
    if (!installed) return std::nullopt;
    std::set<std::string> lines;
    FILE* p = ::popen(("edid-decode --check '" + path + "' 2>&1").c_str(), "r");
    if (!p) return lines;
    char buf[1024];
    bool in_failures = false;
    std::string section;
    while (std::fgets(buf, sizeof buf, p)) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line == "Failures:") {
            in_failures = true;
        } else if (line.rfind("EDID conformity", 0) == 0) {
            in_failures = false;
        } else if (in_failures && !line.empty() && line[0] != ' ') {
            section = line;
        } else if (in_failures && line.rfind("  ", 0) == 0 && line.rfind("    ", 0) != 0) {
            // A failure is its line under its section; the numbers in it and
            // the lines below it detail what is still the same failure.
            std::string key = section + line;
            std::string plain;
            for (char c : key)
                if (!std::isdigit(static_cast<unsigned char>(c)) || plain.empty() ||
                    plain.back() != '#')
                    plain += std::isdigit(static_cast<unsigned char>(c)) ? '#' : c;
            lines.insert(plain);
        }
    }
    ::pclose(p);
    return lines;
}

struct Checked {
    EdidBuffer buffer;
    std::string report;
    std::optional<EdidModel> model;
};

inline Checked check(const std::string& path) {
    Checked c;
    EdidLoad load = edid_file_load(path);
    edid_write_side_size_fix(load.buffer);
    EdidBuffer working;
    edid_check(load.buffer, working);
    c.buffer = working;
    c.report = edid_report_text(working);
    c.model = EdidModel::parse(image_of(path));
    return c;
}

inline bool has_vic(const EdidModel& m, int vic) {
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
        for (int code : svd_codes(m.part(r.block, r.part)))
            if (svd_decode(code).vic == vic) return true;
    return false;
}

inline bool contains(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

// The image files of those folders that exist.
inline std::vector<std::string> image_files(std::initializer_list<const char*> dirs,
                                     std::initializer_list<const char*> extensions) {
    std::vector<std::string> files;
    for (const char* dir : dirs) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& e : fs::directory_iterator(dir))
            for (const char* ext : extensions)
                if (e.path().extension() == ext) files.push_back(e.path().string());
    }
    return files;
}

}  // namespace t27::edit_test
