#include "analyser/ui/row_caption_label.h"

#include <QPainter>

namespace t27 {

RowCaptionLabel::RowCaptionLabel(int row_pitch_px, int char_pitch_px, QWidget* parent)
    : QLabel(parent), row_pitch_(row_pitch_px), char_pitch_(char_pitch_px) {}

void RowCaptionLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QStringList rows = text().split(QLatin1Char('\n'));
    for (int r = 0; r < rows.size(); ++r) {
        const QString& row = rows[r];
        for (int c = 0; c < row.size(); ++c) {
            if (row[c] == QLatin1Char(' ')) continue;
            p.drawText(QRect(c * char_pitch_, r * row_pitch_, char_pitch_ * 2, row_pitch_),
                       Qt::AlignLeft | Qt::AlignVCenter, QString(row[c]));
        }
    }
}

}  // namespace t27
