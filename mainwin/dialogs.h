#pragma once
// Every modal question and message box goes through here, so tests answer
// them without a nested event loop and t27ctl can print them instead.
#include <string>

#include "protocol/engine_view.h"

namespace t27 {

enum class Answer { Yes, No, Cancel };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text, MessageIcon icon) = 0;
    // `default_no`: a question that guards something hard to undo opens with
    // No as the default button (Enter and Escape both answer No).
    virtual Answer question(const std::string& text, bool with_cancel, bool default_no = false) = 0;
    // Empty when the user cancelled.
    virtual std::string open_file(const std::string& title, const std::string& folder,
                                  const std::string& filter) = 0;
    // `chosen_filter`, when given, receives the filter entry the user left
    // selected (empty when the dialog cannot tell).
    virtual std::string save_file(const std::string& title, const std::string& folder,
                                  const std::string& filter,
                                  std::string* chosen_filter = nullptr) = 0;
};

}  // namespace t27
