// New inline pictures: the checks a picture must pass, and the run that
// shows it at the end of a paragraph.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "drawing/drawing_container.h"
#include "host/plugin_sdk.h"

// The error numbers of the checks (the README lists them).
constexpr RBInteger kPictureDataErrorNumber = -30;  // not a readable, whole PNG or JPEG
constexpr RBInteger kPictureSizeErrorNumber = -31;  // width or height out of range

// The largest side in pixels whose extent (9525 EMU a pixel) still fits
// the signed 32-bit numbers the extent is written as.
constexpr int64_t kLargestPictureSide = 0x7FFFFFFF / 9525;

// Whether `bytes` can be added as a picture of `kind` (jpeg, anything else
// taken as png) shown at width x height pixels: the sizes from 1 to
// kLargestPictureSide, the bytes starting with a readable header of that
// format and whole after it (drawing/image_stream.h). False with the
// message and error number to raise otherwise.
bool Picture_Check(std::string_view bytes, PictureKind kind, int64_t width, int64_t height, std::string& message,
                   RBInteger& errorNumber);

// Appends to `paragraph` a run showing the picture (checked before) as an
// inline drawing of width x height pixels at 96 per inch. The bytes wait
// in the pending list under a new media name and a new relationship of
// the part that holds the paragraph (its header's or footer's own); the
// extension gets its content type. The drawing takes a new id
// (Document_NextDrawingId) and `name`. Returns the new "w:r".
pugi::xml_node Paragraph_AppendPicture(REALobject document, pugi::xml_node paragraph, REALstring bytes,
                                       PictureKind kind, const std::string& name, int64_t width, int64_t height);
