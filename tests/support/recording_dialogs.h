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
    Answer question(const std::string& text, bool, bool default_no) override {
        questions.push_back(text);
        defaults_no.push_back(default_no);
        if (answers.empty()) return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string open_file(const std::string&, const std::string&, const std::string&) override {
        return next_file;
    }
    std::string save_file(const std::string&, const std::string&, const std::string& filter,
                          std::string* chosen_filter) override {
        save_filters.push_back(filter);
        if (chosen_filter) *chosen_filter = next_filter;
        return next_file;
    }

    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
    std::vector<std::string> questions;
    std::vector<bool> defaults_no;  // per question: opened with No as the default
    std::vector<std::string> save_filters;
    std::string next_filter;  // the filter entry a save dialog reports as chosen
    std::deque<Answer> answers;
    std::string next_file;
};

}  // namespace t27::testing
