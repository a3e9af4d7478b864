#pragma once
// The link every t27ctl command starts with: open TCP or serial, identify the
// unit, and show what the window would show on stderr.
#include <QString>
#include <optional>
#include <string>

#include "settings/catalogue_load.h"
#include "settings/program_dir.h"
#include "protocol/engine.h"
#include "protocol/link_sequence.h"
#include "protocol/qt/qt_pump.h"
#include "protocol/qt/qt_serial_transport.h"
#include "protocol/qt/qt_tcp_transport.h"

namespace t27 {

struct LinkOptions {
    QString tcp_host;  // set for a TCP link
    quint16 tcp_port = 23;
    QString serial;  // device path or "COMn"
    // Where the catalogues are read and com_ports.txt is looked up: the
    // window's folders (settings/program_dir.h).
    ProgramPlaces places;
    bool no_link = false;
    QString edid_bin;  // bytes for "$edid_write" blocks
    bool verbose = false;
};

// What the window would show in a message box goes to stderr.
class CliView : public EngineView, public LinkHooks {
  public:
    explicit CliView(bool verbose) : verbose_(verbose) {}
    void show_message(const std::string& text, MessageIcon icon) override;
    void set_link_label(const std::string& caption, Colour colour) override;
    void set_model_caption(const std::string& t) override { model = t; }
    void set_fw_caption(const std::string& t) override { fw = t; }
    void load_catalogue(const std::string& f) override { catalogue = f; }

    std::string model, fw, catalogue;

  private:
    bool verbose_;
};

class CliLink {
  public:
    explicit CliLink(const LinkOptions& options);
    ~CliLink();
    CliLink(const CliLink&) = delete;
    CliLink& operator=(const CliLink&) = delete;

    // Opens the chosen transport; false (with the reason on stderr) when it
    // cannot be opened.
    bool open();
    // The link sequence, then one "link: ..." line on stdout unless `print`
    // is false (--json puts the same facts into its document instead).
    void identify(bool print = true);
    // What identify() found, as the "link" member of a --json document: null
    // until the unit is identified.
    std::string link_json() const;
    // Why open() failed (empty when it did not), as --json documents say it.
    const std::string& open_failure() const { return open_failure_; }
    // The document a --json command prints when it stops at `error`: the
    // link as far as it got, and the failure.
    std::string failure_json(const std::string& error) const;
    // The catalogue identify() chose, from the window's folders.
    LoadedCatalogue load_catalogue() const;
    // Whether the transport is still there (a closed socket or a port that
    // failed a read is not).
    bool open_now() const { return engine_.link_open(); }

    Engine& engine() { return engine_; }
    LinkState& link() { return link_; }
    UnitIdentity& unit() { return unit_; }
    Pump& pump() { return pump_; }
    CliView& view() { return view_; }

  private:
    LinkOptions options_;
    std::string open_failure_;
    LinkState link_;
    UnitIdentity unit_;
    QtPump pump_;
    CliView view_;
    Engine engine_;
    QtTcpTransport tcp_;
    QtSerialTransport serial_;
};

// The version in the window's firmware caption, without its "FW: " label.
std::string firmware_version(const std::string& caption);

}  // namespace t27
