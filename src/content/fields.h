// Complex fields this library writes: date, time and hyperlink fields
// appended to a paragraph as begin, instruction, separate, result and end
// runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

// The instructions and display texts of the three kinds.
extern const char* const kDateFieldInstruction;
std::string Field_TimeInstruction();
std::string Field_HyperlinkInstruction(std::string_view url);
// "hh:mm:ss" with two digits each.
std::string Field_TimeText(int hours, int minutes, int seconds);
// Whether a time of day is valid: hours 0..23, minutes and seconds 0..59.
bool Field_IsValidTime(int64_t hours, int64_t minutes, int64_t seconds);

// Appends the five runs of a field to the paragraph (new runs take the
// paragraph's language) and returns the result run, the one holding
// `displayText`; `parts` receives all five in order.
pugi::xml_node Paragraph_AppendSpecialField(pugi::xml_node paragraph, std::string_view instruction,
                                            std::string_view displayText, std::vector<pugi::xml_node>& parts);
