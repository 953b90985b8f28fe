// Drawings as other word processors write them, for hand-made bodies: an
// inline picture, and an anchored text-box shape written as a w:drawing of
// its own (not as alternate content). One writer puts every drawing of a
// paragraph into one run:
//
//   "<w:p><w:r>" + docx_inline_picture(1, "rIdLogo") +
//       docx_anchored_text_box(2, "Box text", "rIdFill") + "</w:r></w:p>"
#pragma once

#include <string>

// A w:drawing of an inline picture (1/10 in square) showing relId; `id`
// is its wp:docPr id.
std::string docx_inline_picture(int id, const std::string& relId);
// A w:drawing of an anchored rectangle (1 in by 0.5 in) whose text box holds
// one paragraph of `text`; filled with the picture fillRelId when not empty.
std::string docx_anchored_text_box(int id, const std::string& text, const std::string& fillRelId = "");
