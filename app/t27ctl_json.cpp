#include "app/t27ctl_json.h"

#include <cstdio>

namespace t27 {

std::string json_text(std::string_view latin1) {
    std::string out = "\"";
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else if (c >= 0x80) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string json_array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

JsonObject& JsonObject::add(std::string_view key, std::string_view json) {
    if (!body_.empty()) body_ += ',';
    body_ += json_text(key);
    body_ += ':';
    body_ += json;
    return *this;
}

JsonObject& JsonObject::text(std::string_view key, std::string_view latin1) {
    return add(key, json_text(latin1));
}

JsonObject& JsonObject::number(std::string_view key, long long value) {
    return add(key, std::to_string(value));
}

JsonObject& JsonObject::boolean(std::string_view key, bool value) {
    return add(key, value ? "true" : "false");
}

JsonObject& JsonObject::null(std::string_view key) { return add(key, "null"); }

JsonObject& JsonObject::raw(std::string_view key, std::string_view json) { return add(key, json); }

}  // namespace t27
