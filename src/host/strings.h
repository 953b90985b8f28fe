// Text across the host border: host strings carry UTF-8 (0x08000100).
#pragma once

#include <string>
#include <string_view>

#include "host/plugin_sdk.h"

// Host string -> UTF-8 bytes. False (out untouched) when the host cannot
// convert it; a nil string converts to the empty text.
bool StringToUTF8(REALstring s, std::string& out);
// UTF-8 bytes -> new host string with one reference.
REALstring UTF8ToString(std::string_view utf8);
REALstring UTF8ToString(const char* utf8);  // NUL-terminated; null gives ""
// Bytes -> host string without encoding (picture data).
REALstring BytesToString(std::string_view bytes);
