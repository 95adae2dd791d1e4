#include "editors/ports/dtmf_editor.h"

#include "editors/editor_layout.h"
#include "tables/dtmf_digits.h"
#include "tables/sequence_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

struct MemoryPage {
    int first;
    int last;
    const char* caption;
};

constexpr MemoryPage kPages[] = {{1, 20, "1 - 20"}, {21, 40, "21 -40"}, {41, 50, "41-50"}};

EditorDecl DTMFDecl()
{
    EditorDecl decl = DeclFor(7);
    decl.cancelButtonName = "Cancel";
    return decl;
}

} // namespace

std::string TerminatorInMemoryText(std::string_view terminator)
{
    return "*** WARNING  WARNING  WARNING ***\r\n"
           "The DTMF string contains the character that is presently defined as your DTMF "
           "Terminator ('" + TerminatorDigit(terminator) + "')\r\n\r\n"
           "Change the Terminator before trying to upload the new DTMF strings or else change the "
           "DTMF strings";
}

DTMFEditor::DTMFEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DTMFDecl(), parent)
{
    setObjectName(QStringLiteral("DTMF"));
    setWindowTitle(QStringLiteral("DTMF"));
    memories_ = &AddText({.number = 1,
                          .name = "DTMFSet",
                          .bind = Bind(&M::DTMF, &M::DTMFChangedItem),
                          .title = NumberedTitle("DTMF Memory "),
                          .check = [this](FieldCheck& c) { return checkMemory(c); },
                          .current = [this] { return current_; },
                          .upperCase = true,
                          .blankOnFocus = Text(kNoneStored),
                          .onFocus = [this](int memory) { current_ = memory; },
                          .pickKind = "digits"});
    AddNumber({.number = 2,
               .name = "DTMFDurSet",
               .bind = Bind(&M::DTMFDur, &M::DTMFDurChanged),
               .lo = 1,
               .hi = 255,
               .message = "DTMF Paramaters: Duration is invalid.  Must be integer number between ",
               .title = FixedTitle("DTMF Paramters: Duration"),
               .empty = Text("1")});
    AddNumber({.number = 3,
               .name = "DTMFDelaySet",
               .bind = Bind(&M::DTMFDelay, &M::DTMFDelayChanged),
               .lo = 1,
               .hi = 255,
               .message = "DTMF Paramaters: Delay is invalid.  Must be integer number between ",
               .title = FixedTitle("DTMF Paramters: Delay"),
               .empty = Text("1")});

    digits_ = &AddPickList({.name = "DTMFList",
                            .kind = "digits",
                            .insert = [](CaretText& box, std::string_view digit) { InsertDTMFDigit(box, digit); }});
    for (std::string_view digit : DTMFDigitTable)
        digits_->Add(QString::fromLatin1(digit.data(), static_cast<int>(digit.size())));
    counter_ = AddCounter({.name = "DigitCounter",
                           .kind = "digits",
                           .count = [](std::string_view text) { return CountDTMFDigits(text); }});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    for (const MemoryPage& page : kPages)
        tabs_->addTab(memoryPage(page.first, page.last), QString::fromLatin1(page.caption));

    auto* body = new QHBoxLayout;
    body->addWidget(tabs_, 1);
    body->addWidget(sideColumn());
    SetBody(body);
}

void DTMFEditor::FillLists()
{
    // Without the clock option the controller keeps 20 memories: the others are neither
    // shown nor compared nor copied.
    const int count = model().DTMFMemoryCount();
    memories_->SetCount(count);
    for (int i = 1; i < tabs_->count(); ++i)
        tabs_->setTabEnabled(i, count > 20);
}

void DTMFEditor::AfterLoad()
{
    tabs_->setCurrentIndex(0);
    current_ = 1;
}

std::optional<Refusal> DTMFEditor::checkMemory(FieldCheck& c)
{
    if (c.Value() == kNoneStored)
        return std::nullopt;
    c.SetText(SpaceDTMFString(c.Value()));
    if (DTMFStringInvalid(c.Value()) != kValid)
        return Refusal{"Invalid DTMF String or DTMF String contains more characters than " +
                       std::to_string(kMaxDTMFDigits)};
    const ConfigModel& m = model();
    if (HoldsTerminator(c.Value(), m.Terminator))
        c.Warn({TerminatorInMemoryText(m.Terminator), "DTMF Strings"});
    if (const Text next = TerminatorDigit(m.NewTerminator); HoldsTerminator(c.Value(), next))
        return Refusal{"A DTMF memory may not contain the character that is going to be uploaded "
                       "to the VM880 as the new DTMF Terminator ('" + next + "')"};
    return std::nullopt;
}

QWidget* DTMFEditor::memoryPage(int first, int last)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    constexpr int kRows = 10;
    for (int n = first; n <= last; ++n) {
        const int row = (n - first) % kRows;
        const int column = (n - first) / kRows * 2;
        grid->addWidget(new QLabel(QString::number(n)), row, column, Qt::AlignRight);
        grid->addWidget(Control("DTMFSet", n), row, column + 1);
    }
    grid->setRowStretch(kRows, 1);
    return page;
}

QWidget* DTMFEditor::sideColumn()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("DTMF Digits")));
    digits_->List()->setMaximumWidth(90);
    layout->addWidget(digits_->List(), 1);
    auto* counter = new QHBoxLayout;
    counter->addWidget(new QLabel(QStringLiteral("Digit Counter")));
    counter->addWidget(counter_);
    layout->addLayout(counter);
    QGridLayout* parameters = AddGroup(layout, QStringLiteral("DTMF Parameters"));
    AddRow(parameters, QStringLiteral("Duration"), Narrow(Control("DTMFDurSet")), QStringLiteral("ms"));
    AddRow(parameters, QStringLiteral("Delay"), Narrow(Control("DTMFDelaySet")), QStringLiteral("ms"));
    return column;
}

} // namespace vm880
