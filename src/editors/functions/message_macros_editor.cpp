#include "editors/functions/message_macros_editor.h"

#include "editors/editor_layout.h"
#include "editors/setting_text.h"
#include "link/dvr_record.h"
#include "interfaces/file_dialogs.h"
#include "tables/sequence_text.h"
#include "tables/vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

constexpr int kPerPage = 10;
constexpr int kPages = 7;

constexpr const char* kInvalidMessage =
    "Invalid Message Macro Contents or Message Macro contains 'DVR20' (not allowed in Message Macros) or "
    "Message Macro contains more than 9 words";

} // namespace

MessageMacrosEditor::MessageMacrosEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(6), parent)
{
    setObjectName(QStringLiteral("MessageMacros"));
    setWindowTitle(QStringLiteral("Message Macros"));
    messages_ = &AddText({.number = 1,
                          .name = "MessageSet",
                          .bind = Bind(&M::MessageMacro, &M::MessageMacroChanged),
                          .title = NumberedTitle("Message Macro "),
                          .check = [](FieldCheck& c) -> std::optional<Refusal> {
                              c.SetText(SquashBlanks(c.Value()));
                              if (CheckMessageMacro(c.Value()) != kValid)
                                  return Refusal{kInvalidMessage};
                              return std::nullopt;
                          },
                          .current = [this] { return current_; },
                          .upperCase = true,
                          .blankOnFocus = Text(kNoneStored),
                          .onFocus = [this](int message) { current_ = message; },
                          .pickKind = "words"});
    vocabulary_ = &AddPickList({.name = "VocabList", .kind = "words"});
    vocabulary_->AddRows(VocabularyTable);
    counter_ = AddCounter({.name = "CharCounter",
                           .kind = "words",
                           .count = [](std::string_view text) { return CountWords(text); }});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    for (int page = 0; page < kPages; ++page) {
        const int first = page * kPerPage + 1;
        tabs_->addTab(messagePage(first), QStringLiteral("%1-%2").arg(first).arg(first + kPerPage - 1));
    }
    auto* body = new QHBoxLayout;
    body->addWidget(tabs_, 1);
    body->addWidget(sideColumn());
    SetBody(body);
}

int MessageMacrosEditor::CurrentTrack() const
{
    return track_->currentData().toInt();
}

void MessageMacrosEditor::FillLists()
{
    // Without the clock option the controller keeps 40 message macros: the others are
    // neither shown nor checked nor copied.
    const int count = model().MessageMacroCount();
    messages_->SetCount(count);
    for (int page = 0; page < kPages; ++page)
        tabs_->setTabEnabled(page, page * kPerPage < count);
}

void MessageMacrosEditor::AfterLoad()
{
    tabs_->setCurrentIndex(0);
    current_ = 1;
    track_->setCurrentIndex(0);
}

void MessageMacrosEditor::LoadWav()
{
    const std::string chosen = services().dialogs.OpenFile("Wav Files (*.wav)|*.wav", "Open Wav File");
    if (chosen.empty())
        return;
    wavFile_ = chosen;
    fileLabel_->setText(FromSetting(wavFile_));
}

void MessageMacrosEditor::SendTo880()
{
    const EditorServices& s = services();
    RecordDvrTrack({s.model, s.prompts, s.busy, s.links}, s.player, s.clock, CurrentTrack(), wavFile_);
}

QWidget* MessageMacrosEditor::messagePage(int first)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int n = first; n < first + kPerPage; ++n) {
        grid->addWidget(new QLabel(QString::number(n)), n - first, 0, Qt::AlignRight);
        grid->addWidget(Control("MessageSet", n), n - first, 1);
    }
    grid->setRowStretch(kPerPage, 1);
    return page;
}

QWidget* MessageMacrosEditor::sideColumn()
{
    auto* side = new QWidget;
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Vocabulary List")));
    vocabulary_->List()->setMinimumWidth(150);
    layout->addWidget(vocabulary_->List(), 1);
    auto* counter = new QHBoxLayout;
    counter->addWidget(new QLabel(QStringLiteral("Word Counter")));
    counter->addWidget(counter_);
    counter->addStretch(1);
    layout->addLayout(counter);

    QGridLayout* dvr = AddGroup(layout, QStringLiteral("DVR Wave Record"));
    track_ = new QComboBox;
    track_->setObjectName(QStringLiteral("DVRTrackSet"));
    for (int t = 1; t <= kDvrTrackCount; ++t)
        track_->addItem(QString::number(t), t);
    AddRow(dvr, QStringLiteral("DVR Track"), Narrow(track_));
    fileLabel_ = new QLabel(QStringLiteral("(no file chosen)"));
    fileLabel_->setObjectName(QStringLiteral("WavFileName"));
    fileLabel_->setWordWrap(true);
    dvr->addWidget(fileLabel_, dvr->rowCount(), 0, 1, 3);
    auto* load = new QPushButton(QStringLiteral("&Load Wav"));
    load->setObjectName(QStringLiteral("GetFile"));
    connect(load, &QPushButton::clicked, this, [this] { LoadWav(); });
    auto* send = new QPushButton(QStringLiteral("&Send to 880"));
    send->setObjectName(QStringLiteral("SendTo880"));
    connect(send, &QPushButton::clicked, this, [this] { SendTo880(); });
    TalksToController(send);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(send);
    dvr->addLayout(buttons, dvr->rowCount(), 0, 1, 3);
    return side;
}

} // namespace vm880
