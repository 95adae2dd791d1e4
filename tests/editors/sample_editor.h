#pragma once
// A small editor built on the framework the way the real ones are: per-port number fields
// on port tabs, global fields, a custom check, lists, a check box, an option pair, one field
// that shows one courtesy tone per port at a time (record tabs and selectors), and a page of
// sequences: a message chosen by a record selector with a pick list and a word counter, a
// macro code whose empty value depends on the macro, a DTMF code shown as "No Prefix", a
// setting split over two lists with a cross-field rule, and a button that talks to the
// controller.

#include "editors/editor_base.h"
#include "base/value_checks.h"
#include "tables/dtmf_digits.h"
#include "editors/editor_layout.h"
#include "editors/setting_text.h"
#include "tables/sequence_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880::test {

class SampleEditor : public EditorBase {
public:
    explicit SampleEditor(EditorServices services, bool applyFailBox = true,
                          int ConfigModel::*pending = &ConfigModel::giTimersUnapplied,
                          FlagRule flagRule = FlagRule::ChangedByApply)
        : EditorBase(services, decl(applyFailBox, pending, flagRule))
    {
        using M = ConfigModel;
        tabs_ = &AddRecordTabs({});
        ct_ = &AddRecordSelector({.name = "CTSet", .first = 1, .last = 10, .slotCount = 3});
        message_ = &AddRecordSelector({.name = "MessageSelect", .first = 1, .last = 3});
        macro_ = &AddRecordSelector({.name = "MacroSelect", .first = 1, .last = 40});

        hang_ = &AddNumber({.number = 1,
                            .name = "HangTimer",
                            .bind = Bind(&M::HangTime, &M::HangTimeChanged),
                            .lo = 0,
                            .hi = 255,
                            .message = "Invalid Hang Timer, must be whole number between ",
                            .title = PortTitle(": Hang Timer"),
                            .from = ByTab(*tabs_)});
        fan_ = &AddNumber({.number = 2,
                           .name = "FanTimer",
                           .bind = Bind(&M::FanTime, &M::FanTimeChanged),
                           .lo = 0,
                           .hi = 255,
                           .message = "Fan Timer invalid, must be between ",
                           .title = FixedTitle("Fan Timer")});
        prefix_ = &AddText({.number = 3,
                            .name = "APPrefixSet",
                            .bind = Bind(&M::APPrefix, &M::APPrefixChanged),
                            .check = [](FieldCheck& c) -> std::optional<Refusal> {
                                if (CheckDTMFDigits(c.Value(), 1, 8) == kValid)
                                    return std::nullopt;
                                return Refusal{"Invalid prefix", "Autopatch Prefix"};
                            },
                            .area = &M::SpecialCodesChanged});
        tot_ = &AddCombo({.name = "TOTResetSet", .bind = Bind(&M::TOTReset, &M::TOTResetChanged)});
        inactivityMacro_ = &AddCombo({.name = "InActivityMacroSet",
                                      .bind = Bind(&M::InActivityMacro, &M::InActivityMacroChanged),
                                      .digits = 2});
        fanSelect_ = &AddCheck({.name = "FanSelect",
                                .bind = Bind(&M::FanSelect, &M::FanSelectChanged),
                                .caption = "All Xmt Activity"});
        idStart_ = &AddOptions({.name = "IDStartSelect",
                                .bind = Bind(&M::IDStartSelect, &M::IDStartSelectChanged),
                                .options = {{"IDCOSSelect", "On COS", "0"}, {"IDPTTSelect", "On PTT", "1"}},
                                .standing = false});
        terminatorSpeech_ = &AddCheck({.name = "TerminatorSpeech",
                                       .bind = Bind(&M::AllowTerminatorSpeech, &M::AllowTerminatorSpeechChanged),
                                       .caption = "Speak Terminator",
                                       .raisesArea = false});
        delay_ = &AddNumber({.number = 4,
                             .name = "Delay1Set",
                             .bind = Bind(&M::Delay1, &M::CTSeg1Changed),
                             .lo = 0,
                             .hi = 10000,
                             .message = "Delay invalid, must be between ",
                             .title = [](int e) { return "WhichPort " + std::to_string((e - 1) / 10 + 1) + ": Delay1"; },
                             .slotCount = 3,
                             .area = &M::CourtesyChanged,
                             .from = ByTabAndRecord(*tabs_, *ct_, 10)});
        declareSequences();

        tabs_->AddPortPages([this](int p) {
            auto* page = new QWidget;
            auto* grid = new QGridLayout(page);
            AddRow(grid, "Hang Timer", hang_->Edit(p), "1/10 seconds");
            AddRow(grid, "TOT Reset Point", tot_->Combo(p));
            AddRow(grid, "Macro To Use", inactivityMacro_->Combo(p));
            AddRow(grid, "Courtesy Tone Select", ct_->Combo(p));
            AddRow(grid, "Delay To This Segment", delay_->Edit(p));
            return page;
        });
        auto* global = new QWidget;
        auto* grid = new QGridLayout(global);
        AddRow(grid, "Fan Timer", Narrow(fan_->Edit(1)), "minutes");
        grid->addWidget(fanSelect_->CheckBox(1), grid->rowCount(), 0, 1, 3);
        grid->addWidget(terminatorSpeech_->CheckBox(1), grid->rowCount(), 0, 1, 3);
        AddRow(grid, "Prefix", prefix_->Edit(1));
        AddRow(grid, "ID Start", idStart_->Option(1, 1), "");
        grid->addWidget(idStart_->Option(1, 2), grid->rowCount(), 1);
        AddNote(grid, "Global settings");
        tabs_->AddPage(global, "Global", 0);
        tabs_->AddPage(sequencesPage(), "Sequences", 0);
        SetBody(tabs_->Widget());
    }

