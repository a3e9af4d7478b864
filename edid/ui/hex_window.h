#pragma once
// The rich-text box of a READ or WRITE side. Its text is the hex text with
// CR LF line ends as the logic knows it; the box itself keeps one character
// per line break, so offsets are translated here.
#include <QTextEdit>
#include <string>

#include "common/colours.h"

namespace t27 {

class HexWindow : public QTextEdit {
    Q_OBJECT
  public:
    explicit HexWindow(QWidget* parent = nullptr);

    std::string text() const;
    // Replaces the whole text; colour marks go with it.
    void set_text(const std::string& text);
    bool empty() const { return document()->isEmpty(); }
    // Colours `count` characters from `offset` of text().
    void colour_range(std::size_t offset, std::size_t count, Colour colour);
    // Replaces `count` characters from `offset` of text() and keeps every
    // other character and its colour.
    void replace_range(std::size_t offset, std::size_t count, const std::string& with);
    // The colour of the character at `offset` of text() (black when none was set).
    Colour colour_at(std::size_t offset) const;

  signals:
    // The person changed the text: typing, pasting, cutting, undo. The
    // program's own changes above never send it.
    void typed();

  private:
    class OwnChange;
    int own_changes_ = 0;
};

}  // namespace t27
