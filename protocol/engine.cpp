#include "protocol/engine.h"

#include "protocol/command_table.h"
#include "protocol/request_text.h"

namespace t27 {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char EOT = 0x04;

// Only these pass while no unit is linked: the probe and the two queries the
// link sequence needs before it knows the model.
bool exempt_from_link_check(const std::string& request) {
    return request == "$boot?\r" || request == "$model?\r" || request == "$board_id?\r";
}

int wait_limit(int link_interface, const std::string& word) {
    if (link_interface == interface_rs232) {
        if (word == "$pattern") return ticks_pattern_serial;
        if (word == "$boot?") return ticks_boot_serial;
        return ticks_default;
    }
    return word == "$pattern" ? ticks_pattern_ethernet : ticks_default;
}

std::string hex_upper(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[v & 0xF]);
        v >>= 4;
    } while (v);
    return s;
}

}  // namespace

std::string edid_triplets(const std::uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
        out += ' ';
    }
    return out;
}

std::string monitor_escape(unsigned char c) {
    if (c == CR) return "<CR>";
    if (c == LF) return "<LF>\r\n";
    if (c < 32) return "<" + hex_upper(c) + ">";
    return std::string(1, static_cast<char>(c));
}

Engine::Engine(LinkState& link, UnitIdentity& unit, Pump& pump, EngineView& view)
    : link_(link), unit_(unit), pump_(pump), view_(view) {}

void Engine::set_serial(Transport* t) {
    serial_ = t;
    if (t) t->set_receive_handler([this](const std::string& b) { receive_pass(b); });
}

void Engine::set_ethernet(Transport* t) {
    ethernet_ = t;
    if (t) t->set_receive_handler([this](const std::string& b) { receive_pass(b); });
}

Transport* Engine::selected() const {
    return link_.link_interface == interface_rs232 ? serial_ : ethernet_;
}

bool Engine::link_open() const {
    if (link_.link_interface == interface_rs232)
        return serial_ && serial_->is_open() && link_.serial_open;
    return ethernet_ && link_.ethernet_connected;
}

void Engine::reset_reply_fields() {
    link_.cmdrx_count = 0;
    link_.cmdrx_str.clear();
    link_.cr_seen = false;
    link_.lf_seen = false;
    link_.reply_complete = false;
}

void Engine::cmdtx_str(const std::string& request) {
    link_.cmdtx_busy = true;

    // Checked here, where every requester passes, so no window field, file
    // or command line can slip a second command past the user.
    if (const std::string why = request_fault(request); !why.empty()) {
        link_.cmdrx_status = ReplyStatus::NotSent;
        view_.show_message(why, MessageIcon::Error);
        link_.cmdtx_busy = false;
        return;
    }

    if (!link_open()) {
        link_.cmdrx_status = ReplyStatus::NotSent;
        view_.show_message(link_.link_interface == interface_rs232
                               ? "RS-232 is disconnected !"
                               : "Ethernet is disconnected !.",
                           MessageIcon::Error);
        view_.set_link_label("Not Linked", colour::red);
        link_.cmdtx_busy = false;
        return;
    }

    if (unit_.model_family == not_known && !exempt_from_link_check(request)) {
        view_.show_message("Do [Refresh] or [Link] first !", MessageIcon::Warning);
        link_.cmdrx_status = ReplyStatus::NoResponse;
        link_.cmdtx_busy = false;
        return;
    }

    const std::string word = cmdstr_cmd_get(request);
    const bool eot_expected = link_.eot_reply;
    Transport& t = *selected();
    const bool serial = link_.link_interface == interface_rs232;

    for (int attempt_no = 0; attempt_no < 2; ++attempt_no) {
        const Step step = attempt(t, request, word);
        if (step == Step::Closing) return;  // busy stays set while the window unloads
        if (step == Step::Failed) {
            finish_failed(request);
            return;
        }
        if (link_.reply_complete) break;
    }

    view_.set_activity(false, activity_pos_);
    if (serial) t.set_receiving(false);
    pump_.process_events();

    if (!link_.reply_complete) {
        link_.cmdrx_status = ReplyStatus::NoResponse;
    } else if (eot_expected) {
        link_.cmdrx_status = ReplyStatus::Accepted;
    } else if (cmdstr_cmd_get(link_.cmdrx_str) != word) {
        link_.cmdrx_status = ReplyStatus::ErrorReply;
    } else {
        cmdrx_param_get();
        link_.cmdrx_status = link_.cmdrx_param1.compare(0, 3, "err") == 0
                                 ? ReplyStatus::ErrorReply
                                 : ReplyStatus::Accepted;
    }

    show_outcome(request);
    link_.cmdtx_busy = false;
}

