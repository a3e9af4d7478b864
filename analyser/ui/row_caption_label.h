#pragma once
// The row captions of a grid view: one label holding every row, rows joined by
// line ends. The value cells beside it are placed on a fixed grid, so the
// captions are drawn on the same grid (fixed row pitch, fixed character pitch)
// whatever the font's own line spacing and advance, and the blank runs in a
// caption such as "TMDS Clock       >       kHz" leave room for the cell.
#include <QLabel>

namespace t27 {

class RowCaptionLabel : public QLabel {
  public:
    RowCaptionLabel(int row_pitch_px, int char_pitch_px, QWidget* parent = nullptr);

    int row_pitch() const { return row_pitch_; }
    int char_pitch() const { return char_pitch_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    int row_pitch_;
    int char_pitch_;
};

}  // namespace t27
