#pragma once
// The tab strip of the main window and the eleven editor pages behind it, with the
// unapplied-changes guard that keeps the operator in an editor holding unapplied edits.

#include "editors/editor_services.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class QScrollArea;
class QStackedWidget;
class QTabBar;

namespace vm880 {

class EditorBase;

class EditorTabs : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<EditorBase>(int area, EditorServices)>;

    EditorTabs(EditorServices services, QWidget* parent);
    // What the editors receive (the windows they open receive it too).
    const EditorServices& services() const { return services_; }
    ~EditorTabs() override;

    QTabBar* tabBar() const { return tabBar_; }   // SSTab1
    QStackedWidget* pages() const { return pages_; }

    // The tab whose editor is in front (CurrentArea).
    int CurrentArea() const { return currentArea_; }
    // The editor of a tab; null before a file is loaded and for editors not built yet.
    EditorBase* Editor(int area) const;

    // 0 when the command may go on; 8 when the editor in front holds an unapplied edit:
    // the operator was told and that editor's tab is in front again.
    int CheckUnappliedChanges();

    // Creates and loads the editors of the loaded file.
    void ShowForms();
    // Destroys the editors, clears the model and disables the strip until the next
    // successful load.
    void UnloadForms();
    // After a load: strip enabled, first tab (Timers) in front.
    void ShowFirstTab();
    // Brings the editor of `area` forward and gives it the focus.
    void BringForward(int area);

    // Tests build their own editors.
    void SetFactory(Factory factory) { factory_ = std::move(factory); }

private:
    void tabChanged(int index);
    void putEditor(int area, EditorBase* editor);

    EditorServices services_;
    QTabBar* tabBar_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QScrollArea*, 11> scrolls_{};
    std::array<EditorBase*, 11> editors_{};
    Factory factory_;
    int currentArea_ = 0;
};

} // namespace vm880