void Engine::show_outcome(const std::string& request) {
    // The connection may have closed, or closed and opened again to a unit
    // not yet identified, while the reply was awaited: a reply from before
    // that does not make the link "Accepted", nor a failed write "No response".
    if (!link_open() || (unit_.model_family == not_known && !exempt_from_link_check(request)))
        view_.set_link_label("Not Linked", colour::red);
    else if (link_.cmdrx_status == ReplyStatus::NoResponse)
        view_.set_link_label("No response", colour::red);
    else
        view_.set_link_label("Accepted", colour::green);
}

Engine::Step Engine::attempt(Transport& t, const std::string& request, const std::string& word) {
    const bool serial = link_.link_interface == interface_rs232;
    if (word == "$edid_write") {
        if (!write_edid_request(t, request, serial)) return Step::Failed;
    } else if (serial) {
        if (!t.wait_tx_empty() || !t.discard_rx()) return Step::Failed;
        reset_reply_fields();
        if (!t.write(request)) return Step::Failed;
    } else {
        reset_reply_fields();
        if (!t.write(request)) return Step::Failed;
    }

    // While the window unloads a request is sent but never waited for.
    if (link_.app_closing) return Step::Closing;

    if (serial) t.set_receiving(true);
    wait_reply(wait_limit(link_.link_interface, word));
    return Step::Ok;
}

bool Engine::write_edid_request(Transport& t, const std::string& request, bool serial) {
    // The block name is the request's second parameter; the split runs on a
    // copy of the request so the same rules pick it out as for replies.
    link_.cmdrx_str = request;
    cmdrx_param_get();
    const std::size_t offset = link_.cmdrx_param2 == "block1" ? 128 : 0;
    const std::uint8_t* data = edid_tx_.data() + offset;

    if (serial) {
        // Two writes, so the unit's receive buffer never holds more than one
        // half-block at a time; the bytes on the wire are the same as over TCP.
        if (!t.wait_tx_empty() || !t.discard_rx()) return false;
        if (!t.write(request + edid_triplets(data, 64))) return false;
        if (!t.wait_tx_empty() || !t.discard_rx()) return false;
        reset_reply_fields();
        return t.write(edid_triplets(data + 64, 64) + CR);
    }
    const std::string whole = request + edid_triplets(data, 128) + CR;
    reset_reply_fields();
    return t.write(whole);
}

void Engine::wait_reply(int limit) {
    if (!link_.quiet_transaction) {
        view_.set_activity(true, activity_pos_);
        pump_.process_events();
    }
    for (int tick = 0; tick <= limit && !link_.reply_complete; ++tick) {
        // A tick ends early once the reply is complete; the tick count still
        // bounds the wait, and requests and replies keep their order.
        wait_seconds(pump_, 0.02, &link_.reply_complete);
        activity_pos_ += activity_step;
        if (activity_pos_ >= activity_end) activity_pos_ = activity_start;
        if (!link_.quiet_transaction) view_.set_activity(true, activity_pos_);
        pump_.process_events();
    }
}

