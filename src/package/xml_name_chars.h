// The characters a strict reader takes in element and attribute names.
#pragma once

#include <cstddef>

// True when `name` (`length` bytes, no colon expected) is a name a strict
// reader takes: valid UTF-8, a letter or '_' first, then letters, digits,
// '-', '.', combining characters and extenders. Beyond ASCII only the
// characters of the Basic Multilingual Plane that such readers list count.
bool XmlName_IsLocalName(const char* name, size_t length);
