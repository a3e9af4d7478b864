#pragma once
// Reader for the delimited-field text files that sit in the program directory
// (catalogues, favourites, settings). Fields are separated by a comma or a line
// end; blanks before a field are skipped; a field that opens with a double
// quote runs to the next double quote and may hold commas and line ends.
//
// Every read is bounded by the data: a file that ends early or a field that is
// not a number is reported through error(), never by reading past the end.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace t27 {

enum class FieldError {
    none,
    end_of_data,   // no field left to read
    not_a_number,  // a number was wanted and the field holds something else
    out_of_range,  // a number that does not fit the wanted type
    open_quote,    // a quoted field with no closing quote
};

// Short English text for an error, for logs and load reports.
std::string_view field_error_text(FieldError e);

class FieldReader {
  public:
    explicit FieldReader(std::string bytes);

    // The next field as text. Unquoted texts lose their trailing blanks, quoted
    // ones are kept exactly. nullopt at the end of the data or on an open quote.
    std::optional<std::string> read_text();

    // The next field as a decimal number ("12", "-3", "1440.5", "1.5e+07").
    // A field that is not a number is consumed all the same, so the fields
    // after it can still be read.
    std::optional<double> read_number();

    // A number rounded to the nearest integer (halves to even), which must lie
    // within [min, max].
    std::optional<long long> read_integer(long long min, long long max);

    // What went wrong in the last read; none after a successful one.
    FieldError error() const { return error_; }

    // 1-based line on which the last field started, for messages.
    std::size_t field_line() const;

    // True when only blanks and line ends are left.
    bool at_end() const;

  private:
    // Scans one raw field; false (with error_ set) when there is none.
    bool next_field(std::string& out);
    void skip_blanks();
    void skip_to_delimiter();

    std::string data_;
    std::size_t pos_ = 0;
    std::size_t field_start_ = 0;
    FieldError error_ = FieldError::none;
};

// "line 4: not a number" style text for the reader's last error.
std::string field_error_message(const FieldReader& reader);

}  // namespace t27
