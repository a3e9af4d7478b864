#include "mainwin/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace t27 {

namespace {

// The maker's lines; the addresses are reserved example names, not live ones.
constexpr std::array<const char*, 4> contact_lines = {
    "Torvex Test Systems",
    "HDMI analysers, pattern generators and cable testers",
    "Support: support@torvex.example",
    "Web: www.torvex.example",
};

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("frm_about");
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    auto* column = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("T27 Controller"), this);
    title->setObjectName("lab_title");
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);

    auto* version = new QLabel(QStringLiteral("VERSION ") + QLatin1String(about_version), this);
    version->setObjectName("lab_version");
    column->addWidget(version);
    auto* date = new QLabel(QLatin1String(about_build_date), this);
    date->setObjectName("lab_build_date");
    column->addWidget(date);
    column->addSpacing(8);

    for (std::size_t i = 0; i < contact_lines.size(); ++i) {
        auto* line = new QLabel(QString::fromLatin1(contact_lines[i]), this);
        line->setObjectName(QStringLiteral("lab_contact_%1").arg(i));
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        column->addWidget(line);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("cmd_ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    column->addLayout(row);
}

}  // namespace t27
