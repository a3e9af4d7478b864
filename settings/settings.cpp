#include "settings/settings.h"

#include <cstdint>
#include <optional>

#include "common/atomic_write.h"
#include "generator/field_reader.h"
#include "generator/field_writer.h"
#include "settings/program_dir.h"
#include "protocol/link_state.h"

namespace t27 {

namespace {

constexpr std::size_t max_settings_bytes = 1024u * 1024u;

class SettingsReader {
  public:
    explicit SettingsReader(std::string bytes) : reader_(std::move(bytes)) {}

    std::optional<long long> integer(const char* what, long long min, long long max) {
        if (ended_) return std::nullopt;
        std::optional<long long> v = reader_.read_integer(min, max);
        if (!v) fault(what);
        return v;
    }

    std::optional<std::string> text(const char* what) {
        if (ended_) return std::nullopt;
        std::optional<std::string> v = reader_.read_text();
        if (!v) fault(what);
        return v;
    }

    // A field that read well but holds a value the program cannot use.
    void unusable(const char* what) {
        if (error_.empty()) error_ = std::string(what) + " has an unusable value";
    }

    const std::string& error() const { return error_; }

  private:
    void fault(const char* what) {
        if (error_.empty()) error_ = std::string(what) + ", " + field_error_message(reader_);
        // Past the end (or an open quote, which swallowed the rest) nothing
        // more can be read; other faults leave the later fields in place.
        if (reader_.error() == FieldError::end_of_data ||
            reader_.error() == FieldError::open_quote) {
            ended_ = true;
        }
    }

    FieldReader reader_;
    std::string error_;
    bool ended_ = false;
};

}  // namespace

SettingsParse settings_parse(std::string bytes) {
    SettingsParse result;
    Settings& s = result.settings;
    SettingsReader in(std::move(bytes));

    if (auto v = in.integer("interface", INT16_MIN, INT16_MAX)) {
        if (*v == interface_rs232 || *v == interface_ethernet) {
            s.link_interface = static_cast<int>(*v);
        } else {
            in.unusable("interface");
        }
    }
    if (auto v = in.text("IP address")) s.eth_ip = std::move(*v);
    if (auto v = in.integer("COM port", INT16_MIN, INT16_MAX)) {
        if (*v >= com_port_first && *v <= com_port_last) {
            s.com_port = static_cast<int>(*v);
        } else {
            in.unusable("COM port");
        }
    }
    const auto left = in.integer("left", INT32_MIN, INT32_MAX);
    const auto top = in.integer("top", INT32_MIN, INT32_MAX);
    if (left && top) {
        s.has_position = true;
        s.left = static_cast<long>(*left);
        s.top = static_cast<long>(*top);
    }
    for (std::string& entry : s.recent) {
        if (auto v = in.text("recent file")) entry = std::move(*v);
    }
    result.error = in.error();
    result.ok = result.error.empty();
    return result;
}

std::string settings_bytes(const Settings& settings) {
    FieldWriter writer;
    writer.integer(settings.link_interface);
    writer.text(settings.eth_ip);
    writer.integer(settings.com_port);
    writer.single(static_cast<float>(settings.left));
    writer.single(static_cast<float>(settings.top));
    for (const std::string& entry : settings.recent) writer.text(entry);
    return writer.bytes();
}

SettingsParse settings_load(std::string_view program_dir) {
    const std::string path = program_path(program_dir, settings_file_name);
    std::string bytes;
    std::string io_error;
    if (!read_file_bytes(path, bytes, &io_error, max_settings_bytes)) {
        SettingsParse result;
        result.error = io_error;
        return result;
    }
    SettingsParse result = settings_parse(std::move(bytes));
    if (!result.ok) result.error = path + ": " + result.error;
    return result;
}

}  // namespace t27
