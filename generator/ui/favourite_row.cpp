#include "generator/ui/favourite_row.h"

#include <QHeaderView>

#include "common/qt/qt_text.h"
#include "generator/favourite_slots.h"
#include "generator/ui/gen_widgets.h"
#include "generator/generator_colours.h"

namespace t27 {

FavouriteRow::FavouriteRow(QWidget* parent, const FavouriteRowNames& names,
                           FavouriteSlots& fav_slots)
    : QObject(parent), slots_(fav_slots) {
    list_ = new QTreeWidget(parent);
    list_->setObjectName(QString::fromLatin1(names.list));
    list_->setColumnCount(1);
    list_->setHeaderLabels({QString::fromLatin1(names.header)});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int) { item_check(item); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (on_double_click) on_double_click(list_->indexOfTopLevelItem(item) + 1);
    });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!quiet_ && item && on_select) on_select(list_->indexOfTopLevelItem(item) + 1);
    });

    for (int k = 0; k < favourite_slots_used; ++k) {
        auto* b = new QPushButton(parent);
        b->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(names.buttons)).arg(k));
        paint_button(b, gen_colour::favourite_idle);
        connect(b, &QPushButton::clicked, this, [this, k] {
            if (on_button) on_button(k);
        });
        buttons_[static_cast<std::size_t>(k)] = b;
    }
    check_none_ = new QPushButton(QStringLiteral("Check None"), parent);
    check_none_->setObjectName(QString::fromLatin1(names.check_none));
    connect(check_none_, &QPushButton::clicked, this, [this] { cmd_check_none_Click(); });
    place();
}

void FavouriteRow::place() {
    // The list down the left; the buttons in two columns to its right, wide
    // enough for the long 3D timing names.
    list_->setGeometry(twips_rect(120, 120, 4600, 8880));
    QFont small = buttons_[0]->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    for (int k = 0; k < favourite_slots_used; ++k) {
        QPushButton* b = buttons_[static_cast<std::size_t>(k)];
        b->setGeometry(twips_rect(4900 + (k % 2) * 3150, 2000 + (k / 2) * 560, 3050, 480));
        b->setFont(small);
    }
    check_none_->setGeometry(twips_rect(4900, 7150, 1500, 420));
}

std::string FavouriteRow::name(int n) const {
    if (n < 1 || n > count()) return {};
    return names_[static_cast<std::size_t>(n - 1)];
}

void FavouriteRow::fill(const std::vector<std::string>& names) {
    quiet_ = true;
    list_->clear();
    names_ = names;
    ticks_ = ticks_from_slots(slots_, count());
    QList<QTreeWidgetItem*> items;
    items.reserve(count());
    for (int n = 1; n <= count(); ++n) {
        auto* item = new QTreeWidgetItem({to_qt(names_[static_cast<std::size_t>(n - 1)])});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0,
                            ticks_[static_cast<std::size_t>(n - 1)] ? Qt::Checked : Qt::Unchecked);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    quiet_ = false;
    show_captions();
}

void FavouriteRow::show_captions() {
    const FavouriteCaptions captions = favourite_captions(slots_, names_);
    for (int k = 0; k < favourite_slots_used; ++k) {
        const QString text = to_qt(captions[static_cast<std::size_t>(k)]);
        buttons_[static_cast<std::size_t>(k)]->setText(text);
        buttons_[static_cast<std::size_t>(k)]->setToolTip(text);
    }
}

void FavouriteRow::highlight(int n) {
    const FavouriteColours colours = fav_highlight(slots_, n);
    for (int k = 0; k < favourite_slots_used; ++k)
        paint_button(buttons_[static_cast<std::size_t>(k)], colours[static_cast<std::size_t>(k)]);
}

void FavouriteRow::select(int n) {
    QTreeWidgetItem* item = list_->topLevelItem(n - 1);
    if (!item) return;
    quiet_ = true;
    list_->setCurrentItem(item);
    list_->scrollToItem(item);
    quiet_ = false;
}

int FavouriteRow::selected() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) + 1 : 0;
}

void FavouriteRow::set_tick(int n, bool on) {
    ticks_[static_cast<std::size_t>(n - 1)] = on;
    if (QTreeWidgetItem* item = list_->topLevelItem(n - 1)) {
        quiet_ = true;
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        quiet_ = false;
    }
}

void FavouriteRow::item_check(QTreeWidgetItem* item) {
    if (quiet_ || !item) return;
    const int n = list_->indexOfTopLevelItem(item) + 1;
    if (n < 1 || n > count()) return;
    const bool on = item->checkState(0) == Qt::Checked;
    if (ticks_[static_cast<std::size_t>(n - 1)] == on) return;  // some other change of the entry
    ticks_[static_cast<std::size_t>(n - 1)] = on;
    const std::optional<FavouriteSlots> next = slots_after_tick(ticks_);
    if (!next) {
        set_tick(n, false);  // a 19th favourite has no button to go on
        return;
    }
    slots_ = *next;
    show_captions();
}

void FavouriteRow::cmd_check_none_Click() {
    for (int n = 1; n <= count(); ++n) set_tick(n, false);
    slots_ = no_favourites();
    show_captions();
}

}  // namespace t27
