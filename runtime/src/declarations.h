// Reading what the plug-in registers as text, the way the host does: method
// declarations, enumeration entries and constants. The host language ignores
// case and extra blanks, so declarations are compared in a normal form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <vexrt/runtime.h>

namespace vexrt::detail {

std::string Text_Lower(std::string_view s);
std::string_view Text_Trim(std::string_view s);
bool Text_EqualsNoCase(std::string_view a, std::string_view b);

// Lower case, single blanks between words, none around ( ) , = and the dot:
// "LenB( s as string ) as integer" and "LenB(s As String) As Integer" both
// become "lenb(s as string) as integer".
std::string Declaration_Normalise(std::string_view declaration);

// "Open(f as FolderItem) as VexlomarWord.Document": name, parameters (name
// and type as written, "X()" for arrays), return type ("" for none). Also
// takes ByRef/ByVal/Optional/Assigns/ParamArray modifiers and defaults.
// False with `error` set when the text is no declaration.
bool Declaration_ParseMethod(std::string_view declaration, MethodInfo& out, std::string& error);

// "NextPage  = 4", "None = -1", or a bare name taking `next`.
bool Declaration_ParseEnumEntry(std::string_view entry, int64_t next, std::string& name,
                                int64_t& value, std::string& error);

// "Version = 4.62", "ConditionalFormatApplyFirstRow=32", "Name As Integer = 3".
bool Declaration_ParseConstant(std::string_view declaration, ConstantInfo& out, std::string& error);

}  // namespace vexrt::detail
