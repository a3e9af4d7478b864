#include "mainwin/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "common/qt/qt_text.h"

namespace t27 {

namespace {

QMessageBox::Icon qt_icon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::message(const std::string& text, MessageIcon icon) {
    QMessageBox box(qt_icon(icon), QStringLiteral("T27 Controller"), to_qt(text), QMessageBox::Ok,
                    owner_);
    box.exec();
}

Answer QtDialogs::question(const std::string& text, bool with_cancel, bool default_no) {
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (with_cancel) buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QStringLiteral("T27 Controller"), to_qt(text), buttons,
                    owner_);
    if (default_no) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

std::string QtDialogs::open_file(const std::string& title, const std::string& folder,
                                 const std::string& filter) {
    return from_qt(
        QFileDialog::getOpenFileName(owner_, to_qt(title), to_qt(folder), to_qt(filter)));
}

std::string QtDialogs::save_file(const std::string& title, const std::string& folder,
                                 const std::string& filter, std::string* chosen_filter) {
    // The overwrite question is the caller's, with the program's own words.
    QString selected;
    const QString path =
        QFileDialog::getSaveFileName(owner_, to_qt(title), to_qt(folder), to_qt(filter), &selected,
                                     QFileDialog::DontConfirmOverwrite);
    if (chosen_filter) *chosen_filter = from_qt(selected);
    return from_qt(path);
}

}  // namespace t27
