#pragma once
#include <QWidget>

#include "mainwin/dialogs.h"

namespace t27 {

// Real message boxes and file dialogs, owned by a window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void set_owner(QWidget* owner) { owner_ = owner; }

    void message(const std::string& text, MessageIcon icon) override;
    Answer question(const std::string& text, bool with_cancel, bool default_no) override;
    std::string open_file(const std::string& title, const std::string& folder,
                          const std::string& filter) override;
    std::string save_file(const std::string& title, const std::string& folder,
                          const std::string& filter, std::string* chosen_filter) override;

  private:
    QWidget* owner_;
};

}  // namespace t27
