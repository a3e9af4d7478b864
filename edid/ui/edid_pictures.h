#pragma once
// imglst_edid: the pictures of the sink, the default EDIDs and the user
// slots, read from bmp/ in the program directory.
#include <QComboBox>
#include <QIcon>
#include <QPushButton>
#include <QString>
#include <QVector>

namespace t27 {

class EdidPictures {
  public:
    explicit EdidPictures(const QString& program_dir);
    // Picture 1-21; an empty icon for a missing file or another number.
    QIcon icon(int image) const;
    // The picture on a button, remembered as its "t27_image" property.
    void put_on(QPushButton* b, int image) const;
    // An image combo: icons at the size the pictures are drawn.
    static void prepare(QComboBox* combo);

    static constexpr int width = 40;
    static constexpr int height = 20;

  private:
    QVector<QIcon> icons_;
};

}  // namespace t27
