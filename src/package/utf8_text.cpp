#include "package/utf8_text.h"

#include <cstdint>
#include <cstring>

namespace {

// Length of the valid, XML-allowed UTF-8 sequence at `at`, or 0 when it is
// not one.
size_t ValidSequenceLength(const unsigned char* at, const unsigned char* end) {
    const unsigned char lead = at[0];
    if (lead < 0x80) return 1;
    size_t length;
    unsigned int code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (static_cast<size_t>(end - at) < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (at[i] & 0x3F);
    }
    if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF))
        return 0;
    if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return 0;
    return length;
}

// Bytes an invalid sequence at `at` covers: the lead byte and the
// continuation bytes that follow it, up to the length the lead announces.
size_t InvalidSequenceLength(const unsigned char* at, const unsigned char* end) {
    const unsigned char lead = at[0];
    size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t length = 1;
    while (length < announced && at + length < end && (at[length] & 0xC0) == 0x80) ++length;
    return length;
}

// Eight bytes at a time: whether any has its high bit set, and whether any
// is a control character or '&' (what the cleanliness scan stops at).
// Parts are mostly ASCII text, which these let a scan step over quickly.
constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;

uint64_t Load8(const unsigned char* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

bool AnyHigh(uint64_t word) { return (word & kHighs) != 0; }

// A byte below 0x20 or equal to '&', among bytes below 0x80.
bool AnyControlOrAmpersand(uint64_t word) {
    const uint64_t below = (word - kOnes * 0x20) & ~word & kHighs;
    const uint64_t amp = word ^ (kOnes * '&');
    const uint64_t isAmp = (amp - kOnes) & ~amp & kHighs;
    return (below | isAmp) != 0;
}

}  // namespace

size_t Utf8_Sanitize(std::string& text) {
    const unsigned char* begin = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = begin + text.size();
    const unsigned char* at = begin;
    // Most parts are valid: look for the first fault before copying anything.
    while (at < end) {
        if (end - at >= 8 && !AnyHigh(Load8(at))) {
            at += 8;
            continue;
        }
        if (*at < 0x80) {
            ++at;
            continue;
        }
        size_t length = ValidSequenceLength(at, end);
        if (!length) break;
        at += length;
    }
    if (at == end) return 0;

    std::string clean;
    clean.reserve(text.size() + 16);
    clean.append(text, 0, static_cast<size_t>(at - begin));
    size_t replaced = 0;
    while (at < end) {
        size_t length = *at < 0x80 ? 1 : ValidSequenceLength(at, end);
        if (length) {
            clean.append(reinterpret_cast<const char*>(at), length);
            at += length;
        } else {
            clean += "\xEF\xBF\xBD";
            ++replaced;
            at += InvalidSequenceLength(at, end);
        }
    }
    text.swap(clean);
    return replaced;
}

size_t Utf8_CompletePrefix(const char* data, size_t size) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    // A sequence is judged from its lead byte over at most four bytes, and
    // stops at any byte that does not continue it: one whose lead is four
    // bytes or more from the end, or that is followed by a byte other than
    // a continuation byte, is judged the same whatever follows.
    for (size_t back = 1; back <= 3 && back <= size; ++back) {
        const unsigned char c = bytes[size - back];
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        return c >= 0xC0 ? size - back : size;
    }
    return size;
}

namespace {

bool IsForbiddenControl(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// True when `text` holds a control character XML forbids or a byte that
// may start an invalid sequence; cheap for plain ASCII.
bool MayNeedCleaning(const char* text) {
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
        if (*c >= 0x80 || IsForbiddenControl(*c)) return true;
    return false;
}

// The cleaned text, or false when it was clean already.
bool Cleaned(const char* text, std::string& out) {
    if (!MayNeedCleaning(text)) return false;
    out.clear();
    bool dropped = false;
    for (const char* c = text; *c; ++c) {
        if (IsForbiddenControl(static_cast<unsigned char>(*c)))
            dropped = true;
        else
            out += *c;
    }
    return Utf8_Sanitize(out) > 0 || dropped;
}

}  // namespace

size_t Xml_SanitizeTree(pugi::xml_document& xml) {
    size_t changed = 0;
    std::string clean;
    // Iterative: parts may be nested far deeper than the stack allows.
    pugi::xml_node node = xml.first_child();
    while (node) {
        if (node.type() == pugi::node_element || node.type() == pugi::node_pi) {
            if (Cleaned(node.name(), clean)) {
                node.set_name(clean.c_str());
                ++changed;
            }
        }
        if (node.type() != pugi::node_element && node.type() != pugi::node_declaration) {
            if (Cleaned(node.value(), clean)) {
                node.set_value(clean.c_str());
                ++changed;
            }
        }
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (Cleaned(attribute.name(), clean)) {
                attribute.set_name(clean.c_str());
                ++changed;
            }
            if (Cleaned(attribute.value(), clean)) {
                attribute.set_value(clean.c_str());
                ++changed;
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) node = node.parent();
        if (node) node = node.next_sibling();
    }
    return changed;
}

bool Utf8_IsCleanXmlText(const char* data, size_t size) {
    const unsigned char* at = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* end = at + size;
    while (at < end) {
        if (end - at >= 8) {
            const uint64_t word = Load8(at);
            if (!AnyHigh(word) && !AnyControlOrAmpersand(word)) {
                at += 8;
                continue;
            }
        }
        const unsigned char c = *at;
        if (c >= 0x80) {
            const size_t length = ValidSequenceLength(at, end);
            if (!length) return false;
            at += length;
            continue;
        }
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
        if (c == '&' && at + 1 < end && at[1] == '#') return false;
        ++at;
    }
    return true;
}
