#pragma once
// Message boxes and questions answered without a person: a benchmark counts
// them (any message means the run went wrong) and never blocks on one.
#include <string>
#include <vector>

#include "mainwin/dialogs.h"
#include "protocol/engine_view.h"
#include "protocol/link_sequence.h"

namespace t27::bench {

class QuietDialogs : public Dialogs {
  public:
    void message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    Answer question(const std::string& text, bool, bool) override {
        messages.push_back(text);
        return Answer::No;
    }
    std::string open_file(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string save_file(const std::string&, const std::string&, const std::string&,
                          std::string*) override {
        return {};
    }

    std::vector<std::string> messages;
};

// What the engine and the link sequence show, for a link without a window.
class QuietView : public EngineView, public LinkHooks {
  public:
    void show_message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    void set_link_label(const std::string&, Colour) override {}

    std::vector<std::string> messages;
};

}  // namespace t27::bench
