// Whether picture data is whole: a PNG file walked chunk by chunk to its
// end, a JPEG file segment by segment to its end of image. A header alone
// (drawing/image_size.h) gives the size; readers that draw the picture
// leave out one cut short or spoilt after it. One pass over the bytes,
// nothing decoded.
#pragma once

#include <string>
#include <string_view>

#include "drawing/image_size.h"

// True when every PNG chunk up to IEND is there with its checksum right
// (and image data among them), or when the JPEG segments and scans run
// from the start of image to the end-of-image marker. False, with a
// message saying what is wrong, otherwise. Bytes after the end are not
// looked at.
bool ImageStream_Check(std::string_view bytes, ImageFormat format, std::string& error);
