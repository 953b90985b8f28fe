// The members of a shape group (wps:wsp children of wpg:wgp).
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// Number of member shapes; 0 when the group body is missing.
int64_t Group_MemberCount(pugi::xml_node anchor);
// The index-th member shape (0-based); empty out of range.
pugi::xml_node Group_Member(pugi::xml_node anchor, int64_t index);
// Appends a member of `type` (valid) at x, y with size cx, cy (not
// negative) in the group's child coordinates, and grows the group to cover
// it: the needed size is measured from the child origin (cx + |x|, cy +
// |y|); the child extent grows to it, the group's extent (a:ext and
// wp:extent) by the same amount scaled from child to group space, so that
// the members there keep their sizes. The group does not move. Empty when
// the group body is missing.
pugi::xml_node Group_AppendMember(pugi::xml_node anchor, int64_t type, int32_t x, int32_t y, int32_t cx,
                                  int32_t cy);
