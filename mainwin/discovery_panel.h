#pragma once
// The list of units found on the local network, and the UDP socket that
// finds them. What goes on the wire and how answers read is decided in
// protocol/discovery; this panel owns the socket and the list.
#include <QFrame>
#include <QLabel>
#include <QString>
#include <QTreeWidget>
#include <QUdpSocket>

#include "protocol/discovery.h"

namespace t27 {

inline constexpr const char* discovery_prompt = "Double click on selected IP to connect Ethernet.";

class DiscoveryPanel : public QFrame {
    Q_OBJECT
  public:
    DiscoveryPanel(QWidget* parent, DiscoveryTargets targets);

    // Where the requests go; tests point every host at 127.0.0.1.
    void set_targets(const DiscoveryTargets& targets);
    const DiscoveryTargets& targets() const { return targets_; }

    // Empties the list, binds the socket afresh and sends one request, to
    // the multicast host or, once repeated, to the broadcast host.
    void discovery_send();
    // A new search ("Find IP", "Refresh"): nobody found, not repeated, send.
    void start_search();
    // The clock's one-second check: repeats the request once, to the
    // broadcast host, when nobody has answered. True when it sent.
    bool repeat_if_due();

    int found_count() const { return state_.found_count; }
    bool discovery_repeated() const { return state_.discovery_repeated; }
    // The port answers come back to (the local port, or the one the system
    // chose when that is 0); 0 while unbound.
    quint16 bound_port() const;

    void lstv_discovery_DblClick();
    void wsk_discovery_DataArrival();

  signals:
    // A unit was chosen from the list; the main window connects to it.
    void connect_requested(const QString& ip);

  private:
    void show_failure(const QString& what);

    DiscoveryTargets targets_;
    DiscoveryState state_;
    QLabel* lab_caption_ = nullptr;
    QTreeWidget* lstv_discovery_ = nullptr;
    QLabel* lab_discovery_prompt_ = nullptr;
    QUdpSocket* wsk_discovery_ = nullptr;
};

}  // namespace t27
