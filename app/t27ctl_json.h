#pragma once
// Just enough JSON for t27ctl's --json output: objects and arrays built as
// text, strings taken as the unit's 8-bit text and written as UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace t27 {

// A quoted JSON string of Latin-1 text.
std::string json_text(std::string_view latin1);

// Items that are JSON already, as one array.
std::string json_array(const std::vector<std::string>& items);

class JsonObject {
  public:
    JsonObject& text(std::string_view key, std::string_view latin1);
    JsonObject& number(std::string_view key, long long value);
    JsonObject& boolean(std::string_view key, bool value);
    JsonObject& null(std::string_view key);
    // `json` is written as it stands.
    JsonObject& raw(std::string_view key, std::string_view json);
    std::string str() const { return "{" + body_ + "}"; }

  private:
    JsonObject& add(std::string_view key, std::string_view json);
    std::string body_;
};

}  // namespace t27
