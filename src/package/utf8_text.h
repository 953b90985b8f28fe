// Saved parts must be well-formed XML whatever text reached the trees.
#pragma once

#include <cstddef>
#include <string>

// Replaces with U+FFFD every byte sequence of `text` that is not UTF-8 or
// encodes a character XML does not allow (surrogates, U+FFFE, U+FFFF):
// each invalid sequence, as far as it goes, becomes one U+FFFD. Returns the
// number of replacements; the text is untouched when it is 0.
size_t Utf8_Sanitize(std::string& text);
