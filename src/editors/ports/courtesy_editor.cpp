#include "editors/ports/courtesy_editor.h"

#include "editors/ports/courtesy_tone.h"
#include "platform/qt_lists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr const char* kNoteBelow41 = "Note: Setting Segment 1, Tone 1 to less than 41 will cause "
                                     "VM880 to use Message Macro 1 - 40 for Courtesy Tone";
constexpr const char* kAllTones = "All Ports/All Courtesy Tones";

int portOf(int element) { return (element - 1) / kCourtesyToneCount + 1; }

} // namespace

CourtesyEditor::CourtesyEditor(EditorContext context, QWidget* parent)
    : EditorBase(context,
                 {.pending = &M::giCourtesyUnapplied,
                  .areaFlag = &M::CourtesyChanged,
                  .cancelText = "This will cancel all Courtesy Tone changes made since your last "
                                "Courtesy Tone 'Apply' or Courtesy Tone 'Cancel Changes'",
                  .cancelTitle = "COURTESY TONE CANCEL CHANGES"},
                 parent)
{
    setObjectName(QStringLiteral("Courtesy"));
    setWindowTitle(QStringLiteral("Courtesy Tones"));
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
                   .element = [this](int port) { return shownElement(port); },
                   .current = [this] { return shownElement(currentPort_); }});
    }

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    for (int p = 1; p <= kCourtesyPorts; ++p)
        tabs_->addTab(portPage(p), QStringLiteral("Port %1").arg(p));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab >= 0)
            currentPort_ = tab + 1;
    });

    auto* preview = new QPushButton(QStringLiteral("&Preview"), this);
    preview->setObjectName(QStringLiteral("Preview"));
    // The box being edited keeps the focus, so its check runs here, before anything sounds.
    preview->setFocusPolicy(Qt::NoFocus);
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabs_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ApplyButton());
    buttons->addWidget(new QLabel(QString::fromLatin1(kAllTones)));
    buttons->addWidget(CancelButton());
    buttons->addWidget(new QLabel(QString::fromLatin1(kAllTones)));
    buttons->addWidget(preview);
    buttons->addStretch();
    layout->addLayout(buttons);
}

int CourtesyEditor::shownElement(int port) const
{
    return Element2(port, CurrentCT(port), kCourtesyToneCount);
}

QWidget* CourtesyEditor::portPage(int p)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* select = new QHBoxLayout;
    auto* selector = new QComboBox;
    selector->setObjectName(QStringLiteral("CTSet(%1)").arg(p));
    selectors_[static_cast<std::size_t>(p - 1)] = selector;
    connect(selector, &QComboBox::currentIndexChanged, this, [this, p, selector](int index) {
        if (index >= 0)
            chooseTone(p, selector->itemData(index).toInt());
    });
    select->addWidget(new QLabel(QStringLiteral("Courtesy Tone Select")));
    select->addWidget(selector);
    select->addStretch();
    layout->addLayout(select);

    auto* segments = new QGridLayout;
    static constexpr const char* kRows[4][2] = {
        {"Delay To This Segment", "ms"}, {"Duration", "ms"}, {"Tone 1", "Hz"}, {"Tone 2", "Hz"}};
    for (int s = 1; s <= kCourtesySegments; ++s) {
        auto* frame = new QGroupBox(QStringLiteral("Segment %1").arg(s));
        auto* grid = new QGridLayout(frame);
        // Delay s, Dur s, then the segment's two tones.
        const int numbers[4] = {s, 4 + s, 8 + 2 * s - 1, 8 + 2 * s};
        for (int row = 0; row < 4; ++row) {
            auto* edit = FieldNumbered(numbers[row])->Edit(p);
            edit->setMaximumWidth(80);
            grid->addWidget(new QLabel(QString::fromLatin1(kRows[row][0])), row, 0);
            grid->addWidget(edit, row, 1);
            grid->addWidget(new QLabel(QString::fromLatin1(kRows[row][1])), row, 2);
        }
        segments->addWidget(frame, (s - 1) / 2, (s - 1) % 2);
    }
    layout->addLayout(segments);

    auto* note = new QLabel(QString::fromLatin1(kNoteBelow41));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

void CourtesyEditor::FillLists()
{
    for (QComboBox* selector : selectors_) {
        QSignalBlocker block(selector);
        FillCourtesyToneList(selector);
    }
}

void CourtesyEditor::AfterLoad()
{
    for (int p = 1; p <= kCourtesyPorts; ++p) {
        currentCT_[static_cast<std::size_t>(p - 1)] = 1;
        QSignalBlocker block(ToneSelect(p));
        ToneSelect(p)->setCurrentIndex(0);
    }
    tabs_->setCurrentIndex(0);
    currentPort_ = 1;
    for (const auto& field : fields()) // tone 1 of every port
        ShowField(*field);
}

void CourtesyEditor::chooseTone(int port, int tone)
{
    currentCT_[static_cast<std::size_t>(port - 1)] = tone;
    // Showing another tone is browsing: the pending state stays as it was.
    for (const auto& field : fields())
        ShowSlot(*field, port);
}

void CourtesyEditor::AfterCopy()
{
    // A segment applied earlier and not uploaded yet keeps the file unsaved, even when this
    // Apply changed nothing.
    for (const auto& field : fields()) {
        if (AnyFlagRaised(*field)) {
            model().CourtesyChanged = kTrue;
            model().DatFileSaved = kFalse;
            return;
        }
    }
}

bool CourtesyEditor::Preview()
{
    // The box being edited is checked first, as leaving it would; a refused value plays nothing.
    if (QWidget* focus = focusWidget(); focus && !LeaveControl(focus))
        return false;
    CourtesyToneValues values;
    const int element = shownElement(currentPort_);
    for (const CourtesyField& f : kCourtesyFields)
        values[static_cast<std::size_t>(f.number - 1)] = Working(*FieldNumbered(f.number), element);
    return false; // played once the editor services carry the sound card and the clock
}

} // namespace vm880
