#include "app/update_window.h"

#include "app/program_settings.h"
#include "link/serial_link.h"
#include "link/upload_session.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>
#include <stdexcept>

namespace vm880 {

namespace {

constexpr const char* kSection = "Update";
constexpr const char* kUpdateErrorTitle = "Controller Update Error";
constexpr const char* kVersionTitle = "VERSION DIFFERENCE";

// zel.ini keeps window placements in twips, 1440 to the inch.
double twipsPerPixel()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

UploadContext uploadContext(const AppContext& c)
{
    if (!c.clock || !c.serialLink || !c.toneLink)
        throw std::logic_error("the upload window needs the clock and both controller links");
    return {c.model, c.prompts, c.keys, *c.clock, *c.serialLink, *c.toneLink};
}

QString percentText(int percent)
{
    return QStringLiteral("%1% Complete").arg(percent);
}

} // namespace

UpdateWindow::UpdateWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), busy_(context.busy ? *context.busy : ownBusy_),
      engine_(uploadContext(context))
{
    setObjectName(QStringLiteral("Update"));
    setWindowTitle(QString::fromLatin1(upload_text::kWindowCaption));

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    complete_ = button("Complete", tr("&Send Complete Config"));
    update_ = button("Update", tr("&Update Changes Only"));
    interrupt_ = button("Interrupt", tr("&Interrupt Upload"));
    close_ = button("Close", tr("&Close"));
    progressLabel_ = new QLabel(tr("Upload Progress"), this);
    progressLabel_->setObjectName(QStringLiteral("ProgressLabel"));
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setTextVisible(false);
    percentProgress_ = new QLabel(percentText(0), this);
    percentProgress_->setObjectName(QStringLiteral("PercentProgress"));
    percentProgress_->setAlignment(Qt::AlignCenter);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {complete_, update_, interrupt_, close_})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addSpacing(12);
    layout->addWidget(progressLabel_);
    layout->addWidget(progressBar_);
    layout->addWidget(percentProgress_);
    layout->addStretch();
    resize(520, 170);

    connect(complete_, &QPushButton::clicked, this, [this] { Complete_Click(); });
    connect(update_, &QPushButton::clicked, this, [this] { Update_Click(); });
    connect(interrupt_, &QPushButton::clicked, this, [this] { Interrupt_Click(); });
    connect(close_, &QPushButton::clicked, this, [this] { Close_Click(); });

    Form_Load();
}

UpdateWindow::~UpdateWindow() = default;

std::string UpdateWindow::zelIni() const
{
    return ZelIniPath(context_.programFolder);
}

void UpdateWindow::Form_Load()
{
    showProgress(false);
    setUploading(false);

    // A missing or damaged key keeps the designed size and place.
    auto read = [this](const char* key) {
        return StrictNumber(context_.keys.ReadSetting(kSection, key, zelIni()));
    };
    const double perPixel = twipsPerPixel();
    auto pixels = [perPixel](double twips) { return static_cast<int>(std::lround(twips / perPixel)); };
    const auto width = read("Window Width"), height = read("Window Height");
    if (width && height && *width > 0 && *height > 0)
        resize(std::max(1, pixels(*width)), std::max(1, pixels(*height)));
    const auto top = read("Window Top"), left = read("Window Left");
    if (top && left) {
        const QPoint position(pixels(*left), pixels(*top));
        // A place on a screen that is no longer there would hide the window.
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().intersects(QRect(position, size()))) {
                move(position);
                break;
            }
        }
    }
    const auto state = read("Window State");
    if (state && *state == 1)
        setWindowState(Qt::WindowMinimized);
    else if (state && *state == 2)
        setWindowState(Qt::WindowMaximized);
}

void UpdateWindow::showProgress(bool visible)
{
    progressLabel_->setVisible(visible);
    progressBar_->setVisible(visible);
    percentProgress_->setVisible(visible);
}

bool UpdateWindow::setUploading(bool on)
{
    if (on && !hold_) {
        hold_ = busy_.TryHold("upload");
        if (!hold_) {
            RefuseWhileBusy(busy_, context_.prompts);
            return false;
        }
    } else if (!on) {
        hold_.Release();
    }
    complete_->setEnabled(!on);
    update_->setEnabled(!on);
    close_->setEnabled(!on);
    interrupt_->setEnabled(on && !interruptAsked_);
    return true;
}

void UpdateWindow::finish()
{
    QDialog::done(QDialog::Accepted);
}

void UpdateWindow::Complete_Click()
{
    if (uploading() || !setUploading(true))
        return;
    UpdateStepTotal = UploadStepTotal(context_.model);
    percentProgress_->setText(percentText(UpdatePercent));
    showProgress(true);
    progressBar_->setMaximum(UpdateStepTotal + 1);
    progressBar_->setValue(progressBar_->minimum());

    SendCompleteConfig(engine_, *this);
    setUploading(false);
    finish();
}

