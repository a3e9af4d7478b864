#pragma once
// Writer for the same delimited-field files: one field per line, each line
// ended by CR LF. Integers as decimal digits, texts in double quotes, single
// precision values in their shortest decimal form with "." as separator.
#include <string>
#include <string_view>

namespace t27 {

class FieldWriter {
  public:
    void integer(long long value);
    // The format has no escape for a double quote inside a text: one written as
    // it stands would end the field early and shift every field after it, so
    // each is written as an apostrophe instead.
    void text(std::string_view value);
    void single(float value);

    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// The shortest text that reads back as the same float: "1440", "0.5",
// "-12.25"; beyond seven integer digits the exponent form "1.5e+07".
// A value that is not finite is written as "0".
std::string single_text(float value);

}  // namespace t27
