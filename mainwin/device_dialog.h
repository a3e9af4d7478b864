#pragma once
// The "Device Manager" button's window on a system without one: the serial
// ports the system enumerates and the COM number each one answers to.
#include <QDialog>
#include <QLabel>
#include <QTreeWidget>
#include <vector>

#include "mainwin/device_rows.h"
#include "protocol/com_map.h"

namespace t27 {

class DeviceDialog : public QDialog {
    Q_OBJECT
  public:
    // The ports the system enumerates now.
    explicit DeviceDialog(const ComMap& map, QWidget* parent = nullptr);
    // A given list of ports, so the table can be checked without hardware.
    DeviceDialog(const std::vector<PortRecord>& ports, const ComMap& map,
                 QWidget* parent = nullptr);

    static std::vector<PortRecord> system_ports();

  private:
    void build(const std::vector<PortRecord>& ports, const ComMap& map);

    QTreeWidget* lstv_devices_ = nullptr;
    QLabel* lab_device_problems_ = nullptr;
};

}  // namespace t27
