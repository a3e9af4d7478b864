#include "common/json_out.h"

namespace t27::json {

std::string quote(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

void Object::key(std::string_view k) {
    if (!body_.empty()) body_ += ", ";
    body_ += quote(k);
    body_ += ": ";
}

Object& Object::add(std::string_view k, std::string_view text) {
    key(k);
    body_ += quote(text);
    return *this;
}

Object& Object::add(std::string_view k, std::int64_t number) {
    key(k);
    body_ += std::to_string(number);
    return *this;
}

Object& Object::add(std::string_view k, bool flag) {
    key(k);
    body_ += flag ? "true" : "false";
    return *this;
}

Object& Object::add_null(std::string_view k) {
    key(k);
    body_ += "null";
    return *this;
}

Object& Object::add_raw(std::string_view k, std::string_view json) {
    key(k);
    body_ += json;
    return *this;
}

void Array::sep() {
    if (!body_.empty()) body_ += ", ";
}

Array& Array::add(std::string_view text) {
    sep();
    body_ += quote(text);
    return *this;
}

Array& Array::add(std::int64_t number) {
    sep();
    body_ += std::to_string(number);
    return *this;
}

Array& Array::add_raw(std::string_view json) {
    sep();
    body_ += json;
    return *this;
}

std::string array_of(const std::vector<std::string>& json_items) {
    Array a;
    for (const std::string& item : json_items) a.add_raw(item);
    return a.str();
}

}  // namespace t27::json
