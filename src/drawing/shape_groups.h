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
// it, on every side: the child box (a:chOff, a:chExt) takes the member in,
// the group's extent (a:ext and wp:extent) grows by as much scaled from
// child to group space, and a member before the child box's start moves the
// group back (wp:posOffset, when the group has one) by what it grew there,
// so that every member keeps its size and place. Empty when the group body
// is missing.
pugi::xml_node Group_AppendMember(pugi::xml_node anchor, int64_t type, int32_t x, int32_t y, int32_t cx,
                                  int32_t cy);
