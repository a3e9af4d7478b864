#pragma once
// A page's registration with the main window. The link is a child of the
// window itself, so it lives exactly as long as the window's table of pages
// and never has to unregister; it forwards to the page only while the page
// exists, so a page that goes first leaves nothing dangling behind.
#include <QObject>
#include <QPointer>

#include "mainwin/main_window.h"
#include "mainwin/tab_page.h"

namespace t27 {

class PageLink : public QObject, public TabPage {
  public:
    PageLink(MainWindow& window, int tab, QObject* page_object, TabPage* page)
        : QObject(&window), guard_(page_object), page_(page) {
        window.set_page(tab, this);
    }

    void selected() override {
        if (guard_) page_->selected();
    }
    void read_back() override {
        if (guard_) page_->read_back();
    }
    void poll_reply(int index) override {
        if (guard_) page_->poll_reply(index);
    }
    void rebuild_poll_list() override {
        if (guard_) page_->rebuild_poll_list();
    }
    void form_set() override {
        if (guard_) page_->form_set();
    }
    void link_state_changed() override {
        if (guard_) page_->link_state_changed();
    }
    void catalogue_changed() override {
        if (guard_) page_->catalogue_changed();
    }

  private:
    QPointer<QObject> guard_;
    TabPage* page_;
};

}  // namespace t27
