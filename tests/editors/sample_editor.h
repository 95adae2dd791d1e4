#pragma once
// A small editor built on the framework the way the real ones are: per-port number
// fields on port tabs, global fields, a custom check, lists, a check box, an option pair,
// and one field that shows one courtesy tone per port at a time.

#include "editors/editor_base.h"
#include "base/value_checks.h"
#include "tables/dtmf_digits.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vm880::test {

class SampleEditor : public EditorBase {
public:
    explicit SampleEditor(EditorContext context, bool applyFailBox = true,
                          int ConfigModel::*pending = &ConfigModel::giTimersUnapplied)
        : EditorBase(context, {.pending = pending,
                               .areaFlag = &ConfigModel::TimersChanged,
                               .cancelText = "This will cancel all Timer changes made since your last "
                                             "Timer 'Apply' or Timer 'Cancel'",
                               .cancelTitle = "TIMER CANCEL CHANGES",
                               .applyFailBox = applyFailBox})
    {
        hang_ = &AddNumber({.number = 1,
                            .name = "HangTimer",
                            .bind = Bind(&ConfigModel::HangTime, &ConfigModel::HangTimeChanged),
                            .lo = 0,
                            .hi = 255,
                            .message = "Invalid Hang Timer, must be whole number between ",
                            .title = PortTitle(": Hang Timer"),
                            .current = [this] { return currentPort_; }});
        fan_ = &AddNumber({.number = 2,
                           .name = "FanTimer",
                           .bind = Bind(&ConfigModel::FanTime, &ConfigModel::FanTimeChanged),
                           .lo = 0,
                           .hi = 255,
                           .message = "Fan Timer invalid, must be between ",
                           .title = FixedTitle("Fan Timer")});
        prefix_ = &AddText({.number = 3,
                            .name = "APPrefixSet",
                            .bind = Bind(&ConfigModel::APPrefix, &ConfigModel::APPrefixChanged),
                            .check = [](FieldCheck& c) -> std::optional<Refusal> {
                                if (CheckDTMFDigits(c.Value(), 1, 8) == kValid)
                                    return std::nullopt;
                                return Refusal{"Invalid prefix", "Autopatch Prefix"};
                            },
                            .area = &ConfigModel::SpecialCodesChanged});
        tot_ = &AddCombo({.name = "TOTResetSet",
                          .bind = Bind(&ConfigModel::TOTReset, &ConfigModel::TOTResetChanged)});
        macro_ = &AddCombo({.name = "InActivityMacroSet",
                            .bind = Bind(&ConfigModel::InActivityMacro, &ConfigModel::InActivityMacroChanged),
                            .digits = 2});
        fanSelect_ = &AddCheck({.name = "FanSelect",
                                .bind = Bind(&ConfigModel::FanSelect, &ConfigModel::FanSelectChanged),
                                .caption = "All Xmt Activity"});
        idStart_ = &AddOptions({.name = "IDStartSelect",
                                .bind = Bind(&ConfigModel::IDStartSelect, &ConfigModel::IDStartSelectChanged),
                                .options = {{"IDCOSSelect", "On COS", "0"}, {"IDPTTSelect", "On PTT", "1"}}});
        delay_ = &AddNumber({.number = 4,
                             .name = "Delay1Set",
                             .bind = Bind(&ConfigModel::Delay1, &ConfigModel::CTSeg1Changed),
                             .lo = 0,
                             .hi = 10000,
                             .message = "Delay invalid, must be between ",
                             .title = [](int e) { return "WhichPort " + std::to_string((e - 1) / 10 + 1) + ": Delay1"; },
                             .slotCount = 3,
                             .element = [this](int slot) { return Element2(slot, currentCT_[slot - 1], 10); },
                             .current = [this] { return Element2(currentPort_, currentCT_[currentPort_ - 1], 10); },
                             .area = &ConfigModel::CourtesyChanged});

        tabs_ = new QTabWidget(this);
        tabs_->setObjectName("SSTab1");
        for (int p = 1; p <= 3; ++p) {
            auto* page = new QWidget;
            auto* form = new QFormLayout(page);
            form->addRow("Hang Timer", hang_->Edit(p));
            form->addRow("TOT Reset Point", tot_->Combo(p));
            form->addRow("Macro To Use", macro_->Combo(p));
            auto* ctSelect = new QComboBox;
            ctSelect->setObjectName(QString("CTSet(%1)").arg(p));
            for (int t = 1; t <= 10; ++t)
                ctSelect->addItem(QString::number(t), t);
            connect(ctSelect, &QComboBox::currentIndexChanged, this, [this, p](int index) {
                currentCT_[p - 1] = index + 1;
                ShowSlot(*delay_, p);
            });
            ctSelects_[p - 1] = ctSelect;
            form->addRow("Courtesy Tone Select", ctSelect);
            form->addRow("Delay To This Segment", delay_->Edit(p));
            tabs_->addTab(page, QString("Port %1").arg(p));
        }
        auto* global = new QWidget;
        auto* form = new QFormLayout(global);
        form->addRow("Fan Timer", fan_->Edit(1));
        form->addRow("", fanSelect_->CheckBox(1));
        form->addRow("Prefix", prefix_->Edit(1));
        form->addRow("", idStart_->Option(1, 1));
        form->addRow("", idStart_->Option(1, 2));
        tabs_->addTab(global, "Global");
        connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
            if (tab <= 2)
                currentPort_ = tab + 1;
        });

        auto* layout = new QHBoxLayout(this);
        layout->addWidget(tabs_);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(ApplyButton());
        buttons->addWidget(CancelButton());
        buttons->addStretch();
        layout->addLayout(buttons);
    }

    int currentPort() const { return currentPort_; }
    int currentCT(int port) const { return currentCT_[port - 1]; }
    QTabWidget* tabs() const { return tabs_; }
    void ChooseCT(int port, int ct) { ctSelects_[port - 1]->setCurrentIndex(ct - 1); }
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
                macro_->Combo(p)->addItem(QString::number(n), n);
        }
    }
    void AfterLoad() override
    {
        tabs_->setCurrentIndex(0);
        currentPort_ = 1;
    }
    void UpdateDependents() override { ++dependentUpdates; }
    void AfterCopy() override { ++copies; }
    void RevealElement(Field& field, int element) override
    {
        if (&field == delay_) {
            const int port = (element - 1) / 10 + 1;
            ChooseCT(port, (element - 1) % 10 + 1);
        }
        EditorBase::RevealElement(field, element);
    }

private:
    Field* hang_ = nullptr;
    Field* fan_ = nullptr;
    Field* prefix_ = nullptr;
    Field* tot_ = nullptr;
    Field* macro_ = nullptr;
    Field* fanSelect_ = nullptr;
    Field* idStart_ = nullptr;
    Field* delay_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QComboBox* ctSelects_[3] = {};
    int currentPort_ = 1;
    int currentCT_[3] = {1, 1, 1};
};

} // namespace vm880::test
