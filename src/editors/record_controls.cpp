#include "editors/record_controls.h"

#include "editors/editor_base.h"
#include "editors/setting_text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace vm880 {

namespace {

// Item data of a pick-list row: what a double-click inserts; absent on separator rows.
constexpr int kItemRole = Qt::UserRole;

} // namespace

int RecordSelector::Value(int slot) const
{
    QComboBox* combo = Combo(slot);
    return combo ? first_ + std::max(combo->currentIndex(), 0) : first_;
}

void RecordSelector::Choose(int record, int slot)
{
    if (QComboBox* combo = Combo(slot))
        combo->setCurrentIndex(record - first_);
}

QComboBox* RecordSelector::Combo(int slot) const
{
    if (slot < 1 || slot > static_cast<int>(combos_.size()))
        return nullptr;
    return combos_[static_cast<std::size_t>(slot - 1)];
}

void RecordTabs::AddPage(QWidget* page, const QString& caption, int record)
{
    records_.push_back(record);
    tabs_->addTab(page, caption);
}

void RecordTabs::AddPortPages(const std::function<QWidget*(int port)>& page, int ports)
{
    for (int p = 1; p <= ports; ++p)
        AddPage(page(p), QStringLiteral("Port %1").arg(p), p);
}

void RecordTabs::Select(int record)
{
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i] == record)
            tabs_->setCurrentIndex(static_cast<int>(i));
}

int RecordTabs::RecordOf(const QWidget* widget) const
{
    for (std::size_t i = 0; widget && i < records_.size(); ++i)
        if (tabs_->widget(static_cast<int>(i))->isAncestorOf(widget))
            return records_[i];
    return 0;
}

ElementProvider ByTab(RecordTabs& tabs)
{
    return {{}, [&tabs] { return tabs.Current(); }, [&tabs](int element) { tabs.Select(element); }};
}

ElementProvider ShownByTab(RecordTabs& tabs)
{
    return {[&tabs](int) { return tabs.Current(); }, [&tabs] { return tabs.Current(); },
            [&tabs](int element) { tabs.Select(element); }};
}

ElementProvider ByRecord(RecordSelector& selector)
{
    return {[&selector](int slot) { return selector.Value(slot); },
            [&selector] { return selector.Value(1); },
            [&selector](int element) { selector.Choose(element, 1); }};
}

ElementProvider ByTabAndRecord(RecordTabs& tabs, RecordSelector& selector, int perPage)
{
    return {[&selector, perPage](int slot) { return Element2(slot, selector.Value(slot), perPage); },
            [&tabs, &selector, perPage] {
                return Element2(tabs.Current(), selector.Value(tabs.Current()), perPage);
            },
            [&tabs, &selector, perPage](int element) {
                const int page = (element - 1) / perPage + 1;
                tabs.Select(page);
                selector.Choose((element - 1) % perPage + 1, page);
            }};
}

void PickList::Add(const QString& text, const QString& item)
{
    auto* row = new QListWidgetItem(text, list_);
    row->setData(kItemRole, item.isEmpty() ? text : item);
}

void PickList::AddSeparator(const QString& text)
{
    new QListWidgetItem(text, list_);
}

void PickList::AddRows(CodeTable table)
{
    for (const CodeRow& row : table) {
        const QString text = QString::fromLatin1(row.text.data(), static_cast<qsizetype>(row.text.size()));
        if (row.code == "-1")
            AddSeparator(text);
        else if (!row.text.empty())
            Add(text);
    }
}

// ---- The editor's side

RecordTabs& EditorBase::AddRecordTabs(RecordTabsDecl decl)
{
    auto tabs = std::make_unique<RecordTabs>();
    tabs->tabs_ = new QTabWidget(this);
    tabs->tabs_->setObjectName(QString::fromStdString(decl.name));
    RecordTabs& added = *tabs;
    connect(added.tabs_, &QTabWidget::currentChanged, this, [this, &added](int index) {
        if (index < 0 || index >= static_cast<int>(added.records_.size()))
            return;
        if (const int record = added.records_[static_cast<std::size_t>(index)]; record > 0)
            added.current_ = record;
        showRecords();
    });
    tabs_.push_back(std::move(tabs));
    return added;
}

