#include "editors/ports/id_editor.h"

#include "base/value_checks.h"
#include "editors/editor_layout.h"
#include "editors/qt_lists.h"
#include "tables/cw_chars.h"
#include "tables/sequence_text.h"
#include "tables/vocabulary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880 {

namespace {

using M = ConfigModel;

struct Sequence {
    int number;
    const char* name;
    PortTexts M::*value;
    PortFlags M::*flag;
    const char* message;
    const char* title; // followed by the port
};

constexpr Sequence kVoiceIDs[] = {
    {1, "VoiceID1Set", &M::VoiceID1, &M::VoiceID1Changed,
     "Invalid Voice ID contents or contains more than ", "Voice ID1 Port "},
    {2, "VoiceID2Set", &M::VoiceID2, &M::VoiceID2Changed,
     "Invalid Voice ID Contents or contains more than ", "Voice ID2 Port "},
    {3, "VoiceID3Set", &M::VoiceID3, &M::VoiceID3Changed,
     "Invalid Voice ID Contents or contains more than ", "Voice ID3 Port "},
};

constexpr Sequence kCWIDs[] = {
    {4, "CWID1Set", &M::CWID1, &M::CWID1Changed, "Invalid CW ID Contents or contains more than ",
     "CW ID1 Port "},
    {5, "CWID2Set", &M::CWID2, &M::CWID2Changed, "Invalid CW ID Contents or contains more than ",
     "CW ID2 Port "},
};

TitleFn PortNumberTitle(std::string prefix)
{
    return [prefix = std::move(prefix)](int port) { return prefix + std::to_string(port); };
}

constexpr const char* kEntryMessage = "Entry must be whole number between ";

} // namespace

IDEditor::IDEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(5), parent)
{
    setObjectName(QStringLiteral("ID"));
    setWindowTitle(QStringLiteral("ID Messages"));
    tabs_ = &AddRecordTabs({});
    vocabulary_ = &AddPickList({.name = "VocabList", .kind = "words"});
    cw_ = &AddPickList({.name = "CwList", .kind = "cw"});
    declareIDs();
    declareCW();
    for (int e = 0; e < 3; ++e)
        extras_[e] = &AddCombo({.name = "ID" + std::to_string(e + 1) + "ExtrasSet",
                                .bind = e == 0   ? Bind(&M::ID1Extras, &M::ID1ExtrasChanged)
                                        : e == 1 ? Bind(&M::ID2Extras, &M::ID2ExtrasChanged)
                                                 : Bind(&M::ID3Extras, &M::ID3ExtrasChanged),
                                .area = &M::IDExtrasChanged});
    // The speech switch marks the file unsaved, but belongs to neither ID area.
    AddCheck({.name = "SpeechEnabled",
              .bind = Bind(&M::SpeechEnable, &M::SpeechEnableChanged),
              .caption = QStringLiteral("Enabled"),
              .raisesArea = false});

    vocabulary_->AddRows(VocabularyTable);
    cw_->AddRows(CWCharTable);
    const auto count = [](std::string_view text) { return CountWords(text); };
    wordCounter_ = AddCounter({.name = "CharCounter", .kind = "words", .count = count});
    cwCounter_ = AddCounter({.name = "CWCharCounter", .kind = "cw", .count = count});

    tabs_->AddPortPages([this](int p) { return portPage(p); });
    auto* body = new QHBoxLayout;
    body->addWidget(tabs_->Widget(), 1);
    body->addWidget(listColumn());
    SetBody(body);
}

void IDEditor::declareIDs()
{
    const ElementProvider port = ByTab(*tabs_);
    const auto sequenceCheck = [](const Sequence& s, int (*valid)(std::string_view), int limit,
                                  const char* unit, PickList* list) -> CheckFn {
        const std::string text = s.message + std::to_string(limit) + unit;
        return [text, valid, list](FieldCheck& c) -> std::optional<Refusal> {
            c.SetText(SquashBlanks(c.Value()));
            if (valid(c.Value()) != kValid)
                return Refusal{text};
            list->List()->setEnabled(false); // usable again when a box of its kind is entered
            return std::nullopt;
        };
    };
    for (const Sequence& s : kVoiceIDs)
        AddText({.number = s.number,
                 .name = s.name,
                 .bind = Bind(s.value, s.flag),
                 .title = PortNumberTitle(s.title),
                 .check = sequenceCheck(s, CheckVoiceID, kMaxVoiceIDWords, " words", vocabulary_),
                 .upperCase = true,
                 .onFocus = [this](int) { showKind(Kind::Words, true); },
                 .pickKind = "words",
                 .from = port});
    for (const Sequence& s : kCWIDs)
        AddText({.number = s.number,
                 .name = s.name,
                 .bind = Bind(s.value, s.flag),
                 .title = PortNumberTitle(s.title),
                 .check = sequenceCheck(s, CheckCWID, kMaxCWIDChars, " characters", cw_),
                 .upperCase = true,
                 .onFocus = [this](int) { showKind(Kind::CW, true); },
                 .pickKind = "cw",
                 .from = port});
}

