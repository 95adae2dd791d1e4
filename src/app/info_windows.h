#pragma once
// The small fixed windows: the splash window shown at start, About, the company
// information and the download progress window.

#include <QDialog>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vm880 {

struct ConfigModel;

// The program's logo, drawn.
QPixmap LogoPixmap(int size);

// Shown first; after 2000 ms it reports `timeUp` once (the start-up then opens the main window).
class Splash : public QWidget {
    Q_OBJECT
public:
    explicit Splash(QWidget* parent = nullptr);
    QTimer* timer() const { return timer_; }

signals:
    void timeUp();

private:
    QTimer* timer_ = nullptr;
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

class CompanyWindow : public QDialog {
    Q_OBJECT
public:
    explicit CompanyWindow(QWidget* parent = nullptr);
};

// The download's progress window; its Cancel button ("&Escape") raises CancelDownload,
// which the download loops poll.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(ConfigModel& model, QWidget* parent = nullptr);

    QProgressBar* ProgressBar1() const { return progressBar_; }
    // The labels the download shows and hides, by their text.
    QLabel* Label(const QString& text) const;

private:
    ConfigModel& model_;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace vm880
