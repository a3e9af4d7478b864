#include "mainwin/device_dialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>
#include <array>

#include "common/qt/qt_text.h"

namespace t27 {

namespace {

constexpr std::array<const char*, 7> column_titles = {
    "COM", "Device", "Description", "Manufacturer", "Serial number", "VID:PID", "Note",
};

bool path_exists(const std::string& path) { return QFileInfo::exists(to_qt(path)); }

QString problems_text(const std::vector<std::string>& problems) {
    QString text =
        QString::fromLatin1("Lines of %1 that were ignored:").arg(QLatin1String(com_map_file_name));
    for (const std::string& line : problems) text += QLatin1Char('\n') + to_qt(line);
    return text;
}

}  // namespace

DeviceDialog::DeviceDialog(const ComMap& map, QWidget* parent) : QDialog(parent) {
    build(system_ports(), map);
}

DeviceDialog::DeviceDialog(const std::vector<PortRecord>& ports, const ComMap& map, QWidget* parent)
    : QDialog(parent) {
    build(ports, map);
}

std::vector<PortRecord> DeviceDialog::system_ports() {
    std::vector<PortRecord> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortRecord p;
        p.location = from_qt(info.systemLocation());
        p.name = from_qt(info.portName());
        p.description = from_qt(info.description());
        p.manufacturer = from_qt(info.manufacturer());
        p.serial_number = from_qt(info.serialNumber());
        if (info.hasVendorIdentifier()) p.vendor_id = info.vendorIdentifier();
        if (info.hasProductIdentifier()) p.product_id = info.productIdentifier();
        ports.push_back(std::move(p));
    }
    return ports;
}

void DeviceDialog::build(const std::vector<PortRecord>& ports, const ComMap& map) {
    setObjectName("frm_devices");
    setWindowTitle(QStringLiteral("Serial Devices"));
    resize(760, 320);

    lstv_devices_ = new QTreeWidget(this);
    lstv_devices_->setObjectName("lstv_devices");
    lstv_devices_->setRootIsDecorated(false);
    lstv_devices_->setColumnCount(static_cast<int>(column_titles.size()));
    QStringList titles;
    for (const char* t : column_titles) titles << QString::fromLatin1(t);
    lstv_devices_->setHeaderLabels(titles);

    for (const DeviceRow& r : device_rows(ports, map, path_exists)) {
        auto* item = new QTreeWidgetItem(lstv_devices_);
        const std::array<const std::string*, 7> cells = {
            &r.com,           &r.device,  &r.description, &r.manufacturer,
            &r.serial_number, &r.vid_pid, &r.note,
        };
        for (std::size_t c = 0; c < cells.size(); ++c)
            item->setText(static_cast<int>(c), to_qt(*cells[c]));
    }
    for (int c = 0; c < lstv_devices_->columnCount(); ++c) lstv_devices_->resizeColumnToContents(c);

    lab_device_problems_ = new QLabel(this);
    lab_device_problems_->setObjectName("lab_device_problems");
    lab_device_problems_->setText(problems_text(map.problems));
    lab_device_problems_->setVisible(!map.problems.empty());

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("cmd_close");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* column = new QVBoxLayout(this);
    column->addWidget(lstv_devices_, 1);
    column->addWidget(lab_device_problems_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    column->addLayout(row);
}

}  // namespace t27
