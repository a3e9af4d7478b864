#pragma once
// Writing JSON for scripts: one object or array at a time, keys in the order
// they are added. Texts are 8-bit strings in the program's single-byte code
// page (Latin-1); bytes above 127 are written as \u00XX escapes, so the
// output is plain ASCII and valid whatever the unit sent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t27::json {

// `text` as a JSON string, quotes included.
std::string quote(std::string_view text);

// {"key": value, ...} with ": " and ", " between, as one line.
class Object {
  public:
    Object& add(std::string_view key, std::string_view text);
    Object& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
    Object& add(std::string_view key, std::int64_t number);
    Object& add(std::string_view key, int number) { return add(key, std::int64_t{number}); }
    Object& add(std::string_view key, bool flag);
    Object& add_null(std::string_view key);
    // The value, or null when there is none.
    template <typename T>
    Object& add_or_null(std::string_view key, const std::optional<T>& value) {
        return value ? add(key, *value) : add_null(key);
    }
    // `json` is already JSON (an Object's or Array's str()).
    Object& add_raw(std::string_view key, std::string_view json);
    std::string str() const { return "{" + body_ + "}"; }

  private:
    void key(std::string_view k);
    std::string body_;
};

// [value, ...] on one line.
class Array {
  public:
    Array& add(std::string_view text);
    Array& add(std::int64_t number);
    Array& add_raw(std::string_view json);
    std::string str() const { return "[" + body_ + "]"; }
    bool empty() const { return body_.empty(); }

  private:
    void sep();
    std::string body_;
};

// Items that are JSON already, as one array.
std::string array_of(const std::vector<std::string>& json_items);

}  // namespace t27::json
