// The editors' lists: what each filler shows, the code each item keeps, selection by a
// stored value, and digits-only entry.

#include "editors/qt_lists.h"

#include "tables/option_tables.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include <functional>

using namespace vm880;

namespace {

struct Item {
    QString text;
    int data;
};

Item comboItem(const QComboBox& box, int i)
{
    return {box.itemText(i), box.itemData(i, Qt::UserRole).toInt()};
}

Item listItem(const QListWidget& list, int i)
{
    return {list.item(i)->text(), list.item(i)->data(Qt::UserRole).toInt()};
}

// Types each character as a key press carrying that text, as a keyboard layout would
// (QTest's own key helpers take ASCII only).
void type(QLineEdit& box, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&box, &release);
    }
}

} // namespace

TEST(QtLists, ComboFillers)
{
    struct Case {
        const char* filler;
        std::function<void(QComboBox*)> fill;
        int count;
        int index;
        const char* text;
        int data;
    };
    const Case cases[] = {
        {"FillTailMessageList", FillTailMessageList, 4, 0, "NONE", 0},
        {"FillTailMessageList", FillTailMessageList, 4, 3, "3", 3},
        {"FillTOTResetList", FillTOTResetList, 5, 4, "After CT Seg 4", 4},
        {"FillIDExtrasList", FillIDExtrasList, 12, 10, "Time  & Good M/A/E After ID", 10},
        {"FillAccessModeList", FillAccessModeList, 3, 2, "Tone Only", 2},
        {"FillRadioTypeList", FillRadioTypeList, 8, 5, "Kenwood G707", 7},
        {"FillYaesuTypeList", FillYaesuTypeList, 6, 0, "Non-Yaesu", 0},
        {"FillMeterTypeList", FillMeterTypeList, 7, 6, "Percent", 6},
        {"FillMeterAlarmTypeList", FillMeterAlarmTypeList, 3, 2, "High", 2},
        {"FillSchedHourList", FillSchedHourList, 26, 0, "Disabled", 25},
        {"FillSchedHourList", FillSchedHourList, 26, 1, "Every Hour", 99},
        {"FillSchedHourList", FillSchedHourList, 26, 2, "12 AM", 0},
        {"FillSchedHourList", FillSchedHourList, 26, 25, "11 PM", 23},
        {"FillSchedDayList", FillSchedDayList, 10, 0, "Sunday", 7},
        {"FillSchedWeekList", FillSchedWeekList, 5, 4, "5th", 5},
        {"FillCourtesyToneList", FillCourtesyToneList, 10, 9, "10", 10},
        {"FillMeterAlarmNumList", FillMeterAlarmNumList, 8, 7, "8", 8},
        {"FillMeterNumList", FillMeterNumList, 8, 0, "1", 1},
        {"FillPortList", FillPortList, 3, 2, "3", 3},
        {"FillSetPointNumList", FillSetPointNumList, 20, 19, "20", 20},
        {"FillMinuteList", FillMinuteList, 60, 0, "00", 0},
        {"FillMinuteList", FillMinuteList, 60, 9, "09", 9},
        {"FillMinuteList", FillMinuteList, 60, 59, "59", 59},
    };
    for (const Case& c : cases) {
        QComboBox box;
        c.fill(&box);
        ASSERT_EQ(box.count(), c.count) << c.filler;
        const Item item = comboItem(box, c.index);
        EXPECT_EQ(item.text.toStdString(), c.text) << c.filler << " item " << c.index;
        EXPECT_EQ(item.data, c.data) << c.filler << " item " << c.index;
    }
}

TEST(QtLists, ListFillers)
{
    struct Case {
        const char* filler;
        std::function<void(QListWidget*)> fill;
        int count;
        int index;
        const char* text;
        int data;
    };
    const Case cases[] = {
        {"FillVocabList", FillVocabList, 257, 0, "ZERO", 0},
        {"FillVocabList", FillVocabList, 257, 235, "SILENCE(PAUSE)", 235},
        {"FillVocabList", FillVocabList, 257, 236, " ", -1},
        {"FillVocabList", FillVocabList, 257, 255, "DVR19", 254},
        {"FillVocabList", FillVocabList, 257, 256, "", 0},
        {"FillCWList", FillCWList, 43, 0, "0", 0},
        {"FillCWList", FillCWList, 43, 35, "Z", 90},
        {"FillCWList", FillCWList, 43, 42, "SK", 60},
        {"FillDTMFList", FillDTMFList, 16, 9, "0", 10},
        {"FillDTMFList", FillDTMFList, 16, 15, "D", 16},
    };
    for (const Case& c : cases) {
        QListWidget list;
        c.fill(&list);
        ASSERT_EQ(list.count(), c.count) << c.filler;
        const Item item = listItem(list, c.index);
        EXPECT_EQ(item.text.toStdString(), c.text) << c.filler << " item " << c.index;
        EXPECT_EQ(item.data, c.data) << c.filler << " item " << c.index;
    }
}

