#include "editors/editor_base.h"

#include "editors/editor_internal.h"
#include "editors/setting_text.h"

#include "model/ini_document.h"
#include "base/value_checks.h"
#include "interfaces/prompts.h"
#include "editors/qt_lists.h"
#include "tables/dtmf_digits.h"
#include "link/busy_state.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vm880 {

using namespace editor_internal;

void editor_internal::SetMarked(QWidget* widget, bool marked)
{
    if (!widget)
        return;
    if (marked) {
        QPalette palette = widget->palette();
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(role, Qt::red);
        widget->setPalette(palette);
    } else {
        widget->setPalette(QPalette());
    }
}

bool editor_internal::SkipsChecks(const QWidget* next, const QWidget* editor)
{
    for (const QWidget* w = next; w && w != editor; w = w->parentWidget())
        if (w->property(kSkipChecks).toBool())
            return true;
    return false;
}

EditorDecl DeclFor(int tab)
{
    const EditorRow& row = kEditorTable.at(static_cast<std::size_t>(tab));
    return {.pending = row.pending,
            .areaFlag = row.areaFlags[0],
            .cancelText = row.cancelText,
            .cancelTitle = row.cancelTitle,
            .applyFailBox = row.applyFailBox,
            .flagRule = row.flagRule};
}

EditorBase::EditorBase(EditorServices services, EditorDecl decl, QWidget* parent)
    : QWidget(parent), services_(services), decl_(std::move(decl))
{
    apply_ = new QPushButton(tr("&Apply"), this);
    apply_->setObjectName(QStringLiteral("Apply"));
    cancel_ = new QPushButton(tr("&Cancel Changes"), this);
    cancel_->setObjectName(QString::fromStdString(decl_.cancelButtonName));
    // Apply checks the fields itself and Cancel Changes throws the edits away: moving the
    // focus onto them must not run the check of the field being left first.
    SkipChecksWhenFocused(apply_);
    SkipChecksWhenFocused(cancel_);
    connect(apply_, &QPushButton::clicked, this, [this] { DoApply(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelChanges(); });
    // The busy state outlives the editors of one loaded file: the destructor unsubscribes.
    busyListener_ = services_.busy.Subscribe([this](bool busy) {
        for (QWidget* control : controllerControls_)
            control->setEnabled(!busy);
    });
}

EditorBase::~EditorBase()
{
    services_.busy.Unsubscribe(busyListener_);
}

int EditorBase::Pending() const
{
    return decl_.pending ? model().*decl_.pending : -1;
}

void EditorBase::SetPending(int state)
{
    if (decl_.pending)
        model().*decl_.pending = state;
}

Text& EditorBase::Working(Field& field, int element)
{
    return field.working_.at(static_cast<std::size_t>(element - 1));
}

Text EditorBase::Stored(Field& field, int element)
{
    return field.bind_.Read(model(), element);
}

bool EditorBase::AnyFlagRaised(Field& field)
{
    if (!field.bind_.flag)
        return false;
    for (int e = 1; e <= field.count(); ++e)
        if (field.bind_.flag(model(), e) != kFalse)
            return true;
    return false;
}

Field* EditorBase::FieldNumbered(int number) const
{
    if (number < 1)
        return nullptr;
    for (const auto& field : fields_)
        if (field->kind() == FieldKind::Text && field->number() == number)
            return field.get();
    return nullptr;
}

void EditorBase::SkipChecksWhenFocused(QWidget* control)
{
    control->setProperty(kSkipChecks, true);
}

void EditorBase::TalksToController(QWidget* control)
{
    controllerControls_.push_back(control);
    control->setEnabled(!services_.busy.Busy());
}

void EditorBase::SetBody(QWidget* body)
{
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(body);
    SetBody(inner);
}

void EditorBase::SetBody(QLayout* body)
{
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(body);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    layout->addLayout(buttons);
}

// ---- Declarations

Field& EditorBase::add(std::unique_ptr<Field> field, int count)
{
    field->working_.assign(static_cast<std::size_t>(field->bind_.count), Text{});
    field->count_ = field->bind_.count;
    field->slotCount_ = count;
    fields_.push_back(std::move(field));
    return *fields_.back();
}

void EditorBase::nameSlot(Field& field, QWidget* widget, const std::string& name, int slot)
{
    const bool array = field.slotCount_ > 1; // one set of controls showing a record: no index
    widget->setObjectName(QString::fromStdString(array ? name + "(" + std::to_string(slot) + ")" : name));
}

Field& EditorBase::AddNumber(TextFieldDecl decl)
{
    decl.digitsOnly = true;
    if (!decl.empty)
        decl.empty = "0";
    return AddText(std::move(decl));
}

Field& EditorBase::AddDtmfCode(TextFieldDecl decl, bool withBounds, std::string messageEnd)
{
    const int lo = decl.lo;
    const int hi = decl.hi;
    decl.hi = decl.lo - 1; // the length bounds are not a number range
    decl.upperCase = true;
    decl.check = [lo, hi, text = withBounds ? decl.message + BoundsText(lo, hi) + messageEnd : decl.message,
                  other = std::move(decl.check)](FieldCheck& c) -> std::optional<Refusal> {
        if (CheckDTMFDigits(c.Value(), lo, hi) != kValid)
            return Refusal{text};
        return other ? other(c) : std::nullopt;
    };
    return AddText(std::move(decl));
}

Field& EditorBase::AddText(TextFieldDecl decl)
{
    auto owned = std::make_unique<Field>();
    owned->kind_ = FieldKind::Text;
    owned->name_ = decl.name;
    owned->number_ = decl.number;
    owned->bind_ = decl.bind;
    owned->area_ = decl.area;
    owned->element_ = decl.element ? decl.element : decl.from.element;
    owned->reveal_ = decl.from.reveal;
    owned->standing_ = decl.standing;
    if (!decl.current)
        decl.current = decl.from.current;
    const int count = decl.slotCount > 0 ? decl.slotCount : decl.bind.count;
    owned->text_ = std::move(decl);
    Field& field = add(std::move(owned), count);
    for (int slot = 1; slot <= count; ++slot) {
        auto* edit = new QLineEdit(this);
        nameSlot(field, edit, field.name_, slot);
        if (field.text_.digitsOnly)
            SetNumericOnly(edit);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, &field, slot] { controlChanged(field, slot); });
        field.widgets_.push_back(edit);
    }
    return field;
}

