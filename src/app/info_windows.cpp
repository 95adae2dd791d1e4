#include "app/info_windows.h"

#include "app/startup.h"
#include "app/version.h"
#include "model/config_model.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vm880 {

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* logoLabel(int size, QWidget* parent)
{
    auto* logo = new QLabel(parent);
    logo->setObjectName(QStringLiteral("picLogo"));
    logo->setPixmap(LogoPixmap(size));
    return logo;
}

} // namespace

QPixmap LogoPixmap(int size)
{
    // A mast with radio waves on both sides, in the colours of the toolbar icons.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(30, 70, 140), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 20), QPointF(22, 58));
    p.drawLine(QPointF(32, 20), QPointF(42, 58));
    p.drawLine(QPointF(26, 44), QPointF(38, 44));
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(32, 18), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int r : {10, 17}) {
        p.drawArc(QRectF(32 - r, 18 - r, 2 * r, 2 * r), 150 * 16, 60 * 16);
        p.drawArc(QRectF(32 - r, 18 - r, 2 * r, 2 * r), -30 * 16, 60 * 16);
    }
    return pixmap;
}

Splash::Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(245, 247, 252));
    setPalette(pal);

    auto* product = namedLabel(QStringLiteral("lblProductName"), QString::fromLatin1(kProgramTitle), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    product->setFont(big);
    auto* companyProduct = namedLabel(QStringLiteral("lblCompanyProduct"), QStringLiteral("VM880 Programmer"), this);
    QFont medium = companyProduct->font();
    medium.setPointSize(medium.pointSize() + 4);
    companyProduct->setFont(medium);
    auto* version = namedLabel(QStringLiteral("lblVersion"), QString::fromStdString(VersionLabel()), this);
    auto* platform = namedLabel(QStringLiteral("lblPlatform"), QStringLiteral("2000/XP/Vista/Win7"), this);

    auto* text = new QVBoxLayout;
    text->addWidget(companyProduct);
    text->addWidget(product);
    text->addSpacing(12);
    text->addWidget(version);
    text->addWidget(platform);
    text->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 24, 32, 24);
    layout->addWidget(logoLabel(128, this), 0, Qt::AlignTop);
    layout->addSpacing(16);
    layout->addLayout(text);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(2000);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Splash::timeUp);
    timer_->start();
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(tr("About"));
    auto* product = namedLabel(QStringLiteral("lblProductName"),
                               QString::fromLatin1(kProgramTitle) + QStringLiteral(" VM880 Programmer"), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    product->setFont(big);
    auto* version = namedLabel(QStringLiteral("lblVersion"), QString::fromStdString(VersionLabel()), this);
    auto* description = namedLabel(QStringLiteral("lblDescription"),
                                   tr("Keeps the configuration of a VM880 repeater controller, edits it,\n"
                                      "sends it to the controller and reads the controller's memory back."),
                                   this);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(logoLabel(64, this), 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

CompanyWindow::CompanyWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Company"));
    setWindowTitle(tr("Company Information"));
    auto* text = namedLabel(QStringLiteral("lblCompany"),
                            tr("VM880 Programmer\n\n"
                               "Programming software for the VM880 three-port repeater controller.\n\n"
                               "For support, keep the version number shown in the About window\n"
                               "and the file error.log of the program folder at hand."),
                            this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

ProgressWindow::ProgressWindow(ConfigModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("ProgressBar"));
    setWindowTitle(QStringLiteral("Download From VM-880"));
    auto* layout = new QVBoxLayout(this);
    for (const char* text : {"Please Wait", "Downloading Data", "Decoding Controller Data",
                             "Decoding RTC Data", "Decoding Autopatch Data"}) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    layout->addWidget(progressBar_);
    cancel_ = new QPushButton(tr("&Escape"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    connect(cancel_, &QPushButton::clicked, this, [this] { model_.transfer.CancelDownload = kTrue; });
    layout->addWidget(cancel_, 0, Qt::AlignCenter);
}

QLabel* ProgressWindow::Label(const QString& text) const
{
    for (QLabel* label : findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

} // namespace vm880
