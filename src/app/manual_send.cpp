#include "app/manual_send.h"

#include "app/program_settings.h"
#include "editors/setting_text.h"
#include "link/controller_action.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"
#include "tables/dtmf_digits.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QValidator>
#include <QVBoxLayout>

#include <cctype>
#include <cmath>

namespace vm880 {

namespace {

constexpr const char* kModule = "ManualSendData";
// The controller needs a moment after the opening carriage return before the command.
constexpr std::int64_t kBeforeSendMs = 100;

bool isDTMFCharacter(QChar c)
{
    return c.unicode() < 128 && DTMFDigitToCode(std::string(1, static_cast<char>(c.unicode()))) != -1;
}

// Typed keys are filtered with a beep (see ManualSendData_KeyPress); this catches what comes
// in another way, such as a paste, so that only DTMF characters can ever reach the
// controller (a pasted carriage return would otherwise split the command in two).
class DTMFLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        for (QChar c : input)
            if (!isDTMFCharacter(c))
                return Invalid;
        return Acceptable;
    }
};

// zel.ini keeps window placements in twips, 1440 to the inch.
double twipsPerPixel()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

} // namespace

ManualSendWindow::ManualSendWindow(AppContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context))
{
    setObjectName(QStringLiteral("ManualSendData"));
    setWindowTitle(QStringLiteral("Manual Send Data To VM880"));

    auto* prompt = new QLabel(tr("Command (0-9, *, #, A-D):"), this);
    line_ = new QLineEdit(this);
    line_->setObjectName(QStringLiteral("ManualSendData"));
    line_->setValidator(new DTMFLineValidator(line_));
    line_->installEventFilter(this);
    QFont font = line_->font();
    font.setPointSize(font.pointSize() + 4);
    line_->setFont(font);
    prompt->setBuddy(line_);
    connect(line_, &QLineEdit::textChanged, this,
            [this](const QString& text) { manualText_ = ToSetting(text); });

    send_ = new QPushButton(tr("&Send"), this);
    send_->setObjectName(QStringLiteral("cmdSend"));
    send_->setAutoDefault(false);
    connect(send_, &QPushButton::clicked, this, [this] { SendManualData(); });
    close_ = new QPushButton(tr("&Close"), this);
    close_->setObjectName(QStringLiteral("Close"));
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(line_);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    Form_Load();
}

ManualSendWindow::~ManualSendWindow()
{
    try {
        Close_Click();
    } catch (...) {
        // Nothing more can be done while the window goes away.
    }
}

void ManualSendWindow::Form_Load()
{
    KeyAccess& keys = context_.keys;
    const std::string ini = ZelIniPath(context_.programFolder);
    // Each key stands on its own: a missing or damaged one is skipped.
    auto read = [&](const char* key) { return StrictNumber(keys.ReadSetting(kManualSendSection, key, ini)); };
    const double perPixel = twipsPerPixel();
    auto pixels = [perPixel](double twips) { return static_cast<int>(std::lround(twips / perPixel)); };
    constexpr double kMaxTwips = 10'000'000;

    QSize size = this->size();
    if (auto w = read("Window Width"); w && *w > 0 && *w <= kMaxTwips)
        size.setWidth(std::max(1, pixels(*w)));
    if (auto h = read("Window Height"); h && *h > 0 && *h <= kMaxTwips)
        size.setHeight(std::max(1, pixels(*h)));
    resize(size);
    const auto top = read("Window Top");
    const auto left = read("Window Left");
    if (top && left && std::fabs(*top) <= kMaxTwips && std::fabs(*left) <= kMaxTwips) {
        const QPoint position(pixels(*left), pixels(*top));
        // A place on a screen that is no longer there would hide the window.
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().intersects(QRect(position, size))) {
                move(position);
                break;
            }
        }
    }
    if (auto state = read("Window State")) {
        if (*state == 1)
            setWindowState(Qt::WindowMinimized);
        else if (*state == 2)
            setWindowState(Qt::WindowMaximized);
    }
}

bool ManualSendWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == line_ && event->type() == QEvent::KeyPress)
        return ManualSendData_KeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

