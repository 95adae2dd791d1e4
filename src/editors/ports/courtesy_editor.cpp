#include "editors/ports/courtesy_editor.h"

#include "editors/editor_layout.h"
#include "editors/operator_input_block.h"
#include "editors/ports/courtesy_tone.h"
#include "link/busy_state.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

constexpr const char* kNoteBelow41 = "Note: Setting Segment 1, Tone 1 to less than 41 will cause "
                                     "VM880 to use Message Macro 1 - 40 for Courtesy Tone";
constexpr const char* kAllTones = "All Ports/All Courtesy Tones";

int portOf(int element) { return (element - 1) / kCourtesyToneCount + 1; }

} // namespace

CourtesyEditor::CourtesyEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(1), parent)
{
    setObjectName(QStringLiteral("Courtesy"));
    setWindowTitle(QStringLiteral("Courtesy Tones"));
    tabs_ = &AddRecordTabs({});
    tones_ = &AddRecordSelector({.name = "CTSet", .first = 1, .last = kCourtesyToneCount,
                                 .slotCount = kCourtesyPorts});
    for (const CourtesyField& f : kCourtesyFields) {
        const std::string ending = f.titleEnding;
        AddNumber({.number = f.number,
                   .name = std::string(f.setting) + "Set",
                   .bind = Bind(f.value, CourtesySegmentFlag(f.segment)),
                   .hi = f.hi,
                   .message = f.message,
                   .title = [ending](int element) {
                       return "WhichPort " + std::to_string(portOf(element)) + ending;
                   },
                   .slotCount = kCourtesyPorts,
                   .from = ByTabAndRecord(*tabs_, *tones_, kCourtesyToneCount)});
    }
    tabs_->AddPortPages([this](int p) { return portPage(p); });

    auto* preview = new QPushButton(QStringLiteral("&Preview"), this);
    preview->setObjectName(QStringLiteral("Preview"));
    // The box being edited keeps the focus, so its check runs here, before anything sounds.
    preview->setFocusPolicy(Qt::NoFocus);
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });

    // The buttons' column carries the note that they act on every tone of every port.
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabs_->Widget());
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ApplyButton());
    buttons->addWidget(new QLabel(QString::fromLatin1(kAllTones)));
    buttons->addWidget(CancelButton());
    buttons->addWidget(new QLabel(QString::fromLatin1(kAllTones)));
    buttons->addWidget(preview);
    buttons->addStretch();
    layout->addLayout(buttons);
}

QWidget* CourtesyEditor::portPage(int p)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* select = new QGridLayout;
    AddRow(select, QStringLiteral("Courtesy Tone Select"), tones_->Combo(p));
    select->setColumnStretch(3, 1);
    layout->addLayout(select);

    static constexpr const char* kRows[4][2] = {
        {"Delay To This Segment", "ms"}, {"Duration", "ms"}, {"Tone 1", "Hz"}, {"Tone 2", "Hz"}};
    auto* segments = new QGridLayout;
    for (int s = 1; s <= kCourtesySegments; ++s) {
        auto* column = new QVBoxLayout;
        QGridLayout* grid = AddGroup(column, QStringLiteral("Segment %1").arg(s));
        // Delay s, Dur s, then the segment's two tones.
        const int numbers[4] = {s, 4 + s, 8 + 2 * s - 1, 8 + 2 * s};
        for (int row = 0; row < 4; ++row)
            AddRow(grid, QString::fromLatin1(kRows[row][0]), Narrow(FieldNumbered(numbers[row])->Edit(p)),
                   QString::fromLatin1(kRows[row][1]));
        segments->addLayout(column, (s - 1) / 2, (s - 1) % 2);
    }
    layout->addLayout(segments);
    auto* note = new QLabel(QString::fromLatin1(kNoteBelow41));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

void CourtesyEditor::Show(int port, int tone)
{
    tabs_->Select(port);
    tones_->Choose(tone, port);
}

bool CourtesyEditor::Preview()
{
    if (QWidget* focus = focusWidget(); focus && !LeaveControl(focus))
        return false;
    BusyState::Hold hold = services().busy.TryHold("Courtesy Tone Preview");
    if (!hold) {
        RefuseWhileBusy(services().busy, prompts());
        return false;
    }
    const int element = Element2(CurrentPort(), CurrentCT(CurrentPort()), kCourtesyToneCount);
    CourtesyToneValues values;
    for (const CourtesyField& f : kCourtesyFields)
        values[static_cast<std::size_t>(f.number - 1)] = Working(*FieldNumbered(f.number), element);
    // The preview cannot be stopped, and nothing may change or close the editor under it.
    OperatorInputBlock block;
    return PlayCourtesyTone(values, services().player, services().clock);
}

} // namespace vm880
