// Relationship targets are URIs relative to the part that holds the
// relationship ("header1.xml", "../media/a.png", "/word/x.xml"); archive
// entries are named without the leading slash ("word/header1.xml").
#pragma once

#include <string>

// The entry name a relationship target of `sourcePart` (an entry name such
// as "word/document.xml") points at: relative targets resolve against the
// source part's folder, an absolute one against the package root; "." and
// ".." segments are applied and %-escapes decoded. Empty when the target
// leaves the package (more ".." than folders, or an empty result) or
// names a control character.
std::string PackagePath_Resolve(const std::string& sourcePart, const std::string& target);

// The target by which `sourcePart` names the entry `entry`: relative when
// the entry lies in the source's folder or below it ("media/a.png" from
// word/document.xml), else absolute ("/word/media/a.png").
std::string PackagePath_TargetFrom(const std::string& sourcePart, const std::string& entry);

// The entry name of the relationships part of `part`:
// "word/document.xml" -> "word/_rels/document.xml.rels".
std::string PackagePath_RelationshipsOf(const std::string& part);

// True when two entry names name the same part (names compare without
// regard to ASCII case, as package part names do).
bool PackagePath_SameName(const std::string& a, const std::string& b);
// The key that makes PackagePath_SameName an equality (ASCII lower case).
std::string PackagePath_Key(const std::string& name);
