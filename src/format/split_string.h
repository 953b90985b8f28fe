// Splitting byte strings at a separator byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pieces between separators, in order: every separator and the end of
// the text close a piece. An empty text gives one empty piece; leading,
// trailing and doubled separators give empty pieces ("a\tb\t" -> "a", "b",
// "").
std::vector<std::string> SplitString(std::string_view text, char separator);
