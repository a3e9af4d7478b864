#include "edid/ui/hex_window.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>

#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"
#include "edid/unit/window_text.h"

namespace t27 {

// Marks a change as the program's own for as long as it lives.
class HexWindow::OwnChange {
  public:
    explicit OwnChange(HexWindow& w) : w_(w) { ++w_.own_changes_; }
    ~OwnChange() { --w_.own_changes_; }
    OwnChange(const OwnChange&) = delete;
    OwnChange& operator=(const OwnChange&) = delete;

  private:
    HexWindow& w_;
};

HexWindow::HexWindow(QWidget* parent) : QTextEdit(parent) {
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (own_changes_ == 0) emit typed();
    });
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(9);
    setFont(f);
}

std::string HexWindow::text() const { return edid_text_from_box(from_qt(toPlainText())); }

void HexWindow::set_text(const std::string& text) {
    const OwnChange own(*this);
    setTextColor(Qt::black);
    setPlainText(to_qt(edid_box_text(text)));
}

void HexWindow::colour_range(std::size_t offset, std::size_t count, Colour colour) {
    const OwnChange own(*this);
    const std::string t = text();
    if (offset >= t.size()) return;
    const std::size_t from = edid_box_position(t, offset);
    const std::size_t to = edid_box_position(t, std::min(offset + count, t.size()));
    QTextCursor c(document());
    c.setPosition(static_cast<int>(from));
    c.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
    QTextCharFormat fmt;
    fmt.setForeground(to_qcolor(colour));
    c.mergeCharFormat(fmt);
}

void HexWindow::replace_range(std::size_t offset, std::size_t count, const std::string& with) {
    const OwnChange own(*this);
    const std::string t = text();
    if (offset >= t.size()) return;
    const std::size_t from = edid_box_position(t, offset);
    const std::size_t to = edid_box_position(t, std::min(offset + count, t.size()));
    QTextCursor c(document());
    c.setPosition(static_cast<int>(from));
    c.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
    // The new characters take the format of the ones they replace.
    const QTextCharFormat fmt = c.charFormat();
    c.insertText(to_qt(with), fmt);
}

Colour HexWindow::colour_at(std::size_t offset) const {
    const std::string t = text();
    if (offset >= t.size()) return 0;
    QTextCursor c(document());
    // The format of a position is that of the character before it.
    c.setPosition(static_cast<int>(edid_box_position(t, offset)) + 1);
    const QColor q = c.charFormat().foreground().color();
    return static_cast<Colour>(q.red()) | static_cast<Colour>(q.green()) << 8 |
           static_cast<Colour>(q.blue()) << 16;
}

}  // namespace t27
