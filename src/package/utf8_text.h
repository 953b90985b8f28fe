// Saved parts must be well-formed XML whatever text reached the trees.
#pragma once

#include <cstddef>
#include <string>

#include <pugixml.hpp>

// Replaces with U+FFFD every byte sequence of `text` that is not UTF-8 or
// encodes a character XML does not allow (surrogates, U+FFFE, U+FFFF):
// each invalid sequence, as far as it goes, becomes one U+FFFD. Returns the
// number of replacements; the text is untouched when it is 0.
size_t Utf8_Sanitize(std::string& text);

// For text that comes in pieces: how much of `data` (the text so far) can
// be sanitized on its own with the result it gets within the whole text.
// All of it but a last sequence the next piece may continue (at most three
// bytes from a lead byte on); sanitizing each such prefix, and at the end
// what is left, gives what Utf8_Sanitize gives the whole.
size_t Utf8_CompletePrefix(const char* data, size_t size);

// Makes every name, value and text of a parsed tree what a saved part can
// hold: control characters XML does not allow are dropped and invalid
// UTF-8 becomes U+FFFD. Run on every part as it is loaded, so that what
// the library reads (relationship types, targets, text) is what it will
// write. Returns the number of strings changed.
size_t Xml_SanitizeTree(pugi::xml_document& xml);

// True when `data` is UTF-8 with no control character XML forbids and no
// character reference ("&#"), so that a tree parsed from it holds nothing
// Xml_SanitizeTree would change. False for anything else, including text
// in other encodings.
bool Utf8_IsCleanXmlText(const char* data, size_t size);
