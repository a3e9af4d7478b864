#include "edid/ui/editor_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cctype>
#include <climits>

#include "common/qt/qt_text.h"
#include "edid/edit/edit_schema.h"
#include "edid/edit/timing_table.h"

namespace t27 {

namespace {

QString qs(const std::string& s) { return to_qt(s); }

QString field_name(const std::string& key) { return qs("fld_" + key); }

// VICs a short video descriptor can name.
std::vector<int> every_vic() {
    std::vector<int> v;
    for (int i = 1; i <= 255; ++i)
        if (edid_vic_known(i)) v.push_back(i);
    return v;
}

const EdidPart* part_at(const EdidModel& m, PartRef at) {
    if (at.block < 0 || at.block >= m.block_count()) return nullptr;
    if (at.part < 0 || at.part >= static_cast<int>(m.block(at.block).parts.size())) return nullptr;
    return &m.part(at.block, at.part);
}

std::string merge_key(PartRef at, const std::string& what) {
    return std::to_string(at.block) + "/" + std::to_string(at.part) + "/" + what;
}

}  // namespace

EditorForm::EditorForm(QWidget* parent, Submit submit)
    : QWidget(parent), submit_(std::move(submit)) {
    setObjectName(QStringLiteral("fra_edid_edit_form"));
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
}

std::string EditorForm::signature(const EdidModel& m, const EditorSelection& sel) const {
    std::string sig = std::to_string(sel.block) + "/" + std::to_string(sel.part) + "/" +
                      std::to_string(sel.item) + "|" + std::to_string(m.block_count());
    const EdidPart* part = part_at(m, {sel.block, sel.part});
    if (!part) return sig;
    sig += "|" + part_label(m, sel.block, sel.part);
    const auto items = part_list_items(*part);
    const DataBlockKind kind = data_block_kind(part->bytes);
    const bool svd_list = part->role == EdidPartRole::data_block &&
                          (kind == DataBlockKind::video || kind == DataBlockKind::y420_video);
    if (!svd_list) sig += "|" + std::to_string(items.size());
    const auto fields = sel.item >= 0 && sel.item < static_cast<int>(items.size())
                            ? items[static_cast<std::size_t>(sel.item)].fields
                            : part_fields(*part);
    for (const EdidField& f : fields) sig += "|" + f.key;
    return sig;
}

void EditorForm::show_selection(const EdidModel& m, const EditorSelection& sel) {
    const std::string sig = signature(m, sel);
    if (sig != signature_ || !(sel == sel_)) {
        rebuild(m, sel);
        signature_ = sig;
        sel_ = sel;
    }
    refresh(m);
}

void EditorForm::refresh(const EdidModel& m) {
    for (const auto& r : refreshers_) r(m);
}

void EditorForm::rebuild(const EdidModel& m, const EditorSelection& sel) {
    refreshers_.clear();
    // The control whose signal led here may sit in the old body: it goes
    // once its signal has returned.
    if (body_) {
        body_->hide();
        body_->setParent(nullptr);
        body_->deleteLater();
    }
    body_ = new QWidget(this);
    layout_->addWidget(body_);
    auto* v = new QVBoxLayout(body_);
    auto* title = new QLabel(body_);
    title->setObjectName(QStringLiteral("lab_edid_edit_title"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    v->addWidget(title);
    fields_ = new QFormLayout();
    v->addLayout(fields_);

    if (sel.block < 0 || sel.block >= m.block_count()) {
        title->setText(QStringLiteral("Choose a block or an item on the left."));
        v->addStretch();
        return;
    }
    if (sel.part < 0) {
        title->setText(qs(block_label(m, sel.block)));
        add_block_controls(m, sel.block);
        v->addStretch();
        return;
    }
    const PartRef at{sel.block, sel.part};
    const EdidPart& part = m.part(sel.block, sel.part);
    const auto items = part_list_items(part);
    if (sel.item >= 0 && sel.item < static_cast<int>(items.size())) {
        const EdidListItem& item = items[static_cast<std::size_t>(sel.item)];
        title->setText(qs(part_label(m, sel.block, sel.part) + " - " + item.label));
        for (const EdidField& f : item.fields) add_field(f, at);
        if (data_block_kind(part.bytes) == DataBlockKind::audio) {
            auto* remove = new QPushButton(QStringLiteral("Remove descriptor"), body_);
            remove->setObjectName(QStringLiteral("cmd_edid_edit_remove_sad"));
            const int offset = item.offset;
            connect(remove, &QPushButton::clicked, this, [this, at, offset] {
                submit_({}, [at, offset](EdidModel& w) {
                    std::string bytes = w.part(at.block, at.part).bytes;
                    bytes.erase(static_cast<std::size_t>(offset), 3);
                    return w.replace(at.block, at.part, bytes);
                });
            });
            fields_->addRow(remove);
        }
        v->addStretch();
        return;
    }
    title->setText(qs(part_label(m, sel.block, sel.part)));
    for (const EdidField& f : part_fields(part)) add_field(f, at);
    add_part_controls(m, at);
    v->addStretch();
}

void EditorForm::add_field(const EdidField& f, PartRef at) {
    const QString label = qs(f.label);
    const std::string merge =
        merge_key(at, f.key + "@" + std::to_string(f.pieces.empty() ? 0 : f.pieces[0].offset));
    auto set_value = [this, at, f, merge](long long v) {
        submit_(merge, [at, f, v](EdidModel& w) { return set_field(w, at, f, v); });
    };
    switch (f.type) {
        case FieldType::flag:
        case FieldType::unused: {
            auto* c = new QCheckBox(label, body_);
            c->setObjectName(field_name(f.key));
            c->setEnabled(!f.read_only);
            connect(c, &QCheckBox::toggled, this, [set_value](bool on) { set_value(on ? 1 : 0); });
            refreshers_.push_back([c, at, f](const EdidModel& m) {
                const EdidPart* p = part_at(m, at);
                if (!p) return;
                const QSignalBlocker b(c);
                c->setChecked(field_raw(p->bytes, f) != 0);
            });
            fields_->addRow(c);
            return;
        }
        case FieldType::choice: {
            auto* c = new QComboBox(body_);
            c->setObjectName(field_name(f.key));
            c->setEnabled(!f.read_only);
            connect(c, &QComboBox::activated, this,
                    [c, set_value](int i) { set_value(c->itemData(i).toLongLong()); });
            refreshers_.push_back([c, at, f](const EdidModel& m) {
                const EdidPart* p = part_at(m, at);
                if (!p) return;
                const QSignalBlocker b(c);
                const long long raw = field_raw(p->bytes, f);
                c->clear();
                const long long count = f.names ? static_cast<long long>(f.names->size()) : 0;
                for (long long v = 0; v < count; ++v) {
                    const std::string name = choice_name(f, v);
                    if (!name.empty() || v == raw)
                        c->addItem(qs(name.empty() ? std::to_string(v) : name), v);
                }
                if (raw >= count) c->addItem(qs(std::to_string(raw)), raw);
                c->setCurrentIndex(c->findData(raw));
            });
            fields_->addRow(label, c);
            return;
        }
        case FieldType::letters:
        case FieldType::text: {
            auto* e = new QLineEdit(body_);
            e->setObjectName(field_name(f.key));
            e->setMaxLength(f.type == FieldType::letters ? 3 : f.length);
            e->setReadOnly(f.read_only);
            connect(e, &QLineEdit::textEdited, this, [this, at, f, merge](const QString& t) {
                const std::string text = from_qt(t);
                submit_(merge,
                        [at, f, text](EdidModel& w) { return set_field_text(w, at, f, text); });
            });
            refreshers_.push_back([e, at, f](const EdidModel& m) {
                const EdidPart* p = part_at(m, at);
                if (!p) return;
                const QString t = qs(field_text(p->bytes, f));
                // Letters are stored in upper case; the box keeps what was typed.
                if (t.compare(e->text(), Qt::CaseInsensitive) != 0) {
                    const QSignalBlocker b(e);
                    e->setText(t);
                }
            });
            fields_->addRow(label, e);
            return;
        }
        case FieldType::number:
            break;
    }
    if (f.shown_max() > INT_MAX) {
        // A 32-bit serial number does not fit a spin box.
        auto* e = new QLineEdit(body_);
        e->setObjectName(field_name(f.key));
        e->setReadOnly(f.read_only);
        connect(e, &QLineEdit::editingFinished, this, [e, set_value] {
            bool ok = false;
            const qulonglong v = e->text().toULongLong(&ok);
            if (ok) set_value(static_cast<long long>(v));
        });
        refreshers_.push_back([e, at, f](const EdidModel& m) {
            if (const EdidPart* p = part_at(m, at)) {
                const QSignalBlocker b(e);
                e->setText(QString::number(field_value(p->bytes, f)));
            }
        });
        fields_->addRow(label, e);
        return;
    }
    auto* s = new QSpinBox(body_);
    s->setObjectName(field_name(f.key));
    s->setRange(static_cast<int>(f.shown_min()), static_cast<int>(f.shown_max()));
    s->setSingleStep(f.scale);
    s->setReadOnly(f.read_only);
    if (f.read_only) {
        // Shown like a label: the model sets it, nobody types into it.
        s->setButtonSymbols(QAbstractSpinBox::NoButtons);
        s->setFrame(false);
        s->setFocusPolicy(Qt::NoFocus);
        s->setStyleSheet(QStringLiteral("background: transparent"));
    }
    if (f.hex_digits > 0) s->setDisplayIntegerBase(16);
    if (!f.unit.empty()) s->setSuffix(qs(" " + f.unit));
    connect(s, &QSpinBox::valueChanged, this, [set_value](int v) { set_value(v); });
    refreshers_.push_back([s, at, f](const EdidModel& m) {
        if (const EdidPart* p = part_at(m, at)) {
            const QSignalBlocker b(s);
            s->setValue(static_cast<int>(field_value(p->bytes, f)));
        }
    });
    fields_->addRow(label, s);
}

void EditorForm::add_block_controls(const EdidModel& m, int b) {
    if (b == 0) {
        auto* add = new QPushButton(QStringLiteral("Add CTA-861 block"), body_);
        add->setObjectName(QStringLiteral("cmd_edid_edit_add_cta"));
        add->setEnabled(m.block_count() < 4);
        connect(add, &QPushButton::clicked, this, [this] {
            submit_({}, [](EdidModel& w) {
                EdidEdit r = w.add_cta_block();
                if (r.ok() && w.block_count() > 2)
                    w.warn("the unit is written blocks 0 and 1 only: block " +
                           std::to_string(w.block_count() - 1) + " will not reach it");
                return r;
            });
        });
        fields_->addRow(add);
        return;
    }
    if (m.block(b).is_cta()) {
        auto* kind = new QComboBox(body_);
        kind->setObjectName(QStringLiteral("cbo_edid_edit_add_kind"));
        for (const DataBlockType& t : data_block_types())
            if (!data_block_template(t.kind).empty())
                kind->addItem(qs(t.label), static_cast<int>(t.kind));
        auto* add = new QPushButton(QStringLiteral("Add data block"), body_);
        add->setObjectName(QStringLiteral("cmd_edid_edit_add_data"));
        connect(add, &QPushButton::clicked, this, [this, b, kind] {
            const auto k = static_cast<DataBlockKind>(kind->currentData().toInt());
            submit_({}, [b, k](EdidModel& w) {
                return w.insert_data_block(b, data_block_template(k));
            });
        });
        fields_->addRow(kind, add);
        add_timing_picker({b, -1}, true);
    }
    auto* remove = new QPushButton(QStringLiteral("Remove block"), body_);
    remove->setObjectName(QStringLiteral("cmd_edid_edit_remove_block"));
    connect(remove, &QPushButton::clicked, this,
            [this, b] { submit_({}, [b](EdidModel& w) { return w.remove_block(b); }); });
    fields_->addRow(remove);
}

void EditorForm::add_part_controls(const EdidModel& m, PartRef at) {
    const EdidPart& part = m.part(at.block, at.part);
    if (part.role == EdidPartRole::descriptor) {
        auto* kind = new QComboBox(body_);
        kind->setObjectName(QStringLiteral("cbo_edid_edit_kind"));
        const DescriptorKind now = descriptor_kind(part.bytes);
        for (const DescriptorType& t : descriptor_types())
            if (t.kind != DescriptorKind::other || now == DescriptorKind::other)
                kind->addItem(QString::fromLatin1(t.label), static_cast<int>(t.kind));
        kind->setCurrentIndex(kind->findData(static_cast<int>(now)));
        connect(kind, &QComboBox::activated, this, [this, kind, at](int i) {
            const auto k = static_cast<DescriptorKind>(kind->itemData(i).toInt());
            submit_({}, [at, k](EdidModel& w) { return edit_descriptor_kind(w, at, k); });
        });
        fields_->insertRow(0, QStringLiteral("Kind"), kind);
        if (now == DescriptorKind::timing) {
            add_timing_rates(at);
            add_timing_picker(at, false);
        }
        return;
    }
    if (part.role == EdidPartRole::cta_timing) {
        add_timing_rates(at);
        add_timing_picker(at, false);
    }
    if (part.role == EdidPartRole::data_block) {
        const DataBlockKind kind = data_block_kind(part.bytes);
        if (kind == DataBlockKind::hdr_static && part.bytes.size() < 7) {
            // A short block states no luminance; the fields come with its bytes.
            auto* add = new QPushButton(QStringLiteral("Add luminance fields"), body_);
            add->setObjectName(QStringLiteral("cmd_edid_edit_hdr_luminance"));
            connect(add, &QPushButton::clicked, this, [this, at] {
                submit_({}, [at](EdidModel& w) {
                    std::string bytes = w.part(at.block, at.part).bytes;
                    bytes.resize(7, '\0');
                    return w.replace(at.block, at.part, bytes);
                });
            });
            fields_->addRow(add);
        }
        if (kind == DataBlockKind::video || kind == DataBlockKind::y420_video) add_vic_list(m, at);
        if (kind == DataBlockKind::audio) {
            auto* add = new QPushButton(QStringLiteral("Add descriptor"), body_);
            add->setObjectName(QStringLiteral("cmd_edid_edit_add_sad"));
            connect(add, &QPushButton::clicked, this, [this, at] {
                submit_({}, [at](EdidModel& w) {
                    // LPCM, 2 channels, 32-48 kHz, 16-24 bit: what every sink takes.
                    const std::string sad = data_block_template(DataBlockKind::audio).substr(1);
                    return w.replace(at.block, at.part, w.part(at.block, at.part).bytes + sad);
                });
            });
            fields_->addRow(add);
        }
    }
    if (part.role == EdidPartRole::data_block || part.role == EdidPartRole::cta_timing) {
        // Says what goes: under the VIC lists a bare "Remove" reads as removing a VIC.
        std::string what = part_label(m, at.block, at.part);
        if (what.size() > 1 && std::islower(static_cast<unsigned char>(what[1])))
            what[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(what[0])));
        auto* remove = new QPushButton(qs("Remove this " + what), body_);
        remove->setObjectName(QStringLiteral("cmd_edid_edit_remove"));
        connect(remove, &QPushButton::clicked, this, [this, at] {
            submit_({}, [at](EdidModel& w) { return w.remove(at.block, at.part); });
        });
        fields_->addRow(remove);
    }
}

void EditorForm::add_timing_picker(PartRef at, bool add_new) {
    auto* pick = new QComboBox(body_);
    pick->setObjectName(
        QString::fromLatin1(add_new ? "cbo_edid_edit_new_timing" : "cbo_edid_edit_timing"));
    pick->addItem(
        add_new ? QStringLiteral("Add a detailed timing...") : QStringLiteral("Set from timing..."),
        -1);
    const auto& table = video_timings();
    for (std::size_t i = 0; i < table.size(); ++i)
        pick->addItem(qs(video_timing_name(table[i])), static_cast<int>(i));
    connect(pick, &QComboBox::activated, this, [this, pick, at, add_new](int i) {
        const int row = pick->itemData(i).toInt();
        if (row < 0) return;
        const VideoTiming t = video_timings()[static_cast<std::size_t>(row)];
        if (add_new) {
            submit_({}, [at, t](EdidModel& w) { return edit_add_cta_timing(w, at.block, t); });
        } else {
            submit_({}, [at, t](EdidModel& w) { return edit_timing(w, at, t); });
        }
        const QSignalBlocker b(pick);
        pick->setCurrentIndex(0);
    });
    fields_->addRow(pick);
}

void EditorForm::add_timing_rates(PartRef at) {
    auto* rates = new QLabel(body_);
    rates->setObjectName(QStringLiteral("lab_edid_edit_timing_rates"));
    refreshers_.push_back([rates, at](const EdidModel& m) {
        if (const EdidPart* p = part_at(m, at)) rates->setText(qs(timing_rates(p->bytes, 0)));
    });
    fields_->insertRow(0, QStringLiteral("Clock, refresh, line rate"), rates);
}

void EditorForm::add_vic_list(const EdidModel& m, PartRef at) {
    const bool video = data_block_kind(m.part(at.block, at.part).bytes) == DataBlockKind::video;
    // The block's own order, which the native VIC, the 4:2:0 map and the 3D
    // entries go by; the check list below is for adding and removing.
    auto* order = new QListWidget(body_);
    order->setObjectName(QStringLiteral("lst_edid_edit_vic_order"));
    order->setSelectionMode(QAbstractItemView::NoSelection);
    order->setMaximumHeight(130);
    refreshers_.push_back([order, at](const EdidModel& now) {
        const EdidPart* p = part_at(now, at);
        if (!p) return;
        order->clear();
        int n = 0;
        for (const EdidListItem& item : part_list_items(*p))
            order->addItem(qs(std::to_string(++n) + ". " + item.label));
    });
    fields_->addRow(QStringLiteral("In block order"), order);
    auto* list = new QListWidget(body_);
    list->setObjectName(QStringLiteral("lst_edid_edit_vic"));
    list->setMinimumHeight(220);
    for (int vic : every_vic()) {
        auto* item = new QListWidgetItem(qs(vic_label(vic)), list);
        item->setData(Qt::UserRole, vic);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(list, &QListWidget::itemChanged, this, [this, at](QListWidgetItem* item) {
        const int vic = item->data(Qt::UserRole).toInt();
        const bool on = item->checkState() == Qt::Checked;
        submit_({}, [at, vic, on](EdidModel& w) {
            std::vector<int> codes = svd_codes(w.part(at.block, at.part));
            const auto same = [vic](int c) { return svd_decode(c).vic == vic; };
            codes.erase(std::remove_if(codes.begin(), codes.end(), same), codes.end());
            if (on) codes.push_back(vic);
            return edit_set_svds(w, at, codes);
        });
    });
    refreshers_.push_back([list, at](const EdidModel& now) {
        const EdidPart* p = part_at(now, at);
        if (!p) return;
        const QSignalBlocker b(list);
        const std::vector<int> codes = svd_codes(*p);
        for (int i = 0; i < list->count(); ++i) {
            const int vic = list->item(i)->data(Qt::UserRole).toInt();
            const bool on = std::any_of(codes.begin(), codes.end(),
                                        [vic](int c) { return svd_decode(c).vic == vic; });
            list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    });
    fields_->addRow(list);
    if (!video) return;

    auto* native = new QComboBox(body_);
    native->setObjectName(QStringLiteral("cbo_edid_edit_native"));
    connect(native, &QComboBox::activated, this, [this, native, at](int i) {
        const int chosen = native->itemData(i).toInt();
        submit_({}, [at, chosen](EdidModel& w) {
            // The native format goes first; only one descriptor carries the flag.
            std::vector<int> codes;
            for (int c : svd_codes(w.part(at.block, at.part))) {
                const int vic = svd_decode(c).vic;
                if (vic == chosen) {
                    codes.insert(codes.begin(), svd_encode(vic, true));
                } else {
                    codes.push_back(svd_encode(vic, false));
                }
            }
            return edit_set_svds(w, at, codes);
        });
    });
    refreshers_.push_back([native, at](const EdidModel& now) {
        const EdidPart* p = part_at(now, at);
        if (!p) return;
        const QSignalBlocker b(native);
        native->clear();
        native->addItem(QStringLiteral("(none)"), 0);
        int current = 0;
        for (int c : svd_codes(*p)) {
            const Svd s = svd_decode(c);
            if (s.vic >= 1 && s.vic <= 64) native->addItem(qs(vic_label(s.vic)), s.vic);
            if (s.native) current = s.vic;
        }
        native->setCurrentIndex(std::max(0, native->findData(current)));
    });
    fields_->addRow(QStringLiteral("Native"), native);
}

}  // namespace t27
