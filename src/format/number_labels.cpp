#include "format/number_labels.h"

#include <cstring>

namespace {

std::string Letters(int64_t value, char first) {
    // a..z, then aa..zz, aaa..: the letter repeats, as word processors write it.
    if (value <= 0) return std::string();
    const int64_t repeat = (value - 1) / 26 + 1;
    return std::string(static_cast<size_t>(repeat > 64 ? 64 : repeat), static_cast<char>(first + (value - 1) % 26));
}

std::string Roman(int64_t value, bool upper) {
    if (value <= 0 || value >= 4000) return std::to_string(value);
    static const struct {
        int64_t value;
        const char* text;
    } kDigits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                   {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string text;
    for (const auto& digit : kDigits)
        for (; value >= digit.value; value -= digit.value) text += digit.text;
    if (upper)
        for (char& c : text) c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

std::string NumberLabel_Format(int64_t value, const std::string& numFmt) {
    if (numFmt == "bullet" || numFmt == "none") return std::string();
    if (numFmt == "lowerLetter") return Letters(value, 'a');
    if (numFmt == "upperLetter") return Letters(value, 'A');
    if (numFmt == "lowerRoman") return Roman(value, false);
    if (numFmt == "upperRoman") return Roman(value, true);
    if (numFmt == "decimalZero" && value >= 0 && value < 10) return "0" + std::to_string(value);
    return std::to_string(value);
}

std::string NumberLabel_Bullet(const std::string& levelText) {
    static const struct {
        const char* symbol;
        const char* shown;
    } kSymbols[] = {
        {"\xEF\x82\xB7", "\xE2\x80\xA2"},  // U+F0B7: bullet
        {"\xEF\x82\xA7", "\xE2\x96\xAA"},  // U+F0A7: small square
        {"\xEF\x81\xB6", "\xE2\x9D\x96"},  // U+F076: diamond of four
        {"\xEF\x83\x98", "\xE2\x9E\xA2"},  // U+F0D8: arrowhead
        {"\xEF\x83\xBC", "\xE2\x9C\x93"},  // U+F0FC: check mark
        {"\xEF\x82\xA8", "\xE2\x96\xA1"},  // U+F0A8: empty square
        {"\xEF\x80\xAD", "-"},             // U+F02D: dash
    };
    std::string shown = levelText;
    for (const auto& s : kSymbols)
        for (size_t at = shown.find(s.symbol); at != std::string::npos; at = shown.find(s.symbol, at))
            shown.replace(at, std::strlen(s.symbol), s.shown);
    return shown;
}

std::string NumberLabel_Next(NumberCounters& counters, const NumberLevel (&levels)[9], int level) {
    if (level < 0 || level > 8) return std::string();
    // Levels skipped on the way down count once at their start, as readers
    // count them: a later paragraph there goes on from it.
    for (int above = 0; above < level; ++above)
        if (!counters.used[above]) {
            counters.value[above] = levels[above].start;
            counters.used[above] = true;
        }
    counters.value[level] = counters.used[level] ? counters.value[level] + 1 : levels[level].start;
    counters.used[level] = true;
    for (int deeper = level + 1; deeper < 9; ++deeper) counters.used[deeper] = false;
    const NumberLevel& own = levels[level];
    if (own.format == "bullet") return NumberLabel_Bullet(own.text);
    std::string label;
    for (size_t i = 0; i < own.text.size(); ++i) {
        const char c = own.text[i];
        if (c == '%' && i + 1 < own.text.size() && own.text[i + 1] >= '1' && own.text[i + 1] <= '9') {
            const int n = own.text[++i] - '1';
            const int64_t value = counters.used[n] ? counters.value[n] : levels[n].start;
            label += NumberLabel_Format(value, n == level ? own.format : levels[n].format);
        } else {
            label += c;
        }
    }
    return label;
}
