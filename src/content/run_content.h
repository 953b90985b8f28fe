// What a run holds besides its properties: text, breaks, pictures, shapes.
#pragma once

#include <string_view>

#include <pugixml.hpp>

// The run's first w:br is a page break.
bool Run_IsPageBreak(pugi::xml_node run);
// The run holds a picture (a w:drawing child).
bool Run_IsDrawing(pugi::xml_node run);
// The run holds a shape: an mc:AlternateContent whose mc:Choice has a
// w:drawing.
bool Run_IsShape(pugi::xml_node run);

enum class RunTextResult { Written, DrawingRun, ShapeRun };
// Replaces the run's text: its w:t, w:tab and text-wrapping w:br children go,
// everything else (properties, page breaks, field characters) stays, and
// `text` is appended as Run_AddTextToRun writes it. Runs holding a picture
// or a shape keep their content and report which they are.
RunTextResult Run_SetText(pugi::xml_node run, std::string_view text);
