#include "app/editor_tabs.h"

#include "app/area_table.h"
#include "app/editor_pages.h"
#include "editors/editor_base.h"
#include "interfaces/prompts.h"

#include <QApplication>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>

namespace vm880 {

EditorTabs::EditorTabs(EditorServices services, QWidget* parent)
    : QObject(parent), services_(services), factory_(MakeEditor)
{
    tabBar_ = new QTabBar(parent);
    tabBar_->setObjectName(QStringLiteral("SSTab1"));
    // A click on a tab is not a move inside the editor: it must not take the focus away
    // from the field being edited.
    tabBar_->setFocusPolicy(Qt::NoFocus);
    tabBar_->setExpanding(false);
    pages_ = new QStackedWidget(parent);
    pages_->setObjectName(QStringLiteral("EditorPages"));
    for (int area = 0; area < kAreaCount; ++area) {
        tabBar_->addTab(QString::fromLatin1(kEditorTable[static_cast<std::size_t>(area)].caption));
        auto* scroll = new QScrollArea(pages_);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(new QWidget);
        scrolls_[static_cast<std::size_t>(area)] = scroll;
        pages_->addWidget(scroll);
    }
    connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) { tabChanged(index); });
}

EditorTabs::~EditorTabs() = default;

EditorBase* EditorTabs::Editor(int area) const
{
    if (area < 0 || area >= kAreaCount)
        return nullptr;
    return editors_[static_cast<std::size_t>(area)];
}

int EditorTabs::CheckUnappliedChanges()
{
    if (currentArea_ < 0 || currentArea_ >= kAreaCount)
        return kValid;
    const AreaInfo& area = kAreas[static_cast<std::size_t>(currentArea_)];
    if (services_.model.*kEditorTable[static_cast<std::size_t>(currentArea_)].pending == -1)
        return kValid;
    services_.prompts.Message(style::OkOnly + style::Exclamation, area.warningTitle,
                             std::string("You have unapplied ") + area.areaWord
                                 + " changes, you must either apply them or cancel them before you "
                                   "can leave the form");
    {
        QSignalBlocker block(tabBar_);
        tabBar_->setCurrentIndex(currentArea_);
    }
    BringForward(currentArea_);
    return kInvalid;
}

void EditorTabs::tabChanged(int index)
{
    // The guard looks at the editor that was in front, not at the one clicked.
    if (CheckUnappliedChanges() != kValid)
        return;
    currentArea_ = index;
    BringForward(index);
}

void EditorTabs::BringForward(int area)
{
    if (area < 0 || area >= kAreaCount)
        return;
    pages_->setCurrentIndex(area);
    EditorBase* editor = Editor(area);
    if (!editor || editor->isAncestorOf(QApplication::focusWidget()))
        return; // the operator is already at work in it: keep the field and the caret
    if (QWidget* last = editor->focusWidget())
        last->setFocus(Qt::OtherFocusReason);
    else
        editor->setFocus(Qt::OtherFocusReason);
}

void EditorTabs::putEditor(int area, EditorBase* editor)
{
    QScrollArea* scroll = scrolls_[static_cast<std::size_t>(area)];
    delete scroll->takeWidget();
    scroll->setWidget(editor ? static_cast<QWidget*>(editor) : new QWidget);
    editors_[static_cast<std::size_t>(area)] = editor;
}

void EditorTabs::ShowForms()
{
    for (int area : kShowOrder) {
        if (Editor(area))
            continue; // exists already: showing it again changes nothing
        std::unique_ptr<EditorBase> editor = factory_ ? factory_(area, services_) : nullptr;
        if (!editor)
            continue;
        editor->Load();
        putEditor(area, editor.release());
    }
}

void EditorTabs::UnloadForms()
{
    for (int area : kUnloadOrder)
        if (Editor(area))
            putEditor(area, nullptr);
    services_.model.ClearAllData();
    // No file, no editors: the strip stays off until a load succeeds, also after a failed one.
    tabBar_->setEnabled(false);
}

void EditorTabs::ShowFirstTab()
{
    tabBar_->setEnabled(true);
    tabBar_->setCurrentIndex(kTimersArea);
    currentArea_ = tabBar_->currentIndex();
    BringForward(currentArea_);
}

} // namespace vm880
