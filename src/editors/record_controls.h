#pragma once
// Controls that choose what an editor shows without changing anything: the record selector
// (a number list choosing the courtesy tone, set point, memory, ... a group of fields shows)
// and the record tabs (the tab in front chooses the port or meter). Switching shows the
// working copy of the chosen record and leaves the pending state alone. Fields say how their
// element follows these controls with an ElementProvider (ByTab, ByRecord, ByTabAndRecord).
//
// Also the pick list (a list whose double-click inserts its item at the caret of the box of
// its kind that had the focus last) and its counter label.

#include "editors/editor_field.h"
#include "tables/code_table.h"
#include "tables/sequence_text.h"

#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QTabWidget;

namespace vm880 {

struct RecordSelectorDecl {
    std::string name{};          // control name; one per slot: Name(1) .. Name(n)
    int first = 1;               // records first..last, item text and data the number
    int last = 1;
    int slotCount = 1;           // one selector per port tab, or one for the window
};

class RecordSelector {
public:
    // The record the selector of `slot` shows.
    int Value(int slot = 1) const;
    // Shows record `record` in the selector of `slot`, as the operator choosing it does.
    void Choose(int record, int slot = 1);
    QComboBox* Combo(int slot = 1) const;
    int first() const { return first_; }

private:
    friend class EditorBase;
    std::vector<QComboBox*> combos_;
    int first_ = 1;
};

struct RecordTabsDecl {
    std::string name = "SSTab1";
};

class RecordTabs {
public:
    // Adds a page; `record` 0 for a page that shows no single record ("Global"): choosing it
    // keeps the current record.
    void AddPage(QWidget* page, const QString& caption, int record);
    // "Port 1" .. "Port n", records 1..n, each page built by `page`.
    void AddPortPages(const std::function<QWidget*(int port)>& page, int ports = 3);
    // The record of the page in front, or of the last one shown when that page has none.
    int Current() const { return current_; }
    // Brings the page of `record` to the front.
    void Select(int record);
    // The record of the page that holds `widget`; 0 when no page of these tabs holds it or
    // its page shows no single record.
    int RecordOf(const QWidget* widget) const;
    QTabWidget* Widget() const { return tabs_; }

private:
    friend class EditorBase;
    QTabWidget* tabs_ = nullptr;
    std::vector<int> records_;
    int current_ = 1;
};

// A slot per page (port pages): slot p shows element p; Apply checks the tab's element.
ElementProvider ByTab(RecordTabs& tabs);
// One set of controls showing the record of the page in front (meter tabs).
ElementProvider ShownByTab(RecordTabs& tabs);
// One set of controls showing the selector's record.
ElementProvider ByRecord(RecordSelector& selector);
// A slot per page, each with its selector: element Element2(page, record, perPage).
ElementProvider ByTabAndRecord(RecordTabs& tabs, RecordSelector& selector, int perPage);

struct PickListDecl {
    std::string name{};
    std::string kind{}; // serves the boxes of this pickKind
    // Puts the picked item into the box; default InsertWordAtCaret.
    std::function<void(CaretText& box, std::string_view item)> insert{};
};

class PickList {
public:
    // A row that inserts `item` (its text when empty).
    void Add(const QString& text, const QString& item = {});
    // A heading row that inserts nothing.
    void AddSeparator(const QString& text);
    // A row per entry of a code table, in table order: code "-1" marks a separator row,
    // an entry without text is left out.
    void AddRows(CodeTable table);
    QListWidget* List() const { return list_; }

private:
    friend class EditorBase;
    QListWidget* list_ = nullptr;
    PickListDecl decl_;
};

struct CounterDecl {
    std::string name{};
    std::string kind{}; // counts the box of this pickKind that had the focus last
    std::function<int(std::string_view text)> count{};
    std::function<QString(int count)> text{}; // default: the number
};

} // namespace vm880