    int currentPort() const { return tabs_->Current(); }
    int currentCT(int port) const { return ct_->Value(port); }
    QTabWidget* tabs() const { return tabs_->Widget(); }
    void ChooseCT(int port, int ct) { ct_->Choose(ct, port); }
    RecordSelector& messages() { return *message_; }
    RecordSelector& macros() { return *macro_; }
    PickList& vocabulary() { return *vocabulary_; }
    // An action changed the model behind the editor's back.
    void ModelChangedElsewhere() { ReloadWorkingCopy(); }
    int dependentUpdates = 0;
    int copies = 0;

protected:
    void FillLists() override
    {
        static const char* tot[] = {"After COS", "After CT Seg 1", "After CT Seg 2", "After CT Seg 3",
                                    "After CT Seg 4"};
        for (int p = 1; p <= 3; ++p) {
            for (int i = 0; i < 5; ++i)
                tot_->Combo(p)->addItem(tot[i], i);
            for (int n = 1; n <= 90; ++n)
                inactivityMacro_->Combo(p)->addItem(QString::number(n), n);
        }
        for (Field* end : {subsetStart_, subsetEnd_})
            for (int n = 1; n <= 90; ++n)
                end->Combo(1)->addItem(QString::number(n), n);
        messageMacro_->SetCount(3);
    }
    void UpdateDependents() override { ++dependentUpdates; }
    std::optional<Refusal> BeforeCopy() override
    {
        if (Working(*subsetStart_, 1) <= Working(*subsetEnd_, 1))
            return std::nullopt;
        return Refusal{"Start and End must be valid macro numbers and Start must be less than or equal to End",
                       "Macro Subset", Outcome::Refuse, subsetStart_->Combo(1)};
    }
    void AfterCopy() override { ++copies; }

private:
    static EditorDecl decl(bool applyFailBox, int ConfigModel::*pending, FlagRule flagRule)
    {
        EditorDecl d = DeclFor(0);
        d.pending = pending;
        d.applyFailBox = applyFailBox;
        d.flagRule = flagRule;
        return d;
    }

