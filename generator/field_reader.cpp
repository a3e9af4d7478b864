#include "generator/field_reader.h"

#include <array>
#include <charconv>
#include <cmath>

namespace t27 {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr std::array<std::string_view, 5> error_texts = {
    "no error", "file ends early", "not a number", "number out of range", "quote not closed",
};

// A plain decimal number with optional sign, fraction and exponent, and
// nothing else: no "inf", "nan", hexadecimal or thousands separators.
std::optional<double> parse_decimal(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !(is_digit(text.front()) || text.front() == '.')) return std::nullopt;
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

std::string_view field_error_text(FieldError e) {
    const auto i = static_cast<std::size_t>(e);
    return i < error_texts.size() ? error_texts[i] : "unknown error";
}

FieldReader::FieldReader(std::string bytes) : data_(std::move(bytes)) {}

void FieldReader::skip_blanks() {
    while (pos_ < data_.size() && is_blank(data_[pos_])) ++pos_;
}

// Consumes whatever stands between the end of a field and its delimiter, then
// the delimiter itself: a comma, or one line end (CR LF, or a lone CR or LF so
// that a file edited with another line-end convention still reads).
void FieldReader::skip_to_delimiter() {
    while (pos_ < data_.size() && data_[pos_] != ',' && !is_line_end(data_[pos_])) ++pos_;
    if (pos_ >= data_.size()) return;
    if (data_[pos_] == ',') {
        ++pos_;
        return;
    }
    if (data_[pos_] == '\r') ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
}

bool FieldReader::next_field(std::string& out) {
    error_ = FieldError::none;
    skip_blanks();
    field_start_ = pos_;
    if (pos_ >= data_.size()) {
        error_ = FieldError::end_of_data;
        return false;
    }
    if (data_[pos_] == '"') {
        const std::size_t close = data_.find('"', pos_ + 1);
        if (close == std::string::npos) {
            error_ = FieldError::open_quote;
            pos_ = data_.size();
            return false;
        }
        out.assign(data_, pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        skip_to_delimiter();
        return true;
    }
    std::size_t end = pos_;
    while (end < data_.size() && data_[end] != ',' && !is_line_end(data_[end])) ++end;
    std::size_t trimmed = end;
    while (trimmed > pos_ && is_blank(data_[trimmed - 1])) --trimmed;
    out.assign(data_, pos_, trimmed - pos_);
    pos_ = end;
    skip_to_delimiter();
    return true;
}

std::optional<std::string> FieldReader::read_text() {
    std::string text;
    if (!next_field(text)) return std::nullopt;
    return text;
}

std::optional<double> FieldReader::read_number() {
    std::string text;
    if (!next_field(text)) return std::nullopt;
    std::optional<double> value = parse_decimal(text);
    if (!value || !std::isfinite(*value)) {
        error_ = FieldError::not_a_number;
        return std::nullopt;
    }
    return value;
}

std::optional<long long> FieldReader::read_integer(long long min, long long max) {
    std::optional<double> value = read_number();
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max)) {
        error_ = FieldError::out_of_range;
        return std::nullopt;
    }
    return static_cast<long long>(rounded);
}

std::size_t FieldReader::field_line() const {
    std::size_t line = 1;
    const std::size_t stop = field_start_ < data_.size() ? field_start_ : data_.size();
    for (std::size_t i = 0; i < stop; ++i) {
        if (data_[i] == '\n') {
            ++line;
        } else if (data_[i] == '\r' && (i + 1 >= data_.size() || data_[i + 1] != '\n')) {
            ++line;
        }
    }
    return line;
}

bool FieldReader::at_end() const {
    for (std::size_t i = pos_; i < data_.size(); ++i) {
        if (!is_blank(data_[i]) && !is_line_end(data_[i])) return false;
    }
    return true;
}

std::string field_error_message(const FieldReader& reader) {
    return "line " + std::to_string(reader.field_line()) + ": " +
           std::string(field_error_text(reader.error()));
}

}  // namespace t27
