// The source check's verdicts as text (the table the window saves and t27ctl
// prints) and as JSON, and how the Rx EDID's origin is named.
#include "analyser/source_check.h"
#include "common/json_out.h"
#include "edid/unit/edid_items.h"

namespace t27 {

namespace {

struct Counts {
    int pass = 0, fail = 0, na = 0;
};

Counts count(const std::vector<SourceCheckRow>& rows) {
    Counts c;
    for (const SourceCheckRow& r : rows) {
        if (r.result.verdict == Verdict::pass)
            ++c.pass;
        else if (r.result.verdict == Verdict::fail)
            ++c.fail;
        else
            ++c.na;
    }
    return c;
}

std::string padded(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

}  // namespace

std::string source_check_text(const std::vector<SourceCheckRow>& rows, const std::string& origin,
                              bool crlf) {
    const std::string eol = crlf ? "\r\n" : "\n";
    std::size_t w_rule = 4, w_src = 6, w_edid = 4;
    for (const SourceCheckRow& r : rows) {
        w_rule = std::max(w_rule, r.rule.size());
        w_src = std::max(w_src, r.result.source.size());
        w_edid = std::max(w_edid, r.result.edid.size());
    }
    std::string out = "EDID: " + origin + eol;
    auto line = [&](const std::string& rule, const std::string& v, const std::string& src,
                    const std::string& edid, const std::string& clause) {
        std::string l = padded(rule, w_rule) + "  " + padded(v, 7) + "  " + padded(src, w_src) +
                        "  " + padded(edid, w_edid) + "  " + clause;
        while (!l.empty() && l.back() == ' ') l.pop_back();
        out += l + eol;
    };
    line("Rule", "Verdict", "Source", "EDID", "Clause");
    for (const SourceCheckRow& r : rows)
        line(r.rule, verdict_text(r.result.verdict), r.result.source, r.result.edid, r.clause);
    const Counts c = count(rows);
    out += std::to_string(c.pass) + " PASS, " + std::to_string(c.fail) + " FAIL, " +
           std::to_string(c.na) + " n.a." + eol;
    return out;
}

std::string source_check_json(const std::vector<SourceCheckRow>& rows, const std::string& origin) {
    std::vector<std::string> items;
    for (const SourceCheckRow& r : rows) {
        json::Object o;
        o.add("rule", r.rule)
            .add("verdict", verdict_text(r.result.verdict))
            .add("source", r.result.source)
            .add("edid", r.result.edid)
            .add("clause", r.clause);
        items.push_back(o.str());
    }
    const Counts c = count(rows);
    json::Object doc;
    doc.add("edid", origin)
        .add_raw("rules", json::array_of(items))
        .add("pass", c.pass)
        .add("fail", c.fail)
        .add("not_applicable", c.na);
    return doc.str();
}

std::string rx_edid_read_source(const std::string& rx_param) {
    if (rx_param == "sink") return "sink_h";
    const int index = edid_rx_index_from_reply(rx_param);
    if (index >= 2 && index <= 11) return "d" + std::to_string(index - 1);
    if (index >= 12 && index <= 21) return "c" + std::to_string(index - 11);
    return {};
}

std::string rx_edid_origin(const std::string& rx_param, const std::string& slot_name) {
    const std::string src = rx_edid_read_source(rx_param);
    std::string where = src == "sink_h" ? "the attached sink's"
                        : src.empty()   ? "unknown source \"" + rx_param + "\""
                        : src[0] == 'd' ? "default slot " + src
                                        : "user slot " + src;
    std::string out = "Rx EDID, " + where;
    if (!slot_name.empty() && !src.empty()) out += " \"" + slot_name + "\"";
    return out;
}

}  // namespace t27
