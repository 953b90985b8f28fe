#include "declarations.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vexrt::detail {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsPunctuation(char c) { return c == '(' || c == ')' || c == ',' || c == '=' || c == '.'; }

bool IsIdentifier(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return !std::isdigit(static_cast<unsigned char>(s[0]));
}

// A type name: identifiers joined by dots, optionally followed by "()".
bool IsTypeName(std::string_view s) {
    if (s.size() > 2 && s.substr(s.size() - 2) == "()") s.remove_suffix(2);
    size_t start = 0;
    while (true) {
        size_t dot = s.find('.', start);
        if (!IsIdentifier(s.substr(start, dot == std::string_view::npos ? dot : dot - start)))
            return false;
        if (dot == std::string_view::npos) return true;
        start = dot + 1;
    }
}

// Removes every blank (types are written "VexlomarWord.Bookmark ( )" now and then).
std::string WithoutBlanks(std::string_view s) {
    std::string out;
    for (char c : s)
        if (!IsBlank(c)) out += c;
    return out;
}

// Splits at blanks into words.
std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        size_t start = i;
        while (i < s.size() && !IsBlank(s[i])) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// Splits the text between a method's parentheses at its top-level commas.
std::vector<std::string_view> SplitParameters(std::string_view s) {
    std::vector<std::string_view> parts;
    if (Text_Trim(s).empty()) return parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '(') ++depth;
        if (s[i] == ')') --depth;
        if (s[i] == ',' && depth == 0) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(s.substr(start));
    return parts;
}

// "Optional ByRef items() As Integer = 3" -> name "items", type "Integer()".
bool ParseParameter(std::string_view text, ParamInfo& out, std::string& error) {
    // A default value does not change how the parameter is passed.
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')') --depth;
        if (text[i] == '=' && depth == 0) {
            text = text.substr(0, i);
            break;
        }
    }
    std::vector<std::string_view> words = Words(text);
    static const char* const kModifiers[] = {"byref", "byval", "optional", "assigns",
                                             "paramarray", "extends"};
    while (!words.empty()) {
        bool modifier = false;
        for (const char* m : kModifiers) modifier = modifier || Text_EqualsNoCase(words.front(), m);
        if (!modifier) break;
        words.erase(words.begin());
    }
    size_t as = 0;
    while (as < words.size() && !Text_EqualsNoCase(words[as], "as")) ++as;
    if (as == 0 || as + 1 >= words.size()) {
        error = "parameter \"" + std::string(Text_Trim(text)) + "\" has no \"name as Type\"";
        return false;
    }
    std::string name;
    for (size_t i = 0; i < as; ++i) name += std::string(words[i]);
    std::string type;
    for (size_t i = as + 1; i < words.size(); ++i) type += std::string(words[i]);
    bool array = name.size() > 2 && name.compare(name.size() - 2, 2, "()") == 0;
    if (array) name.resize(name.size() - 2);
    if (!IsIdentifier(name) || !IsTypeName(type)) {
        error = "parameter \"" + std::string(Text_Trim(text)) + "\" is malformed";
        return false;
    }
    out.name = name;
    out.type = array ? type + "()" : type;
    return true;
}

// Value of an integer literal: decimal, or host-style hexadecimal "&h1F".
bool ParseInteger(std::string_view text, int64_t& value) {
    std::string s(Text_Trim(text));
    int base = 10;
    size_t start = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        start = 1;
    }
    if (s.size() > start + 2 && s[start] == '&' && (s[start + 1] == 'h' || s[start + 1] == 'H')) {
        base = 16;
        start += 2;
    }
    if (start >= s.size()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str() + start, &end, base);
    if (errno != 0 || *end != '\0' || !std::isxdigit(static_cast<unsigned char>(s[start])))
        return false;
    value = negative ? -v : v;
    return true;
}

}  // namespace