void UpdateWindow::Update_Click()
{
    if (uploading() || !setUploading(true))
        return;
    // An upload of changes shows no progress.
    showProgress(false);
    progressBar_->setValue(progressBar_->minimum());

    UpdateChangesOnly(engine_, *this);
    setUploading(false);
    finish();
}

void UpdateWindow::Interrupt_Click()
{
    if (!uploading() || interruptAsked_)
        return;
    if (!ConfirmInterrupt(context_.model, context_.prompts))
        return;
    // Over the radio link a keyed wait ends now and the transmitter is let go; over the cable
    // the item in progress is finished first.
    engine_.Cancel();
    // The window closes once the item in progress is finished and the upload has said so.
    interruptAsked_ = true;
    setUploading(true);
    progressBar_->setValue(progressBar_->minimum());
    percentProgress_->setText(percentText(0));
}

void UpdateWindow::Close_Click()
{
    if (uploading()) {
        Interrupt_Click();
        return;
    }
    ConfigModel& model = context_.model;
    model.transfer.UpdateInterrupted = kFalse;
    if (model.transfer.PortOpenFailed == kFalse) {
        const double perPixel = twipsPerPixel();
        QRect placed(pos(), size());
        if ((isMaximized() || isMinimized()) && normalGeometry().isValid())
            placed = normalGeometry();
        const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
        try {
            context_.keys.Edit(zelIni(), [&](IniDocument& doc) {
                doc.Set(kSection, "Window Width", NumberText(placed.width() * perPixel));
                doc.Set(kSection, "Window Height", NumberText(placed.height() * perPixel));
                doc.Set(kSection, "Window Top", NumberText(placed.top() * perPixel));
                doc.Set(kSection, "Window Left", NumberText(placed.left() * perPixel));
                doc.Set(kSection, "Window State", std::to_string(state));
            });
        } catch (const std::exception& e) {
            ReportSystemError(context_.prompts, e, "Update", "Close_Click", "", zelIni());
        }
    }
    if (context_.serial && context_.serial->IsOpen())
        context_.serial->Close();
    finish();
}

void UpdateWindow::done(int)
{
    // The title bar's close button and Escape come here.
    Close_Click();
}

void UpdateWindow::StepProgress()
{
    if (UpdateStepTotal == 0 || interruptAsked_)
        return;
    if (progressBar_->maximum() > progressBar_->value())
        progressBar_->setValue(progressBar_->value() + 1);
    UpdatePercent = UploadPercent(progressBar_->value(), UpdateStepTotal);
    percentProgress_->setText(percentText(UpdatePercent));
}

void UpdateWindow::ResetProgress()
{
    progressBar_->setValue(0);
    showProgress(false);
    percentProgress_->setText(percentText(0));
}

// ---- The main window's upload command

bool ConfirmUploadFirmwareVersion(const ConfigModel& model, Prompts& prompts)
{
    const Text& file = model.FirmwareVersion;
    const Text& program = model.ProgramVersion;
    if (!file.empty() && file.rfind(program, 0) == 0)
        return true;
    std::string text;
    int icon = style::Question;
    if (file.empty()) {
        text = "The Firmware version is not defined\r\nThis Zel is for Firmware version: " +
               program +
               "xx\r\n\r\nUploading a DAT file for one version of the firmware with Zel for a "
               "different version can create errors in your data";
    } else {
        icon = style::Critical;
        text = "This version of Zel is for use with Firmware version " + program +
               "xx\r\nThis DAT file is for Firmware version " + file +
               "\r\n\r\nThis version of the Zel is NOT consistent with the Firmware version of "
               "the DAT file\r\nUploading the DAT file with this version of the Zel could create "
               "errors in your controller";
    }
    text += "\r\n\r\nDo you wish to proceed anyway?\r\nYES to proceed\r\nNO to cancel upload";
    return prompts.Message(style::YesNo + icon + style::DefaultButton2, kVersionTitle, text) ==
           Answer::Yes;
}

void mnuVM880Upload_Click(const AppContext& context, QWidget* parent)
{
    ConfigModel& model = context.model;
    if (model.DatFileLoaded == kFalse) {
        context.prompts.Message(style::OkOnly + style::Exclamation, kUpdateErrorTitle,
                                "You do not have a DAT file open to be loaded to the controller");
        return;
    }
    if (!ConfirmUploadFirmwareVersion(model, context.prompts))
        return;
    try {
        UpdateWindow window(context, parent);
        RunModal(context, window);
    } catch (const std::exception& e) {
        ReportSystemError(context.prompts, e, "ZelMain", "mnuVM880Upload_Click", "", "");
    }
}

} // namespace vm880
