#include "editors/ports/port_switches_editor.h"

#include "editors/qt_lists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string_view>

namespace vm880 {

namespace {

using M = ConfigModel;

// The check boxes of each port: "0" off, "1" on.
struct PortCheck {
    const char* name;
    const char* caption;
    PortTexts M::*value;
    PortFlags M::*flag;
};

constexpr PortCheck kPortChecks[] = {
    {"TxEnable", "Transmitter Enable", &M::TxEnable, &M::TxEnableChanged},
    {"RxEnable", "Receiver Enable", &M::RxEnable, &M::RxEnableChanged},
    {"FDup", "Repeater Mode", &M::FDup, &M::FDupChanged},
    {"DTMFEnable", "DTMF Enable", &M::DTMFEnable, &M::DTMFEnableChanged},
    {"DTMFNeedPL", "DTMF Require Tone", &M::DTMFNeedPL, &M::DTMFNeedPLChanged},
    {"DTMFMute", "DTMF Mute", &M::DTMFMute, &M::DTMFMuteChanged},
    {"DTMFCovertone", "DTMF Covertone", &M::DTMFCovertone, &M::DTMFCovertoneChanged},
    {"MonMix", "Monitor Mix", &M::MonMix, &M::MonMixChanged},
    {"Kerchunk", "Kerchunk Filter", &M::Kerchunk, &M::KerchunkChanged},
    {"SpeechOverride", "Speech Override", &M::SpeechOverride, &M::SpeechOverrideChanged},
    {"SpeechIDOverride", "Speech ID Override", &M::SpeechIDOverride, &M::SpeechIDOverrideChanged},
    {"PLID", "ON During ID/Speech", &M::CTCSSID, &M::CTCSSIDChanged},
};

// The option pairs of each port; the first button stands for "0" and is shown for any
// value but "1".
struct PortPair {
    const char* field;
    PortTexts M::*value;
    PortFlags M::*flag;
    OptionDecl off;
    OptionDecl on;
};

const PortPair kPortPairs[] = {
    {"CTCSSCT", &M::CTCSSCT, &M::CTCSSCTChanged,
     {"PLCOS", "Timer Starts After COS", "0"}, {"PLCT", "Timer Starts After CT", "1"}},
    {"PLEncodePolarity", &M::PLEncodePolarity, &M::PLEncodePolarityChanged,
     {"PLLow", "Lo", "0"}, {"PLHigh", "Hi", "1"}},
    {"COSClose", &M::COSClose, &M::COSCloseChanged,
     {"COSCloseSet", "COS", "0"}, {"PLCloseSet", "Tone", "1"}},
};

// A frame per port holding one option pair each ("Tone Encode Polarity", ...).
QGroupBox* pairFrames(const QString& title, EditorBase& editor, const char* off, const char* on)
{
    auto* frame = new QGroupBox(title);
    auto* layout = new QHBoxLayout(frame);
    for (int p = 1; p <= 3; ++p) {
        auto* port = new QGroupBox(QStringLiteral("Port %1").arg(p));
        auto* inner = new QVBoxLayout(port);
        inner->addWidget(editor.Control(off, p));
        inner->addWidget(editor.Control(on, p));
        layout->addWidget(port);
    }
    return frame;
}

} // namespace

PortSwitchesEditor::PortSwitchesEditor(EditorServices services, QWidget* parent)
    : EditorBase(services, DeclFor(10), parent)
{
    setObjectName(QStringLiteral("PortSwitches"));
    setWindowTitle(QStringLiteral("Port Switches"));

    for (const PortCheck& c : kPortChecks) {
        AddCheck({.name = c.name, .bind = Bind(c.value, c.flag), .caption = QString::fromLatin1(c.caption)});
    }
    accessMode_ = &AddCombo({.name = "AccessMode", .bind = Bind(&M::PLAccess, &M::PLAccessChanged)});
    for (const PortPair& pair : kPortPairs) {
        AddOptions({.name = pair.field, .bind = Bind(pair.value, pair.flag), .options = {pair.off, pair.on}});
    }
    // A per-port switch applied earlier and not uploaded yet keeps the file unsaved; the two
    // global settings raise the flags only when this Apply changes them.
    AddCheck({.name = "AllowTerminatorSpeechSet",
              .bind = Bind(&M::AllowTerminatorSpeech, &M::AllowTerminatorSpeechChanged),
              .caption = QStringLiteral("Allow Speech w/Terminator"),
              .standing = false});
    AddOptions({.name = "IDStartSelect",
                .bind = Bind(&M::IDStartSelect, &M::IDStartSelectChanged),
                .options = {{"IDCOSSelect", "On COS", "0"}, {"IDPTTSelect", "On PTT", "1"}},
                .standing = false});

    auto* ports = new QHBoxLayout;
    for (int p = 1; p <= 3; ++p)
        ports->addWidget(portFrame(p));

    auto* idStart = new QGroupBox(QStringLiteral("ID Timer Start"));
    auto* idLayout = new QHBoxLayout(idStart);
    idLayout->addWidget(Control("IDCOSSelect"));
    idLayout->addWidget(Control("IDPTTSelect"));
    auto* global = new QVBoxLayout;
    global->addWidget(Control("AllowTerminatorSpeechSet"));
    global->addWidget(idStart);
    global->addStretch();

    auto* lower = new QHBoxLayout;
    lower->addWidget(pairFrames(QStringLiteral("Tone Encode Polarity"), *this, "PLLow", "PLHigh"));
    lower->addWidget(pairFrames(QStringLiteral("DTMF Evaluate On Closure"), *this, "COSCloseSet", "PLCloseSet"));
    lower->addLayout(global);

    auto* body = new QVBoxLayout;
    body->addLayout(ports);
    body->addLayout(lower);
    body->addStretch();

    SetBody(body);
}

QWidget* PortSwitchesEditor::portFrame(int p)
{
    auto* frame = new QGroupBox(QStringLiteral("Port %1").arg(p));
    auto* layout = new QVBoxLayout(frame);
    auto* access = new QHBoxLayout;
    access->addWidget(new QLabel(QStringLiteral("Access Mode")));
    access->addWidget(accessMode_->Combo(p), 1);
    layout->addLayout(access);

    // Two columns of check boxes keep the three ports and the frames below them in view.
    auto* checks = new QGridLayout;
    int shown = 0;
    for (const PortCheck& c : kPortChecks) {
        if (std::string_view(c.name) == "PLID")
            continue; // under "Tone Encode Control"
        checks->addWidget(Control(c.name, p), shown % 6, shown / 6);
        ++shown;
    }
    layout->addLayout(checks);

    auto* encode = new QGroupBox(QStringLiteral("Tone Encode Control"));
    auto* encodeLayout = new QVBoxLayout(encode);
    encodeLayout->addWidget(Control("PLCOS", p));
    encodeLayout->addWidget(Control("PLCT", p));
    encodeLayout->addWidget(Control("PLID", p));
    layout->addWidget(encode);
    layout->addStretch();
    return frame;
}

void PortSwitchesEditor::FillLists()
{
    for (int p = 1; p <= 3; ++p)
        FillAccessModeList(accessMode_->Combo(p));
}

} // namespace vm880
