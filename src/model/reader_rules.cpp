#include "model/reader_rules.h"

#include "model/key_access.h"


namespace vm880 {

namespace {

constexpr std::string_view kAsterisks = "******************************************";

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with)
{
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(what, pos)) != std::string_view::npos; pos = hit + what.size()) {
        out.append(text.substr(pos, hit - pos));
        out.append(with);
    }
    out.append(text.substr(pos));
    return out;
}

// The number a text begins with, as VB's Val reads digits (blanks skipped).
long long leadingNumber(std::string_view text)
{
    long long v = 0;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9' || v > 1'000'000'000'000LL)
            break;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

std::string TwoDigits(const Text& value)
{
    std::string digits = std::to_string(leadingNumber(value));
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string NumericForm(const Text& value)
{
    return std::to_string(leadingNumber(value));
}

int CheckZeroOneRule(const Text& value, const ConfigModel&, int)
{
    return CheckZeroOne(value);
}

bool ReaderContext::Savable(std::string_view value)
{
    return IniDocument::ValidValue(value);
}

std::string ReaderContext::Shown(std::string_view value)
{
    std::string out;
    for (char c : value) {
        if (c == '\0')
            out += "<NUL>";
        else if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>";
        else
            out += c;
    }
    return out;
}

Text ReaderContext::Read(std::string_view section, std::string_view key)
{
    return keys.ReadSetting(section, key, model.DatFilePath);
}

void ReaderContext::Log(const std::string& message, int severity)
{
    report += "\r\n";
    report += kAsterisks;
    report += "\r\n";
    if (severity == 0) {
        report += "WARNING ONLY\r\n";
        hasWarnings = true;
    } else if (severity == 1) {
        hasErrors = true;
    }
    report += message;
    report += "\r\n";
    ++entries;
}

std::string ReaderContext::KeyOf(const KeyRule& rule, int index)
{
    if (rule.key)
        return rule.key(index);
    if (index == 0)
        return std::string(rule.name);
    return std::string(rule.name) + "(" + std::to_string(index) + ")";
}

std::string ReaderContext::Line1Of(const KeyRule& rule, int index)
{
    if (rule.label)
        return rule.label(index);
    return replaceAll(rule.line1, "{i}", std::to_string(index));
}

void ReaderContext::ApplyRule(const KeyRule& rule, int index)
{
    if (rule.step) {
        rule.step(*this, index);
        return;
    }
    const std::string key = KeyOf(rule, index);
    Text& item = rule.item(model, index);
    item = Read(rule.section, key);
    if (rule.before)
        rule.before(item, model, index);

    // A value the writer would refuse fails whatever its check says, so the file stays savable.
    const bool savable = Savable(item);
    const bool valid = savable && rule.check(item, model, index) == kValid;
    if (!valid) {
        const std::string line1 =
            rule.line1.empty() && !rule.label ? std::string(rule.section) : Line1Of(rule, index);
        std::string message = line1
            + (rule.isNotValid ? " is not valid -- DAT item: " : " not valid -- DAT item: ") + key;
        const bool wordingA = rule.wording == Wording::A;
        message += wordingA ? "\r\nValue received was " : "\r\nValue received is ";
        message += rule.bareValue ? Shown(item) : "'" + Shown(item) + "'";
        item = rule.defaultFn ? rule.defaultFn(model, index) : Text(rule.defaultText);
        if (!savable && rule.before && item.empty())
            rule.before(item, model, index); // the key's own form of an empty value
        if (!rule.line3.empty())
            message += "\r\n" + replaceAll(rule.line3, "{d}", item);
        else
            message += (wordingA ? "\r\nDefaulted to " : "\r\nValue has been defaulted to ")
                + (item.empty() && !savable ? "''" : item);
        Log(message, rule.severity);
        if (rule.areaFlag)
            model.*rule.areaFlag = kTrue;
        if (rule.itemFlag)
            rule.itemFlag(model, index) = kTrue;
    }

    switch (rule.after) {
    case After::None: break;
    case After::TwoDigits: item = TwoDigits(item); break;
    case After::TwoDigitsWhenValid:
        if (valid)
            item = TwoDigits(item);
        break;
    case After::NumericFormWhenValid:
        if (valid)
            item = NumericForm(item);
        break;
    }
    if (rule.afterFn)
        rule.afterFn(item, model, index, valid);
}

void ReaderContext::Run(std::span<const ReaderPass> passes)
{
    for (const ReaderPass& pass : passes) {
        if (!pass.count) {
            for (const KeyRule& rule : pass.rules)
                ApplyRule(rule, 0);
            continue;
        }
        const int n = pass.count(model);
        for (int i = 1; i <= n; ++i)
            for (const KeyRule& rule : pass.rules)
                ApplyRule(rule, i);
    }
}

} // namespace vm880
