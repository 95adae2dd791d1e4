#include "tables/cw_chars.h"

#include "tables/code_lookup.h"

namespace vm880 {

constinit const std::array<CodeRow, 43> CWCharTable = {{
    {"0", "00"},
    {"1", "01"},
    {"2", "02"},
    {"3", "03"},
    {"4", "04"},
    {"5", "05"},
    {"6", "06"},
    {"7", "07"},
    {"8", "08"},
    {"9", "09"},
    {"A", "21"},
    {"B", "22"},
    {"C", "23"},
    {"D", "31"},
    {"E", "32"},
    {"F", "33"},
    {"G", "41"},
    {"H", "42"},
    {"I", "43"},
    {"J", "51"},
    {"K", "52"},
    {"L", "53"},
    {"M", "61"},
    {"N", "62"},
    {"O", "63"},
    {"P", "70"},
    {"Q", "71"},
    {"R", "72"},
    {"S", "73"},
    {"T", "81"},
    {"U", "82"},
    {"V", "83"},
    {"W", "91"},
    {"X", "92"},
    {"Y", "93"},
    {"Z", "90"},
    {"WORD_SPACE", "11"},
    {"-", "10"},
    {"/", "12"},
    {"AR", "13"},
    {",", "14"},
    {"?", "20"},
    {"SK", "60"},
}};

int CWCharIndex(std::string_view character)
{
    const Text wanted = UpperCase(TrimSpaces(character));
    if (wanted.empty())
        return -1;
    return FindRowByText(CWCharTable, wanted);
}

Text CWCharToCode(std::string_view character)
{
    const int row = CWCharIndex(character);
    return row == -1 ? Text() : Text(CWCharTable[row - 1].code);
}

Text CWCodeToChar(std::string_view code)
{
    Text wanted = UpperCase(TrimSpaces(code));
    if (wanted.empty())
        return {};
    if (wanted.size() == 1)
        wanted.insert(0, 1, '0');
    return TextForCode(CWCharTable, wanted);
}

} // namespace vm880