std::string Text_Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Text_Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool Text_EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Declaration_Normalise(std::string_view declaration) {
    std::string out;
    bool blankPending = false;
    for (char c : Text_Trim(declaration)) {
        if (IsBlank(c)) {
            blankPending = true;
            continue;
        }
        // A blank survives between two words, and after ")" before a word.
        if (blankPending && !out.empty() && !IsPunctuation(c) &&
            (!IsPunctuation(out.back()) || out.back() == ')'))
            out += ' ';
        blankPending = false;
        out += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool Declaration_ParseMethod(std::string_view declaration, MethodInfo& out, std::string& error) {
    std::string_view text = Text_Trim(declaration);
    size_t open = text.find('(');
    std::string_view head = Text_Trim(text.substr(0, open));
    std::string_view tail;
    std::vector<std::string_view> params;
    if (open != std::string_view::npos) {
        int depth = 0;
        size_t close = std::string_view::npos;
        for (size_t i = open; i < text.size() && close == std::string_view::npos; ++i) {
            if (text[i] == '(') ++depth;
            if (text[i] == ')' && --depth == 0) close = i;
        }
        if (close == std::string_view::npos) {
            error = "unbalanced parentheses";
            return false;
        }
        params = SplitParameters(text.substr(open + 1, close - open - 1));
        tail = Text_Trim(text.substr(close + 1));
    } else {
        // "Name As Type" without parentheses: split the return type off.
        std::vector<std::string_view> words = Words(text);
        if (words.size() >= 3 && Text_EqualsNoCase(words[1], "as")) {
            head = words[0];
            tail = text.substr(size_t(words[1].data() - text.data()));
        }
    }
    if (!IsIdentifier(head)) {
        error = "no method name";
        return false;
    }

    MethodInfo m;
    m.name = std::string(head);
    m.declaration = std::string(text);
    for (std::string_view p : params) {
        ParamInfo param;
        if (!ParseParameter(p, param, error)) return false;
        m.params.push_back(std::move(param));
    }
    if (!tail.empty()) {
        std::vector<std::string_view> words = Words(tail);
        if (words.size() < 2 || !Text_EqualsNoCase(words[0], "as")) {
            error = "unexpected \"" + std::string(tail) + "\" after the parameters";
            return false;
        }
        m.returnType = WithoutBlanks(tail.substr(size_t(words[1].data() - tail.data())));
        if (!IsTypeName(m.returnType)) {
            error = "malformed return type \"" + m.returnType + "\"";
            return false;
        }
    }
    // Keep what the caller already filled in (flags, def, assignable).
    m.flags = out.flags;
    m.assignable = out.assignable;
    m.def = out.def;
    out = std::move(m);
    return true;
}

bool Declaration_ParseEnumEntry(std::string_view entry, int64_t next, std::string& name,
                                int64_t& value, std::string& error) {
    size_t eq = entry.find('=');
    std::string_view namePart = Text_Trim(entry.substr(0, eq));
    if (!IsIdentifier(namePart)) {
        error = "enumeration entry \"" + std::string(entry) + "\" has no name";
        return false;
    }
    name = std::string(namePart);
    if (eq == std::string_view::npos) {
        value = next;
        return true;
    }
    if (!ParseInteger(entry.substr(eq + 1), value)) {
        error = "enumeration entry \"" + std::string(entry) + "\" has no integer value";
        return false;
    }
    return true;
}

bool Declaration_ParseConstant(std::string_view declaration, ConstantInfo& out, std::string& error) {
    size_t eq = declaration.find('=');
    if (eq == std::string_view::npos) {
        error = "constant \"" + std::string(declaration) + "\" has no value";
        return false;
    }
    std::vector<std::string_view> words = Words(declaration.substr(0, eq));
    // "Name" or "Name As Type".
    if (!(words.size() == 1 || (words.size() == 3 && Text_EqualsNoCase(words[1], "as"))) ||
        !IsIdentifier(words[0])) {
        error = "constant \"" + std::string(declaration) + "\" has no name";
        return false;
    }
    out.name = std::string(words[0]);
    out.value = std::string(Text_Trim(declaration.substr(eq + 1)));
    out.declaration = std::string(declaration);
    return true;
}

}  // namespace vexrt::detail
