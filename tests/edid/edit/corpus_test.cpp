// Every edit option on every real image the shared folders hold, each output
// judged by edid-decode against its input.
#include <gtest/gtest.h>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include "edid/analysis_report.h"
#include "edid/edid_check.h"
#include "app/t27ctl/edid_commands.h"
#include "edid/edid_files.h"
#include "edid/edit/edit_decode.h"
#include "edid/edit/edit_model.h"
#include "edid/edit/edit_ops.h"
#include "tests/edid/edid_image.h"
#include "tests/edid/temp_dir.h"
#include "tests/edid/edit/edit_run.h"

namespace t27 {
namespace {

namespace fs = std::filesystem;
using namespace edit_test;
using test::TempDir;

// ---- every option on every real image ------------------------------------------------------

// The data blocks an option may change beyond the one it names.
std::vector<DataBlockKind> touched_kinds(const std::string& option, const std::string& value) {
    using K = DataBlockKind;
    const std::vector<K> vics = {K::video, K::y420_video, K::y420_map, K::hdmi};
    if (option == "--add-vic" || option == "--remove-vic" || option == "--native-vic") return vics;
    if (option == "--audio") return {K::audio};
    if (option == "--hdr") return {K::hdr_static};
    if (option == "--max-tmds-mhz") return {K::hdmi};
    if (option == "--max-tmds-rate-mhz") return {K::hdmi_forum};
    if (option == "--remove-block") {
        for (const DataBlockType& t : data_block_types())
            if (value == t.key) return t.kind == K::video ? vics : std::vector<K>{t.kind};
    }
    return {};
}

// Why the output changed more than the option and its re-layout may, or
// nothing. Block 0 may change in the parts the option names, a CTA block in
// the data blocks it touches, its header (data offset; revision and flags
// when the output said so) and its zero padding; everything else stays.
std::string untouched_fault(const EdidModel& in, const EdidModel& out, const std::string& option,
                            const std::string& value, bool noted) {
    if (in.block_count() != out.block_count()) return "block count changed";
    const bool base = option == "--name" || option == "--manufacturer" || option == "--product" ||
                      option == "--serial" || option == "--week";
    for (int p = 0; p < static_cast<int>(in.block(0).parts.size()); ++p) {
        const EdidPartRole role = in.part(0, p).role;
        const bool may = base && (option == "--name" ? role == EdidPartRole::descriptor
                                                     : role == EdidPartRole::vendor);
        if (!may && role != EdidPartRole::checksum && in.part(0, p).bytes != out.part(0, p).bytes)
            return "block 0 " + part_key(in, 0, p) + " changed";
    }
    const std::vector<DataBlockKind> touched = touched_kinds(option, value);
    for (int b = 1; b < in.block_count(); ++b) {
        const std::string bi = in.block(b).bytes();
        const std::string bo = out.block(b).bytes();
        if (!in.block(b).is_cta()) {
            if (bi.substr(0, 127) != bo.substr(0, 127)) return "block " + std::to_string(b);
            continue;
        }
        if (bi[0] != bo[0]) return "CTA tag changed";
        if (!noted && (bi[1] != bo[1] || bi[3] != bo[3]))
            return "CTA header of block " + std::to_string(b) + " changed without a word";
        const auto kept = [&touched](const EdidModel& m, int blk) {
            std::vector<std::pair<EdidPartRole, std::string>> parts;
            for (const EdidPart& part : m.block(blk).parts) {
                if (part.role == EdidPartRole::cta_header || part.role == EdidPartRole::checksum ||
                    part.role == EdidPartRole::padding)
                    continue;
                if (part.role == EdidPartRole::data_block &&
                    std::find(touched.begin(), touched.end(), data_block_kind(part.bytes)) !=
                        touched.end())
                    continue;
                parts.emplace_back(part.role, part.bytes);
            }
            return parts;
        };
        if (kept(in, b) != kept(out, b))
            return "an untouched part of block " + std::to_string(b) + " changed";
        for (const EdidPart& part : out.block(b).parts)
            if (part.role == EdidPartRole::padding &&
                part.bytes.find_first_not_of('\0') != std::string::npos)
                return "non-zero padding in block " + std::to_string(b);
    }
    return {};
}

// Options with a value that fits the image, as "t27ctl edid edit" takes them.
std::vector<std::vector<std::string>> fitting_options(const EdidModel& m) {
    std::vector<int> vics;
    for (const PartRef& r : data_blocks_of(m, DataBlockKind::video))
        for (int code : svd_codes(m.part(r.block, r.part))) vics.push_back(svd_decode(code).vic);
    const auto listed = [&vics](int v) {
        return std::find(vics.begin(), vics.end(), v) != vics.end();
    };
    std::vector<std::vector<std::string>> options = {
        {"--name", "CORPUS EDIT"},
        {"--manufacturer", "ZYX"},
        {"--product", "4660"},
        {"--serial", "305419896"},
        {"--week", "10"},
        {"--max-tmds-mhz", "300"},
        {"--max-tmds-rate-mhz", "600"},
        {"--hdr", "static"},
        {"--hdr", "none"},
        {"--audio", "lpcm:2:48"},
        {"--audio", "ac3:6:48:640"},
    };
    for (int v : {16, 4, 97})
        if (!listed(v)) {
            options.push_back({"--add-vic", std::to_string(v)});
            break;
        }
    std::string ten;
    for (int v = 97; v <= 106; ++v) ten += (ten.empty() ? "" : ",") + std::to_string(v);
    options.push_back({"--add-vic", ten});
    if (!vics.empty()) {
        options.push_back({"--remove-vic", std::to_string(vics.front())});
        options.push_back({"--native-vic", std::to_string(vics.back())});
    }
    for (const DataBlockType& t : data_block_types())
        if (t.kind != DataBlockKind::other && !data_blocks_of(m, t.kind).empty())
            options.push_back({"--remove-block", t.key});
    return options;
}

// A failure the request itself implies, when the edit warned of it.
bool warned_of(const std::string& failure, const std::string& err) {
    const std::pair<const char*, const char*> implied[] = {
        {"Native progressive timings are a mix", "marked native"},
        {"A native interlaced timing", "marked native"},
        {"DisplayID native progressive resolution", "marked native"},
        {"out of range of the Monitor Ranges", "the range limits allow"},
        {"HDMI VIC Codes must have their", "which no video data block lists now"},
        {"Missing VCDB", "without a video capability data block"},
        {"timings are missing in the established timings", "640x480p60"},
    };
    for (const auto& [fails, warns] : implied)
        if (contains(failure, fails) && contains(err, std::string("warning: ")) &&
            contains(err, warns))
            return true;
    return false;
}

TEST(EdidEdit, EveryOptionOnEveryRealImageBreaksNothing) {
    std::vector<std::string> files =
        image_files({T27_EDID_SAMPLES, T27_EDID_CORPUS}, {".bin", ".hex"});
    if (files.empty()) GTEST_SKIP() << "no real images beside the project";
    if (!conformance_failures(files.front())) GTEST_SKIP() << "edid-decode is not installed";
    std::sort(files.begin(), files.end());

    struct Tally {
        int applied = 0, warned = 0, refused = 0, broken = 0;
    };
    struct Run {
        std::map<std::string, Tally> tally;
        std::vector<std::string> broken;
    };
    TempDir tmp;
    // edid-decode runs as a process for every output: two at a time.
    const auto run_share = [&files, &tmp](std::size_t share) {
        Run run;
        auto& tally = run.tally;
        auto& broken = run.broken;
        const std::string in = tmp.file("in" + std::to_string(share) + ".bin");
        const std::string out = tmp.file("out" + std::to_string(share) + ".bin");
        for (std::size_t k = share; k < files.size(); k += 2) {
            const std::string& file = files[k];
            const std::string image = image_of(file);
            const auto model = EdidModel::parse(image);
            if (!model) continue;
            std::ofstream(in, std::ios::binary) << image;
            const auto failures_in = conformance_failures(in);
            for (const std::vector<std::string>& option : fitting_options(*model)) {
                fs::remove(out);
                std::vector<std::string> args = {in, out};
                args.insert(args.end(), option.begin(), option.end());
                const CliRun r = edit(args);
                Tally& t =
                    tally[option[0] + (option[0] == "--remove-block" || option[0] == "--hdr" ||
                                               option[0] == "--audio"
                                           ? " " + option[1]
                                       : option[1].size() > 3 && option[0] == "--add-vic" ? " (ten)"
                                                                                          : "")];
                const std::string what =
                    fs::path(file).filename().string() + " " + option[0] + " " + option[1] + ": ";
                if (r.rc == 65 && !fs::exists(out) && r.out.empty()) {
                    ++t.refused;
                    continue;
                }
                std::string fault;
                if (r.rc != 0) fault = "exit " + std::to_string(r.rc) + " " + r.err;
                const std::string after = r.rc == 0 ? image_of(out) : std::string();
                const auto out_model = EdidModel::parse(after);
                if (fault.empty() && !out_model) fault = "output does not parse";
                if (fault.empty()) {
                    EdidBuffer buf;
                    edid_store(buf, after);
                    for (int b = 0; b < buf.block_count && fault.empty(); ++b)
                        if (buf.byte(128 * b + 127) != edid_expected_checksum(buf, b))
                            fault = "bad checksum in block " + std::to_string(b);
                }
                if (fault.empty())
                    fault = untouched_fault(*model, *out_model, option[0], option[1],
                                            contains(r.out, "also: "));
                const bool warned = contains(r.err, "warning: ");
                if (fault.empty() && after != image) {
                    for (const std::string& f :
                         conformance_failures(out).value_or(std::set<std::string>{}))
                        if (!failures_in->count(f) && !warned_of(f, r.err))
                            fault = "new failure: " + f;
                }
                if (!fault.empty()) {
                    ++t.broken;
                    broken.push_back(what + fault);
                } else {
                    ++t.applied;
                    if (warned) ++t.warned;
                }
            }
        }
        return run;
    };
    auto other = std::async(std::launch::async, run_share, 1);
    Run runs[2] = {run_share(0), other.get()};
    std::map<std::string, Tally> tally;
    std::vector<std::string> broken;
    for (const Run& r : runs) {
        for (const auto& [name, t] : r.tally) {
            Tally& all = tally[name];
            all.applied += t.applied;
            all.warned += t.warned;
            all.refused += t.refused;
            all.broken += t.broken;
        }
        broken.insert(broken.end(), r.broken.begin(), r.broken.end());
    }
    std::string summary =
        "| option | applied | of which warned | refused | broken |\n|---|---|---|---|---|\n";
    for (const auto& [name, t] : tally)
        summary += "| `" + name + "` | " + std::to_string(t.applied) + " | " +
                   std::to_string(t.warned) + " | " + std::to_string(t.refused) + " | " +
                   std::to_string(t.broken) + " |\n";
    std::printf("%zu images\n%s", files.size(), summary.c_str());
    for (const std::string& b : broken) ADD_FAILURE() << b;
}

// 01 01 marks an unused standard timing: it reads and is set as such, not
// as a timing 256 pixels wide.

}  // namespace
}  // namespace t27