TEST(QtLists, FillersAppendToWhatIsThere)
{
    QComboBox box;
    box.addItem(QStringLiteral("first"), 42);
    FillCodeList(&box, TailMessageTable);
    FillNumberList(&box, 5, 6);
    ASSERT_EQ(box.count(), 7);
    EXPECT_EQ(box.itemText(0), QStringLiteral("first"));
    EXPECT_EQ(box.itemText(1), QStringLiteral("NONE"));
    EXPECT_EQ(box.itemData(6).toInt(), 6);

    QListWidget list;
    FillCodeList(&list, AccessModeTable);
    FillCodeList(&list, AccessModeTable);
    EXPECT_EQ(list.count(), 6);
}

TEST(QtLists, PortSelectListByMode)
{
    struct Case { int mode; int count; const char* lastText; int lastData; };
    const Case cases[] = {
        {1, 7, "All Ports", 123}, {2, 8, "None", 0}, {3, 8, "None", 99}, {5, 7, "All Ports", 123},
    };
    for (const Case& c : cases) {
        QComboBox box;
        FillPortSelectList(&box, c.mode);
        ASSERT_EQ(box.count(), c.count) << "mode " << c.mode;
        const Item last = comboItem(box, box.count() - 1);
        EXPECT_EQ(last.text.toStdString(), c.lastText) << "mode " << c.mode;
        EXPECT_EQ(last.data, c.lastData) << "mode " << c.mode;
        EXPECT_EQ(comboItem(box, 3).data, 12);
    }
}

TEST(QtLists, SelectByItemData)
{
    struct Case { const char* value; int startIndex; int selected; };
    const Case cases[] = {
        {"7", 0, 7},   // "Good M/A/E Before & Time After ID"
        {"12", 3, 3},  // no item: selection stays
        {"", 3, 0},    // empty value is 0: "None Selected"
        {"007", 0, 7},
        {" 7", 0, 7},
        {"7x", 0, 7},
        {"7.5", 3, 3}, // no item holds 7.5
        {"-1", 3, 3},
        {"11", 0, 11},
    };
    for (const Case& c : cases) {
        QComboBox box;
        FillIDExtrasList(&box);
        box.setCurrentIndex(c.startIndex);
        SelectByItemData(&box, c.value);
        EXPECT_EQ(box.currentIndex(), c.selected) << '"' << c.value << '"';
    }

    QComboBox box;
    FillIDExtrasList(&box);
    SelectByItemData(&box, "7");
    EXPECT_EQ(box.currentText(), QStringLiteral("Good M/A/E Before & Time After ID"));

    QComboBox empty;
    SelectByItemData(&empty, "0");
    EXPECT_EQ(empty.currentIndex(), -1);

    // The first of two matching items wins.
    QComboBox twice;
    FillNumberList(&twice, 1, 3);
    FillNumberList(&twice, 1, 3);
    SelectByItemData(&twice, "2");
    EXPECT_EQ(twice.currentIndex(), 1);
}

TEST(QtLists, SetNumericOnlyAcceptsASCIIDigitsOnly)
{
    struct Case { QString typed; QString kept; };
    const Case cases[] = {
        {QStringLiteral("123"), QStringLiteral("123")},
        {QStringLiteral("1a2 -3.4"), QStringLiteral("1234")},
        // Arabic-Indic and full-width digits are digits to Qt, but no check accepts them.
        {QString::fromUtf8("1\xd9\xa3" "2\xef\xbc\x95"), QStringLiteral("12")},
        {QStringLiteral("+-e,"), QString()},
    };
    for (const Case& c : cases) {
        QLineEdit box;
        SetNumericOnly(&box);
        type(box, c.typed);
        EXPECT_EQ(box.text(), c.kept) << c.typed.toStdString();
    }

    // The editors call it on every change: the box keeps one validator.
    QLineEdit box;
    SetNumericOnly(&box);
    const QValidator* first = box.validator();
    SetNumericOnly(&box);
    SetNumericOnly(&box);
    EXPECT_EQ(box.validator(), first);
    EXPECT_EQ(box.findChildren<QValidator*>().size(), 1);
    type(box, QStringLiteral("4x2"));
    EXPECT_EQ(box.text(), QStringLiteral("42"));
}
