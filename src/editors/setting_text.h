#pragma once
// Conversions between the model's settings texts (8-bit, Latin-1) and what the windows show.

#include "model/types.h"

#include <QString>

#include <string_view>

namespace vm880 {

inline QString FromSetting(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text ToSetting(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The numeric value of a setting's text as the lists, switches and program settings read it:
// leading blanks skipped, an optional sign, then the digits up to the first other
// character; 0 when there are none.
long LeadingWholeNumber(std::string_view text);

} // namespace vm880
