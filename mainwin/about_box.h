#pragma once
// The About box: version, build date and how to reach the maker.
#include <QDialog>

namespace t27 {

inline constexpr const char* about_version = "2.18T";
inline constexpr const char* about_build_date = "02/22/2019";

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace t27
