#pragma once
// Answers message boxes and questions without a modal loop, and remembers them.
#include <deque>
#include <string>
#include <vector>

#include "mainwin/dialogs.h"

namespace t27::testing {

struct RecordingDialogs : Dialogs {
    void message(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
    }
    Answer question(const std::string& text, bool) override {
        questions.push_back(text);
        if (answers.empty()) return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string open_file(const std::string&, const std::string&, const std::string&) override {
        return next_file;
    }
    std::string save_file(const std::string&, const std::string&, const std::string&) override {
        return next_file;
    }

    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
    std::vector<std::string> questions;
    std::deque<Answer> answers;
    std::string next_file;
};

}  // namespace t27::testing
