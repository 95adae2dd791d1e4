#include "editors/editor_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace vm880 {

Binding Bind(Text ConfigModel::*value, Flag ConfigModel::*flag)
{
    Binding b{1, [value](ConfigModel& m, int) -> Text& { return m.*value; }, {}};
    if (flag)
        b.flag = [flag](ConfigModel& m, int) -> Flag& { return m.*flag; };
    return b;
}

Text Binding::Read(ConfigModel& m, int element) const
{
    const Text& whole = value(m, element);
    return getPart ? getPart(whole) : whole;
}

void Binding::Write(ConfigModel& m, int element, const Text& text) const
{
    Text& whole = value(m, element);
    whole = putPart ? putPart(whole, text) : text;
}

Binding SplitPart(Binding whole, std::function<Text(const Text&)> get,
                  std::function<Text(const Text&, const Text&)> put)
{
    whole.getPart = std::move(get);
    whole.putPart = std::move(put);
    return whole;
}

Binding TextSlice(Binding whole, int first, int length, char pad)
{
    const auto at = static_cast<std::size_t>(first);
    const auto n = static_cast<std::size_t>(length);
    return SplitPart(
        std::move(whole),
        [at, n](const Text& text) { return at < text.size() ? text.substr(at, n) : Text{}; },
        [at, n, pad](const Text& text, const Text& part) {
            Text out = text;
            if (out.size() < at + n)
                out.resize(at + n, pad);
            return out.replace(at, n, part);
        });
}

TitleFn PortTitle(std::string ending)
{
    return [ending = std::move(ending)](int element) {
        return "Port " + std::to_string(element) + ending;
    };
}

TitleFn FixedTitle(std::string title)
{
    return [title = std::move(title)](int) { return title; };
}

TitleFn NumberedTitle(std::string prefix)
{
    return [prefix = std::move(prefix)](int element) { return prefix + std::to_string(element); };
}

void Field::SetCount(int count)
{
    count_ = std::clamp(count, 0, bind_.count);
}

QWidget* Field::Widget(int slot) const
{
    if (slot < 1 || slot > static_cast<int>(widgets_.size()))
        return nullptr;
    return widgets_[static_cast<std::size_t>(slot - 1)];
}

QLineEdit* Field::Edit(int slot) const
{
    return qobject_cast<QLineEdit*>(Widget(slot));
}

QComboBox* Field::Combo(int slot) const
{
    return qobject_cast<QComboBox*>(Widget(slot));
}

QCheckBox* Field::CheckBox(int slot) const
{
    return qobject_cast<QCheckBox*>(Widget(slot));
}

QRadioButton* Field::Option(int slot, int option) const
{
    if (slot < 1 || slot > static_cast<int>(options_.size()))
        return nullptr;
    const auto& buttons = options_[static_cast<std::size_t>(slot - 1)];
    if (option < 1 || option > static_cast<int>(buttons.size()))
        return nullptr;
    return qobject_cast<QRadioButton*>(buttons[static_cast<std::size_t>(option - 1)]);
}

int Field::ElementOf(int slot) const
{
    return element_ ? element_(slot) : slot;
}

int Field::SlotOf(int element) const
{
    for (int slot = 1; slot <= slotCount(); ++slot)
        if (ElementOf(slot) == element)
            return slot;
    return 0;
}

} // namespace vm880