RecordSelector& EditorBase::AddRecordSelector(RecordSelectorDecl decl)
{
    auto selector = std::make_unique<RecordSelector>();
    selector->first_ = decl.first;
    for (int slot = 1; slot <= decl.slotCount; ++slot) {
        auto* combo = new QComboBox(this);
        const std::string name = decl.slotCount > 1 ? decl.name + "(" + std::to_string(slot) + ")" : decl.name;
        combo->setObjectName(QString::fromStdString(name));
        for (int record = decl.first; record <= decl.last; ++record)
            combo->addItem(QString::number(record), record);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { showRecords(); });
        selector->combos_.push_back(combo);
    }
    selectors_.push_back(std::move(selector));
    return *selectors_.back();
}

void EditorBase::showRecords()
{
    // Another record in view: its working values, never a change of the pending state.
    showValues();
    UpdateDependents();
}

PickList& EditorBase::AddPickList(PickListDecl decl)
{
    auto owned = std::make_unique<PickList>();
    owned->list_ = new QListWidget(this);
    owned->list_->setObjectName(QString::fromStdString(decl.name));
    if (!decl.insert)
        decl.insert = [](CaretText& box, std::string_view item) { InsertWordAtCaret(box, item); };
    owned->decl_ = std::move(decl);
    SkipChecksWhenFocused(owned->list_);
    PickList& added = *owned;
    connect(added.list_, &QListWidget::itemDoubleClicked, this, [this, &added](QListWidgetItem* row) {
        const QVariant item = row->data(kItemRole);
        if (item.isValid())
            pick(added, item.toString());
    });
    pickLists_.push_back(std::move(owned));
    return added;
}

int EditorBase::slotInFront(const Field& field, int slot) const
{
    for (const auto& tabs : tabs_) {
        const int record = tabs->RecordOf(field.Widget(slot));
        if (record <= 0 || record == tabs->Current())
            continue;
        for (int s = 1; s <= field.slotCount(); ++s)
            if (tabs->RecordOf(field.Widget(s)) == tabs->Current())
                return s;
    }
    return slot;
}

bool EditorBase::enteredByPageSwitch(const QWidget* control) const
{
    // Qt moves the focus into the incoming page before it reports the page: a box whose
    // page is not the current record yet is entered by the switch, not by the operator.
    for (const auto& tabs : tabs_)
        if (const int record = tabs->RecordOf(control); record > 0 && record != tabs->Current())
            return true;
    return false;
}

std::pair<Field*, int> EditorBase::lastBox(const std::string& kind) const
{
    // The box of the field chosen last, on the port page in front: never one out of sight.
    if (auto it = lastBoxes_.find(kind); it != lastBoxes_.end())
        return {it->second.first, slotInFront(*it->second.first, it->second.second)};
    for (const auto& field : fields_)
        if (field->kind() == FieldKind::Text && field->pickKind() == kind)
            return {field.get(), slotInFront(*field, 1)};
    return {nullptr, 0};
}

void EditorBase::SetPickTarget(const std::string& kind, Field& field, int slot)
{
    lastBoxes_[kind] = {&field, slot};
    updateCounters();
}

void EditorBase::pick(PickList& list, const QString& item)
{
    auto [field, slot] = lastBox(list.decl_.kind);
    QLineEdit* edit = field ? field->Edit(slot) : nullptr;
    if (!edit)
        return;
    CaretText box{ToSetting(edit->text()), edit->cursorPosition(), 0};
    if (edit->hasSelectedText()) {
        box.caret = edit->selectionStart();
        box.selectionLength = static_cast<int>(edit->selectedText().size());
    }
    if (field->text_.blankOnFocus && box.text == *field->text_.blankOnFocus)
        box = CaretText{};
    list.decl_.insert(box, ToSetting(item));
    edit->setText(FromSetting(box.text)); // as typed: stored, coloured, pending
    edit->setCursorPosition(box.caret);
}

QLabel* EditorBase::AddCounter(CounterDecl decl)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromStdString(decl.name));
    counters_.emplace_back(label, std::move(decl));
    return label;
}

void EditorBase::updateCounters()
{
    for (auto& [label, decl] : counters_) {
        auto [field, slot] = lastBox(decl.kind);
        const int element = field ? field->ElementOf(slot) : 0;
        const int n = element >= 1 && element <= field->count() ? decl.count(Working(*field, element)) : 0;
        label->setText(decl.text ? decl.text(n) : QString::number(n));
    }
}

} // namespace vm880
