#include "format/split_string.h"

std::vector<std::string> SplitString(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == separator) {
            pieces.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}
