#include "app/tt_pad.h"

#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "tables/dtmf_digits.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <stdexcept>

namespace vm880 {

namespace {

constexpr const char* kModule = "TTPad";
constexpr int kKeySize = 56;

struct PadKey {
    const char* caption;
    int index; // the key's DTMF code as the link plays it: 0..9, 11..16
};

// Four rows of four, as on a telephone with the extra column A-D.
constexpr std::array<std::array<PadKey, 4>, 4> kKeypad = {{
    {{{"1", 1}, {"2", 2}, {"3", 3}, {"A", 13}}},
    {{{"4", 4}, {"5", 5}, {"6", 6}, {"B", 14}}},
    {{{"7", 7}, {"8", 8}, {"9", 9}, {"C", 15}}},
    {{{"*", 11}, {"0", 0}, {"#", 12}, {"D", 16}}},
}};

QString keyName(int index)
{
    return QStringLiteral("cmdNum(%1)").arg(index);
}

QPushButton* namedButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TTPad::TTPad(AppContext context, QWidget* parent) : QDialog(parent), context_(std::move(context))
{
    setObjectName(QStringLiteral("TTPad"));
    setWindowTitle(QStringLiteral("DTMF Dialer"));

    txtNum_ = new QLineEdit(this);
    txtNum_->setObjectName(QStringLiteral("txtNum"));
    txtNum_->setReadOnly(true);
    txtNum_->setFocusPolicy(Qt::NoFocus);
    QFont big = txtNum_->font();
    big.setPointSize(big.pointSize() + 6);
    txtNum_->setFont(big);

    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const PadKey& k = kKeypad[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            auto* button = namedButton(QString::fromLatin1(k.caption), keyName(k.index), this);
            button->setFixedSize(kKeySize, kKeySize);
            button->setFont(big);
            const int index = k.index;
            connect(button, &QPushButton::clicked, this, [this, index] { cmdNum_Click(index); });
            grid->addWidget(button, row, column);
        }
    }

    auto* tx = namedButton(QStringLiteral("Tx"), QStringLiteral("TxSet"), this);
    auto* rx = namedButton(QStringLiteral("Rx"), QStringLiteral("RxSet"), this);
    auto* clear = namedButton(tr("&Clear"), QStringLiteral("Clear"), this);
    auto* exit = namedButton(tr("C&lose"), QStringLiteral("Exit"), this);
    connect(tx, &QPushButton::clicked, this, [this] { TxSet_Click(); });
    connect(rx, &QPushButton::clicked, this, [this] { RxSet_Click(); });
    connect(clear, &QPushButton::clicked, txtNum_, &QLineEdit::clear);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* keying = new QHBoxLayout;
    keying->addWidget(tx);
    keying->addWidget(rx);
    auto* actions = new QHBoxLayout;
    actions->addWidget(clear);
    actions->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtNum_);
    layout->addLayout(grid);
    layout->addLayout(keying);
    layout->addLayout(actions);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The pad hears every key typed while it is active, whichever of its buttons has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

TTPad::~TTPad()
{
    try {
        releaseTransmitter();
    } catch (...) {
        // A destructor must not throw; the port layer reports its own failures.
    }
}

QPushButton* TTPad::key(int index) const
{
    return findChild<QPushButton*>(keyName(index));
}

void TTPad::cmdNum_Click(int index)
{
    const QPushButton* button = key(index);
    if (!button)
        return;
    const QString caption = button->text();
    enqueue([this, index, caption] { playKey(std::to_string(index), caption); });
}

bool TTPad::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && Form_KeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

// True when the key was a DTMF character and has been taken by the pad.
bool TTPad::Form_KeyPress(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.size() != 1 || text[0].unicode() >= 128)
        return false;
    const std::string digit(1, static_cast<char>(text[0].toUpper().unicode()));
    // Other keys (Escape, Space on a button, Tab) keep their usual meaning.
    if (DTMFDigitToCode(digit) == -1)
        return false;
    enqueue([this, digit] { playKey(digit, QString::fromLatin1(digit.c_str())); });
    return true;
}

void TTPad::playKey(const std::string& code, const QString& shown)
{
    ToneLink* link = context_.toneLink;
    bool played = false;
    try {
        played = link && link->PlayDTMFDigit(code);
    } catch (const std::exception& e) {
        // Reported here rather than by the queue, so the keyed transmitter is still mentioned
        // below; the keys waiting behind this one are dropped as after any failure.
        ReportSystemError(context_.prompts, e, kModule, "cmdNum_Click", "", "");
        pending_.clear();
    } catch (...) {
        ReportSystemError(context_.prompts, std::runtime_error("unknown failure"), kModule,
                          "cmdNum_Click", "", "");
        pending_.clear();
    }
    // The display records the keys pressed, whether or not their tones could be played.
    txtNum_->setText(txtNum_->text() + shown);
    // Without a tone a keyed transmitter sends a bare carrier; the sound error alone does not
    // say so.
    if (!played && link && link->IsKeyed() && !toldStillKeyed_) {
        toldStillKeyed_ = true;
        context_.prompts.Message(style::OkOnly + style::Exclamation, "DTMF Dialer",
                                 "No tone could be played, so nothing was sent over the air."
                                 "\r\n\r\nThe transmitter is still keyed. Press Rx to release it.");
    }
}

void TTPad::TxSet_Click()
{
    enqueue([this] {
        ToneLink* link = context_.toneLink;
        if (!link)
            return;
        if (context_.clock)
            context_.clock->SleepMs(context_.model.TxTemp);
        // The pad may have been closed during the delay; it must not key after it is gone.
        if (!closed_)
            link->KeyDTMFTransmitter(true);
    });
}

void TTPad::RxSet_Click()
{
    enqueue([this] {
        if (context_.toneLink)
            context_.toneLink->KeyDTMFTransmitter(false);
    });
}

void TTPad::enqueue(std::function<void()> action)
{
    if (closed_)
        return;
    pending_.push_back(std::move(action));
    if (busy_)
        return; // the loop below, further up the stack, runs it
    busy_ = true;
    while (!pending_.empty() && !closed_) {
        std::function<void()> next = std::move(pending_.front());
        pending_.pop_front();
        try {
            next();
        } catch (const std::exception& e) {
            ReportSystemError(context_.prompts, e, kModule, "cmdNum_Click", "", "");
            pending_.clear();
        }
    }
    busy_ = false;
}

void TTPad::done(int result)
{
    closed_ = true;
    pending_.clear();
    try {
        releaseTransmitter();
    } catch (const std::exception& e) {
        ReportSystemError(context_.prompts, e, kModule, "Exit_Click", "", "");
    }
    QDialog::done(result);
}

void TTPad::releaseTransmitter()
{
    ToneLink* link = context_.toneLink;
    if (link && link->IsKeyed())
        link->KeyDTMFTransmitter(false);
}

void ShowTTPad(const AppContext& context, QWidget* parent)
{
    TTPad pad(context, parent);
    RunModal(context, pad);
}

} // namespace vm880
