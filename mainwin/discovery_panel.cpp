#include "mainwin/discovery_panel.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QVBoxLayout>
#include <string_view>

#include "common/qt/qt_text.h"
#include "common/ui/qt_colour.h"

namespace t27 {

namespace {

QHostAddress address_of(const std::string& host) { return QHostAddress(to_qt(host)); }

// With every target on this machine the socket listens on loopback only;
// otherwise answers come from the units on the network.
QHostAddress bind_address(const DiscoveryTargets& t) {
    const bool local =
        address_of(t.multicast_host).isLoopback() && address_of(t.broadcast_host).isLoopback();
    return local ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(QHostAddress::AnyIPv4);
}

// What a computer without a network (or without a route to the group) says
// when asked to send; the search then simply finds nobody.
bool unreachable(QAbstractSocket::SocketError e) {
    return e == QAbstractSocket::NetworkError || e == QAbstractSocket::HostNotFoundError ||
           e == QAbstractSocket::ConnectionRefusedError;
}

}  // namespace

DiscoveryPanel::DiscoveryPanel(QWidget* parent, DiscoveryTargets targets)
    : QFrame(parent), targets_(std::move(targets)) {
    setObjectName("fra_discovery");
    setWindowTitle(QStringLiteral("List"));
    setFrameShape(QFrame::StyledPanel);

    lab_caption_ = new QLabel(QStringLiteral("List"), this);
    lstv_discovery_ = new QTreeWidget(this);
    lstv_discovery_->setObjectName("lstv_discovery");
    lstv_discovery_->setRootIsDecorated(false);
    lstv_discovery_->setColumnCount(2);
    lstv_discovery_->setHeaderLabels({QStringLiteral("IP"), QStringLiteral("MAC")});
    lstv_discovery_->setColumnWidth(0, 130);
    lab_discovery_prompt_ = new QLabel(QString::fromLatin1(discovery_prompt), this);
    lab_discovery_prompt_->setObjectName("lab_discovery_prompt");
    lab_discovery_prompt_->setWordWrap(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    column->addWidget(lab_caption_);
    column->addWidget(lstv_discovery_, 1);
    column->addWidget(lab_discovery_prompt_);

    wsk_discovery_ = new QUdpSocket(this);
    wsk_discovery_->setObjectName("wsk_discovery");
    connect(wsk_discovery_, &QUdpSocket::readyRead, this, [this] { wsk_discovery_DataArrival(); });
    connect(wsk_discovery_, &QUdpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) {
                if (!unreachable(e)) show_failure(wsk_discovery_->errorString());
            });
    connect(lstv_discovery_, &QTreeWidget::itemDoubleClicked, this,
            [this] { lstv_discovery_DblClick(); });
}

void DiscoveryPanel::set_targets(const DiscoveryTargets& targets) { targets_ = targets; }

quint16 DiscoveryPanel::bound_port() const {
    return wsk_discovery_->state() == QAbstractSocket::BoundState ? wsk_discovery_->localPort() : 0;
}

void DiscoveryPanel::show_failure(const QString& what) {
    lab_discovery_prompt_->setText(
        QStringLiteral("Discovery on UDP port %1 failed: %2").arg(targets_.local_port).arg(what));
    lab_discovery_prompt_->setStyleSheet(
        QStringLiteral("color: %1;").arg(to_qcolor(colour::red).name()));
}

void DiscoveryPanel::discovery_send() {
    lstv_discovery_->clear();
    wsk_discovery_->abort();
    lab_discovery_prompt_->setText(QString::fromLatin1(discovery_prompt));
    lab_discovery_prompt_->setStyleSheet(QString());

    if (!wsk_discovery_->bind(bind_address(targets_), targets_.local_port,
                              QAbstractSocket::DontShareAddress)) {
        show_failure(wsk_discovery_->errorString());
        return;
    }
    const std::string& host = discovery_host(targets_, state_.discovery_repeated);
    const QHostAddress to = address_of(host);
    if (to.isNull()) {
        show_failure(QStringLiteral("\"%1\" is not an address").arg(to_qt(host)));
        return;
    }
    const std::string request = discovery_request();
    const qint64 sent = wsk_discovery_->writeDatagram(
        request.data(), static_cast<qint64>(request.size()), to, targets_.remote_port);
    if (sent < 0 && !unreachable(wsk_discovery_->error()))
        show_failure(wsk_discovery_->errorString());
}

void DiscoveryPanel::start_search() {
    discovery_start(state_);
    discovery_send();
}

bool DiscoveryPanel::repeat_if_due() {
    if (!discovery_repeat_due(state_)) return false;
    discovery_send();
    return true;
}

void DiscoveryPanel::wsk_discovery_DataArrival() {
    while (wsk_discovery_->hasPendingDatagrams()) {
        const QNetworkDatagram d = wsk_discovery_->receiveDatagram();
        if (!d.isValid()) break;
        const QByteArray bytes = d.data();
        const std::string_view datagram(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        for (const ListedUnit& u : discovery_accept(state_, datagram)) {
            auto* item = new QTreeWidgetItem(lstv_discovery_);
            item->setText(0, to_qt(u.unit.ip));
            item->setText(1, to_qt(u.unit.mac));
            item->setData(0, Qt::UserRole, u.index);
            item->setToolTip(0, to_qt(u.unit.model));
        }
    }
}

void DiscoveryPanel::lstv_discovery_DblClick() {
    if (lstv_discovery_->topLevelItemCount() == 0) return;
    QTreeWidgetItem* item = lstv_discovery_->currentItem();
    if (!item) item = lstv_discovery_->topLevelItem(0);
    emit connect_requested(item->text(0));
}

}  // namespace t27
