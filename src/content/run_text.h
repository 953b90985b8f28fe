// Creation of runs and of their text content: the one place where text
// becomes "w:t", "w:tab" and "w:br" elements.
#pragma once

#include <optional>
#include <string_view>

#include <pugixml.hpp>

// Appends a new w:r with a w:rPr to `target` (a w:p, or a w:hyperlink when
// not in paragraph mode) and returns it. The w:rPr holds the language of the
// governing paragraph when it has one (the target itself in paragraph mode,
// otherwise the nearest w:p among the five levels above the target), then a
// w:rStyle when `styleId` is given. `text`, when given, is written with
// Run_AddTextToRun. An empty target gives an empty handle.
pugi::xml_node InternalAddRun(pugi::xml_node target, std::optional<std::string_view> text,
                              std::optional<std::string_view> styleId, bool paragraphMode);

// Appends `text` (UTF-8) after the run's children: line feeds become
// w:br w:type="textWrapping", tabs become w:tab, the pieces between them
// w:t elements (also when empty), so an empty text gives one empty w:t.
void Run_AddTextToRun(pugi::xml_node run, std::string_view text);

// True when a w:t holding `segment` needs xml:space="preserve": it is not
// empty and starts or ends with ASCII white space (space, tab, line feed,
// vertical tab, form feed, carriage return). Bytes of 128 and above never
// count as white space.
bool Text_NeedsPreserve(std::string_view segment);