void IDEditor::declareCW()
{
    const ElementProvider port = ByTab(*tabs_);
    AddNumber({.number = 6,
               .name = "CWSpeedSet",
               .bind = Bind(&M::CWSpeed, &M::CWSpeedChanged),
               .lo = 5,
               .hi = 50,
               .message = kEntryMessage,
               .title = PortNumberTitle("CW Speed Port "),
               .empty = Text("5"),
               .from = port});
    AddNumber({.number = 7,
               .name = "CWTone1Set",
               .bind = Bind(&M::CWTone1, &M::CWTone1Changed),
               .lo = 200,
               .hi = 3500,
               .message = kEntryMessage,
               .title = PortNumberTitle("CW Tone 1 Port "),
               .empty = Text("200"),
               .from = port});
    // The second tone is either off (0) or in the first tone's range.
    AddNumber({.number = 8,
               .name = "CwTone2Set",
               .bind = Bind(&M::CWTone2, &M::CWTone2Changed),
               .title = PortNumberTitle("CW Tone 2 Port "),
               .check = [](FieldCheck& c) -> std::optional<Refusal> {
                   if (CheckNumber(c.Value(), 200, 3500) == kValid || CheckNumber(c.Value(), 0, 0) == kValid)
                       return std::nullopt;
                   return Refusal{std::string(kEntryMessage) + "200 and 3500, or 0"};
               },
               .empty = Text("0"),
               .from = port});
}

void IDEditor::FillLists()
{
    for (Field* extras : extras_)
        for (int p = 1; p <= 3; ++p)
            FillIDExtrasList(extras->Combo(p));
}

void IDEditor::AfterLoad()
{
    // Neither list is usable before a box of its kind has been entered.
    showKind(Kind::Words, false);
}

void IDEditor::showKind(Kind kind, bool usable)
{
    const bool words = kind == Kind::Words;
    vocabulary_->List()->setVisible(words);
    vocabLabel_->setVisible(words);
    wordCounter_->setVisible(words);
    wordCaption_->setVisible(words);
    cw_->List()->setVisible(!words);
    cwLabel_->setVisible(!words);
    cwCounter_->setVisible(!words);
    cwCaption_->setVisible(!words);
    vocabulary_->List()->setEnabled(words && usable);
    cw_->List()->setEnabled(!words && usable);
}

QWidget* IDEditor::portPage(int p)
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    QGridLayout* voice = AddGroup(column, QStringLiteral("Voice IDs"));
    for (int n = 1; n <= 3; ++n)
        AddRow(voice, QStringLiteral("Voice ID %1").arg(n), Control("VoiceID" + std::to_string(n) + "Set", p));
    QGridLayout* cw = AddGroup(column, QStringLiteral("CW IDs"));
    AddRow(cw, QStringLiteral("CW ID 1"), Control("CWID1Set", p));
    AddRow(cw, QStringLiteral("CW ID 2"), Control("CWID2Set", p));
    AddRow(cw, QStringLiteral("CW Speed"), Narrow(Control("CWSpeedSet", p)), QStringLiteral("WPM"));
    AddRow(cw, QStringLiteral("CW Tone 1"), Narrow(Control("CWTone1Set", p)), QStringLiteral("Hz"));
    AddRow(cw, QStringLiteral("CW Tone 2"), Narrow(Control("CwTone2Set", p)), QStringLiteral("Hz"));
    auto* lower = new QHBoxLayout;
    QGridLayout* speech = AddGroup(lower, QStringLiteral("Speech IDs"));
    speech->addWidget(Control("SpeechEnabled", p), 0, 0);
    QGridLayout* extras = AddGroup(lower, QStringLiteral("ID Extras"));
    for (int n = 1; n <= 3; ++n)
        AddRow(extras, QStringLiteral("Voice ID %1").arg(n), extras_[n - 1]->Combo(p));
    column->addLayout(lower);
    column->addStretch(1);
    return page;
}

QWidget* IDEditor::listColumn()
{
    auto* side = new QWidget;
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    vocabLabel_ = new QLabel(QStringLiteral("Vocabulary List"));
    vocabLabel_->setObjectName(QStringLiteral("VocabLabel"));
    cwLabel_ = new QLabel(QStringLiteral("CW List"));
    cwLabel_->setObjectName(QStringLiteral("CwLabel"));
    layout->addWidget(vocabLabel_);
    layout->addWidget(vocabulary_->List(), 1);
    layout->addWidget(cwLabel_);
    layout->addWidget(cw_->List(), 1);
    for (QListWidget* list : {vocabulary_->List(), cw_->List()})
        list->setMinimumWidth(150);
    layout->addWidget(new QLabel(QStringLiteral("Character Counter")));
    auto* counter = new QHBoxLayout;
    counter->addWidget(wordCounter_);
    counter->addWidget(cwCounter_);
    wordCaption_ = new QLabel(QStringLiteral("Words  (max 22)"));
    wordCaption_->setObjectName(QStringLiteral("WordCharLabel"));
    cwCaption_ = new QLabel(QStringLiteral("CW Characters (max 15)"));
    cwCaption_->setObjectName(QStringLiteral("CWCharLabel"));
    counter->addWidget(wordCaption_);
    counter->addWidget(cwCaption_);
    counter->addStretch(1);
    layout->addLayout(counter);
    return side;
}

} // namespace vm880