void Engine::finish_failed(const std::string& request) {
    view_.set_activity(false, activity_pos_);
    if (Transport* t = selected(); t && link_.link_interface == interface_rs232)
        t->set_receiving(false);
    link_.cmdrx_status = ReplyStatus::NoResponse;
    show_outcome(request);
    link_.cmdtx_busy = false;
}

void Engine::log_char(unsigned char c, bool in_block) {
    if (in_block && c >= 32)
        link_.monitor_log += static_cast<char>(c);
    else if (in_block)
        link_.monitor_log += "<" + hex_upper(c) + ">";
    else
        link_.monitor_log += monitor_escape(c);
}

void Engine::receive_pass(const std::string& batch) {
    LinkState& s = link_;
    if (s.monitor_log.size() > monitor_log_limit) {
        s.monitor_log.clear();
        if (s.monitor_on) view_.monitor_log_cleared();
    }

    bool complete = false;
    bool block_phase = false;

    // Returns true when the block is whole and the pass must end.
    auto block_char = [&](char c) {
        s.cmdrx_block += c;
        if (s.monitor_on) log_char(static_cast<unsigned char>(c), true);
        ++s.cmdrx_count;
        if (s.cmdrx_count >= edid_block_chars) {
            complete = true;
            return true;
        }
        return false;
    };

    if (s.cr_seen && s.lf_seen && s.block_follows) {
        for (char c : batch)
            if (block_char(c)) break;
    } else {
        for (char c : batch) {
            if (block_phase) {
                if (block_char(c)) break;
                continue;
            }
            if (c == CR) s.cr_seen = true;
            if (c == LF) s.lf_seen = true;
            ++s.cmdrx_count;
            if (s.cmdrx_str.size() < reply_text_cap) s.cmdrx_str += c;
            if (s.monitor_on) {
                if (c == EOT && s.eot_reply) {
                    s.monitor_log += "<EOT>";
                    complete = true;
                    s.eot_reply = false;
                    break;
                }
                if (c == EOT)
                    s.monitor_log += c;
                else
                    log_char(static_cast<unsigned char>(c), false);
            }
            if (s.cr_seen && s.lf_seen) {
                if (s.block_follows) {
                    const bool ddc_error =
                        s.cmdrx_str.size() >= 18 && s.cmdrx_str.compare(11, 7, "err_ddc") == 0;
                    if (ddc_error || s.cmdrx_str.compare(0, 4, "$err") == 0) {
                        complete = true;
                    } else {
                        block_phase = true;
                        s.cmdrx_block.clear();
                        s.cmdrx_count = 0;
                    }
                } else if (!s.eot_reply) {
                    complete = true;
                    break;
                }
            }
        }
    }

    if (s.monitor_on) view_.monitor_log_changed(s.monitor_log);
    s.reply_complete = complete;
}

void Engine::cmdrx_param_get() {
    LinkState& s = link_;
    const std::string& str = s.cmdrx_str;
    s.cmdrx_param1 = s.cmdrx_param2 = s.cmdrx_param3 = "None";

    // A comma anywhere after the start wins over a nearer CR, so a line without
    // commas followed by text with one runs past its line end; the unit's
    // replies never trip over this, and callers rely on the exact split.
    auto next_end = [&](std::size_t from) {
        std::size_t e = str.find(',', from + 1);
        if (e == std::string::npos) e = str.find(CR, from + 1);
        return e;
    };

    const std::size_t s1 = str.find(' ');
    if (s1 == std::string::npos) return;
    std::size_t e = next_end(s1);
    if (e == std::string::npos || e - s1 <= 1) return;
    s.cmdrx_param1 = str.substr(s1 + 1, e - s1 - 1);

    std::string* rest[] = {&s.cmdrx_param2, &s.cmdrx_param3};
    for (std::string* p : rest) {
        const std::size_t start = e;
        std::size_t next = next_end(start);
        if (next == std::string::npos) next = start;
        if (next - start <= 1) return;
        *p = str.substr(start + 1, next - start - 1);
        e = next;
    }
}

}  // namespace t27
