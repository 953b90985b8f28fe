// The label a reader sees in front of a list paragraph: a counter written
// in a level's number format, and a level text with its %1..%9 filled in.
// Plain strings and numbers only, so host programs can share it.
#pragma once

#include <cstdint>
#include <string>

// `value` in the w:numFmt format: decimal (also the fallback), decimalZero,
// lowerLetter/upperLetter (a..z, aa..zz...), lowerRoman/upperRoman. Empty
// for bullet and none.
std::string NumberLabel_Format(int64_t value, const std::string& numFmt);

// A bullet's level text as readers show it: the symbol-font characters of
// the private-use area become the characters they draw (U+F0B7 "•",
// U+F0A7 "▪", ...); other text stays.
std::string NumberLabel_Bullet(const std::string& levelText);

// One level as a label needs it.
struct NumberLevel {
    std::string format = "decimal";  // w:numFmt
    std::string text;                // w:lvlText
    int64_t start = 1;               // w:start, or the instance's w:startOverride
};

// Counters of one list, as its paragraphs come in document order.
struct NumberCounters {
    int64_t value[9] = {};
    bool used[9] = {};
};

// Counts a paragraph at `level` (0..8) and returns its label: deeper levels
// start again, levels above that have not counted yet count once at their
// start, %N stands for level N-1's counter (its start when it has not
// counted yet) in that level's format. A bullet level shows its text.
std::string NumberLabel_Next(NumberCounters& counters, const NumberLevel (&levels)[9], int level);
