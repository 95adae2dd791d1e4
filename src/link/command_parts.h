#pragma once
// Shorthand for declaring the command catalogue's items, used only by the catalogue's tables.
// A field of the model is named by its member (`Val<&M::HangTime>()`); arrays are read at the
// step's index, courtesy tones at (port, tone), single settings as they are.

#include "link/command_catalogue.h"
#include "model/config_model.h"

namespace vm880::catalogue {

using M = ConfigModel;

inline const Text& Pick(const Text& text, const ItemRef&)
{
    return text;
}
template <int N>
const Text& Pick(const Array1<Text, N>& texts, const ItemRef& ref)
{
    return texts(ref.index);
}
inline const Text& Pick(const CourtesyTexts& texts, const ItemRef& ref)
{
    return texts(ref.port, ref.index);
}

inline Flag& PickFlag(Flag& flag, const ItemRef&)
{
    return flag;
}
template <int N>
Flag& PickFlag(Array1<Flag, N>& flags, const ItemRef& ref)
{
    return flags(ref.index);
}
inline Flag& PickFlag(CourtesyFlags& flags, const ItemRef& ref)
{
    return flags(ref.port, ref.index);
}

// The model's text `Member` at the step.
template <auto Member>
Text At(const ConfigModel& model, const ItemRef& ref)
{
    return Pick(model.*Member, ref);
}

// `Fn` passed through the converter `Convert`.
template <TextFn Fn, Text (*Convert)(std::string_view)>
Text Conv(const ConfigModel& model, const ItemRef& ref)
{
    return Convert(Fn(model, ref));
}

// The change flag `Member` at the step.
template <auto Member>
Flag& FlagOf(ConfigModel& model, const ItemRef& ref)
{
    return PickFlag(model.*Member, ref);
}

// Element `I` of the flag array `Member`, whatever the step.
template <auto Member, int I>
Flag& FlagElement(ConfigModel& model, const ItemRef&)
{
    return (model.*Member)(I);
}

inline Part Lit(std::string_view text)
{
    return {Part::Kind::Literal, text};
}

// The port number (plus `offset`), played as one key.
inline Part PortKey(int offset = 0)
{
    Part part{Part::Kind::Port};
    part.offset = offset;
    part.keys = Keys::OneKey;
    return part;
}

// The index (plus `offset`) with at least `width` digits, played digit by digit.
inline Part Num(int width = 0, int offset = 0)
{
    Part part{Part::Kind::Index};
    part.width = width;
    part.offset = offset;
    return part;
}

// The index (plus `offset`) played as one key.
inline Part NumKey(int offset = 0)
{
    Part part = Num(0, offset);
    part.keys = Keys::OneKey;
    return part;
}

// A value computed from the model, played digit by digit or as one key.
inline Part ValueOf(TextFn fn)
{
    Part part{Part::Kind::Value};
    part.value = fn;
    return part;
}
inline Part KeyOf(TextFn fn)
{
    Part part = ValueOf(fn);
    part.keys = Keys::OneKey;
    return part;
}

// A model field, played digit by digit or as one key.
template <auto Member>
Part Val()
{
    return ValueOf(&At<Member>);
}
template <auto Member>
Part Key()
{
    return KeyOf(&At<Member>);
}

// The common item: one line, one sender, chosen by and clearing one flag.
inline Item Row(std::string_view name, std::string_view sender, Prefix prefix, Command command,
                Reported reported, FlagFn flag)
{
    Item item;
    item.name = name;
    item.senders = {sender};
    item.prefix = prefix;
    item.lines = {Line{std::move(command), reported}};
    item.chosenBy = {flag};
    item.clears = {flag};
    return item;
}

inline constexpr Prefix ByPort = Prefix::Port;
inline constexpr Prefix NoPort = Prefix::One;
inline constexpr Reported LineText = Reported::Line;
inline constexpr Reported CmdText = Reported::Cmd;

// The tables of the upload, in two halves.
std::vector<Group> GroupsUpToMeters();      // groups 0 to 8
std::vector<Group> GroupsFromRemoteBase();  // groups 9 to 21

} // namespace vm880::catalogue