Field& EditorBase::addChoice(FieldKind kind, ChoiceDecl decl)
{
    auto owned = std::make_unique<Field>();
    owned->kind_ = kind;
    owned->name_ = decl.name;
    owned->bind_ = decl.bind;
    owned->area_ = decl.area;
    owned->element_ = decl.element ? decl.element : decl.from.element;
    owned->reveal_ = decl.from.reveal;
    owned->standing_ = decl.standing;
    owned->raisesArea_ = decl.raisesArea;
    const int count = decl.slotCount > 0 ? decl.slotCount : decl.bind.count;
    owned->choice_ = std::move(decl);
    return add(std::move(owned), count);
}

Field& EditorBase::AddCombo(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Combo, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        auto* combo = new QComboBox(this);
        nameSlot(field, combo, field.name_, slot);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, &field, slot] { controlChanged(field, slot); });
        field.widgets_.push_back(combo);
    }
    return field;
}

Field& EditorBase::AddCheck(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Check, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        auto* box = new QCheckBox(field.choice_.caption, this);
        nameSlot(field, box, field.name_, slot);
        connect(box, &QCheckBox::toggled, this, [this, &field, slot] { controlChanged(field, slot); });
        field.widgets_.push_back(box);
    }
    return field;
}

Field& EditorBase::AddOptions(ChoiceDecl decl)
{
    Field& field = addChoice(FieldKind::Options, std::move(decl));
    const int count = field.slotCount();
    for (int slot = 1; slot <= count; ++slot) {
        // A group per slot keeps the choice exclusive wherever the editor lays the buttons out.
        auto* group = new QButtonGroup(this);
        std::vector<QAbstractButton*> buttons;
        for (const OptionDecl& option : field.choice_.options) {
            auto* button = new QRadioButton(option.caption, this);
            nameSlot(field, button, option.name, slot);
            group->addButton(button);
            connect(button, &QRadioButton::toggled, this, [this, &field, slot](bool on) {
                if (on)
                    controlChanged(field, slot);
            });
            buttons.push_back(button);
        }
        field.widgets_.push_back(buttons.empty() ? nullptr : buttons.front());
        field.options_.push_back(std::move(buttons));
    }
    return field;
}

// ---- Lookup

QWidget* EditorBase::Control(std::string_view name, int slot) const
{
    std::string full(name);
    if (slot > 0)
        full += "(" + std::to_string(slot) + ")";
    return findChild<QWidget*>(QString::fromStdString(full));
}

bool EditorBase::IsMarked(const QWidget* control)
{
    if (!control)
        return false;
    const QPalette& palette = control->palette();
    return palette.color(QPalette::Text) == QColor(Qt::red)
        || palette.color(QPalette::WindowText) == QColor(Qt::red);
}

std::vector<const Field*> EditorBase::DeclaredFields() const
{
    std::vector<const Field*> out;
    for (const auto& field : fields_)
        out.push_back(field.get());
    return out;
}

Field* EditorBase::fieldOf(QObject* control, int& slot) const
{
    for (const auto& field : fields_)
        for (slot = 1; slot <= field->slotCount(); ++slot)
            if (field->Widget(slot) == control)
                return field.get();
    slot = 0;
    return nullptr;
}

} // namespace vm880