// True when the key was handled here and must not reach the line.
bool ManualSendWindow::ManualSendData_KeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SendManualData();
        return true;
    }
    const QString text = event->text();
    // Backspace, editing and movement keys, shortcuts (paste, undo) and Escape work as
    // usual; the validator keeps the line to DTMF characters.
    if (text.isEmpty() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;

    for (QChar c : text) {
        const QChar upper = c.toUpper();
        if (isDTMFCharacter(upper))
            line_->insert(QString(upper));
        else
            context_.prompts.Beep();
    }
    return true;
}

void ManualSendWindow::SendManualData()
{
    // The waits below let window events run: a second Enter must not start a second send.
    if (sending_)
        return;
    ConfigModel& model = context_.model;
    const Text command = manualText_;
    // Over the cable an empty line sends nothing; over the air it still locks the
    // controller again.
    if (model.ComPort != 0 && command.empty()) {
        line_->clear();
        return;
    }
    sending_ = true;
    send_->setEnabled(false);
    try {
        RunControllerAction(ControllerActionOf(context_), {"manual send", kModule, "SendManualData"},
                            [&](ControllerAction& action) { return sendCommand(action, command); });
    } catch (const std::exception& e) {
        ReportSystemError(context_.prompts, e, kModule, "SendManualData", "", "");
    }

    line_->clear();
    manualText_.clear();
    sending_ = false;
    send_->setEnabled(true);
    if (closeRequested_) {
        closeRequested_ = false;
        reject();
    }
}

bool ManualSendWindow::sendCommand(ControllerAction& action, const Text& command)
{
    if (action.Kind() == LinkKind::Serial) {
        if (context_.clock)
            context_.clock->SleepMs(kBeforeSendMs);
        // Exactly as typed: the operator gives the port digit himself.
        LinkCommand line;
        line.line = command;
        return action.Send(line);
    }
    // The keys as typed, without a terminator: the operator ends the command himself. The
    // transmitter stays keyed until the lock code has been played; released before it, the
    // lock would never reach the controller and leave it unlocked.
    if (!command.empty()) {
        LinkCommand keys;
        keys.keys = command;
        for (char c : command)
            keys.codes.emplace_back(1, static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        if (!action.Send(keys))
            return false; // the sound failed and the operator was told; the lock would not play
    }
    return action.Lock();
}

void ManualSendWindow::done(int result)
{
    if (sending_) {
        // Closing the port under a send would spoil it; close once the send has ended. A
        // keyed wait ends at once, so the transmitter is let go without delay.
        closeRequested_ = true;
        context_.links->Current().Cancel(); // the send runs on the context's links
        return;
    }
    Close_Click();
    QDialog::done(result);
}

void ManualSendWindow::Close_Click()
{
    if (closed_)
        return;
    closed_ = true;

    const double perPixel = twipsPerPixel();
    QRect placed(pos(), size());
    if ((isMaximized() || isMinimized()) && normalGeometry().isValid())
        placed = normalGeometry();
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const std::string ini = ZelIniPath(context_.programFolder);
    try {
        context_.keys.Edit(ini, [&](IniDocument& doc) {
            doc.Set(kManualSendSection, "Window Width", NumberText(placed.width() * perPixel));
            doc.Set(kManualSendSection, "Window Height", NumberText(placed.height() * perPixel));
            doc.Set(kManualSendSection, "Window Top", NumberText(placed.top() * perPixel));
            doc.Set(kManualSendSection, "Window Left", NumberText(placed.left() * perPixel));
            doc.Set(kManualSendSection, "Window State", std::to_string(state));
        });
    } catch (const std::exception& e) {
        ReportSystemError(context_.prompts, e, kModule, "Close_Click", "", ini);
    }

    if (context_.toneLink && context_.toneLink->IsKeyed())
        context_.toneLink->KeyDTMFTransmitter(false);
    if (context_.serial && context_.serial->IsOpen())
        context_.serial->Close();
}

void ShowManualSendData(const AppContext& context, QWidget* parent)
{
    ManualSendWindow window(context, parent);
    RunModal(context, window);
}

} // namespace vm880