    void declareSequences()
    {
        using M = ConfigModel;
        messageMacro_ = &AddText({.number = 5,
                                  .name = "MessageMacroSet",
                                  .bind = Bind(&M::MessageMacro, &M::MessageMacroChanged),
                                  .title = NumberedTitle("Message Macro "),
                                  .check = [](FieldCheck& c) -> std::optional<Refusal> {
                                      if (c.Value().find("ZERO") != Text::npos)
                                          c.Warn({"Says ZERO"}); // and goes on checking
                                      if (CheckMessageMacro(c.Value()) != kValid)
                                          return Refusal{"Invalid message"};
                                      if (CountWords(c.Value()) > 6)
                                          return Warning("A long message", "Message Length");
                                      return std::nullopt;
                                  },
                                  .slotCount = 1,
                                  .normalize = [](int, const QString& typed) { return SquashBlanks(ToSetting(typed.toUpper())); },
                                  .area = &M::MessageMacrosChanged,
                                  .blankOnFocus = Text("NONE STORED"),
                                  .onFocus = [this](int element) { focusedMessage = element; },
                                  .pickKind = "words",
                                  .from = ByRecord(*message_)});
        vocabulary_ = &AddPickList({.name = "VocabList", .kind = "words"});
        vocabulary_->Add("HELLO");
        vocabulary_->Add("ZERO");
        vocabulary_->AddSeparator("--- numbers ---");
        vocabulary_->Add("one (1)", "ONE");
        words_ = AddCounter({.name = "WordCount",
                             .kind = "words",
                             .count = [](std::string_view text) { return CountWords(text); },
                             .text = [](int n) { return QString("Words: %1").arg(n); }});
        AddDtmfCode({.number = 6,
                     .name = "MacroCodeSet",
                     .bind = Bind(&M::MacroCode, &M::MacroCodeChanged),
                     .lo = 1,
                     .hi = 8,
                     .message = "Macro Code must be 1 to 8 DTMF characters",
                     .title = NumberedTitle("Macro Code "),
                     .slotCount = 1,
                     .area = &M::MacrosChanged,
                     .emptyFor = [](int n) { return "4718" + std::to_string(n); },
                     // Its row's words: the vocabulary then serves the message box.
                     .onFocus = [this](int) { SetPickTarget("words", *messageMacro_, 1); },
                     .from = ByRecord(*macro_)},
                    false);
        AddDtmfCode({.number = 7,
                     .name = "RemoteBasePrefixSet",
                     .bind = Bind(&M::RemoteBasePrefix, &M::RemoteBasePrefixChanged),
                     .lo = 1,
                     .hi = 5,
                     .message = "Remote Base Prefix invalid, must be between ",
                     .title = FixedTitle("Remote Base Prefix"),
                     .empty = Text("0"),
                     .area = &M::RemoteBaseChanged,
                     .shown = {{"0", "No Prefix"}}},
                    true, " DTMF characters");
        const Binding subset = Bind(&M::MacroSubset, &M::MacroSubsetRangeChanged);
        subsetStart_ = &AddCombo({.name = "SubsetStart", .bind = TextSlice(subset, 0, 2), .digits = 2,
                                  .area = &M::SpecialCodesChanged});
        subsetEnd_ = &AddCombo({.name = "SubsetEnd", .bind = TextSlice(subset, 2, 2), .digits = 2,
                                .area = &M::SpecialCodesChanged});
    }

    QWidget* sequencesPage()
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        QGridLayout* message = AddGroup(column, "Message");
        AddRow(message, "Message", message_->Combo(1));
        AddRow(message, "Words", messageMacro_->Edit(1));
        message->addWidget(vocabulary_->List(), message->rowCount(), 0, 1, 3);
        message->addWidget(words_, message->rowCount(), 0);
        QGridLayout* codes = AddGroup(column, "Codes");
        AddRow(codes, "Macro", macro_->Combo(1));
        AddRow(codes, "Recall Code", Control("MacroCodeSet"));
        AddRow(codes, "Remote Base Prefix", Control("RemoteBasePrefixSet"));
        AddRow(codes, "Subset Start", subsetStart_->Combo(1));
        AddRow(codes, "Subset End", subsetEnd_->Combo(1));
        auto* send = new QPushButton("Send Now");
        send->setObjectName("SendNow");
        TalksToController(send);
        column->addWidget(send);
        return page;
    }

public:
    int focusedMessage = 0;

private:
    RecordTabs* tabs_ = nullptr;
    RecordSelector* ct_ = nullptr;
    RecordSelector* message_ = nullptr;
    RecordSelector* macro_ = nullptr;
    PickList* vocabulary_ = nullptr;
    QLabel* words_ = nullptr;
    Field* hang_ = nullptr;
    Field* fan_ = nullptr;
    Field* prefix_ = nullptr;
    Field* tot_ = nullptr;
    Field* inactivityMacro_ = nullptr;
    Field* fanSelect_ = nullptr;
    Field* idStart_ = nullptr;
    Field* terminatorSpeech_ = nullptr;
    Field* delay_ = nullptr;
    Field* messageMacro_ = nullptr;
    Field* subsetStart_ = nullptr;
    Field* subsetEnd_ = nullptr;
};

} // namespace vm880::test
