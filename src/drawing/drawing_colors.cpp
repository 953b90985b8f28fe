#include "drawing/drawing_colors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "format/schema_order.h"
#include "package/document.h"

namespace {

float Clamp(float value, float low, float high) {
    if (std::isnan(value)) return low;
    return std::min(high, std::max(low, value));
}

RGBA ClampChannels(RGBA c) {
    c.r = Clamp(c.r, 0.0f, 255.0f);
    c.g = Clamp(c.g, 0.0f, 255.0f);
    c.b = Clamp(c.b, 0.0f, 255.0f);
    c.a = Clamp(c.a, 0.0f, 255.0f);
    return c;
}

// The val of the first child of that name, in 100000ths.
bool Factor(pugi::xml_node colorElement, const char* name, float& factor) {
    pugi::xml_node child = colorElement.child(name);
    if (!child) return false;
    factor = static_cast<float>(child.attribute("val").as_llong(0)) / 100000.0f;
    return true;
}

}  // namespace

const char* SchemeColor_Slot(const char* name) {
    static const char* const kMapping[][2] = {{"tx1", "dk1"}, {"bg1", "lt1"}, {"tx2", "dk2"}, {"bg2", "lt2"}};
    for (const auto& pair : kMapping)
        if (std::strcmp(pair[0], name) == 0) return pair[1];
    return name;
}

const char* SchemeColor_Lookup(const Word::Document& document, const char* name) {
    return document.LookupThemeColor(SchemeColor_Slot(name));
}

RGBA TransformColor(pugi::xml_node colorElement, RGBA color) {
    color = ClampChannels(color);
    float f = 0.0f;
    if (Factor(colorElement, "a:lumMod", f)) {
        float offset = 0.0f;
        Factor(colorElement, "a:lumOff", offset);
        float h, s, l;
        rgb2hsl(color.r, color.g, color.b, h, s, l);
        l = Clamp(l * f + offset, 0.0f, 1.0f);
        hsl2rgb(h, s, l, color.r, color.g, color.b);
        color = ClampChannels(color);
    }
    if (Factor(colorElement, "a:shade", f)) {
        f = Clamp(f, 0.0f, 1.0f);
        color.r *= f;
        color.g *= f;
        color.b *= f;
    }
    if (Factor(colorElement, "a:tint", f)) {
        f = Clamp(f, 0.0f, 1.0f);
        const float k = (1.0f - f) * 255.0f;
        color.r = color.r * f + k;
        color.g = color.g * f + k;
        color.b = color.b * f + k;
    }
    if (Factor(colorElement, "a:alpha", f)) color.a = Clamp(f, 0.0f, 1.0f) * 255.0f;
    return ClampChannels(color);
}

uint32_t RGBA_ToHostColor(const RGBA& color) {
    const RGBA c = ClampChannels(color);
    const uint32_t alpha = static_cast<uint32_t>(c.a);
    return ((255u - alpha) << 24) | (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) |
           static_cast<uint32_t>(c.b);
}

uint32_t ResolveSolidFill(const Word::Document& document, pugi::xml_node fill) {
    RGBA color;
    pugi::xml_node element;
    if ((element = fill.child("a:schemeClr"))) {
        color = HexColorToRGB(SchemeColor_Lookup(document, element.attribute("val").value()));
    } else if ((element = fill.child("a:srgbClr"))) {
        color = HexColorToRGB(element.attribute("val").value());
    } else if ((element = fill.child("a:scrgbClr"))) {
        // Percentages in 1000ths.
        color.r = std::trunc(element.attribute("r").as_llong(0) / 100000.0f * 255.0f);
        color.g = std::trunc(element.attribute("g").as_llong(0) / 100000.0f * 255.0f);
        color.b = std::trunc(element.attribute("b").as_llong(0) / 100000.0f * 255.0f);
    } else if ((element = fill.child("a:hslClr"))) {
        // The hue in 60000ths of a degree, saturation and lightness in
        // 1000ths of a percent.
        float h = element.attribute("hue").as_llong(element.attribute("h").as_llong(0)) / 21600000.0f;
        h = h - std::floor(h);
        const float s = Clamp(element.attribute("sat").as_llong(element.attribute("s").as_llong(0)) / 100000.0f,
                              0.0f, 1.0f);
        const float l = Clamp(element.attribute("lum").as_llong(element.attribute("l").as_llong(0)) / 100000.0f,
                              0.0f, 1.0f);
        hsl2rgb(h, s, l, color.r, color.g, color.b);
    } else if ((element = fill.child("a:sysClr"))) {
        if (!element.attribute("lastClr")) return 0;
        color = HexColorToRGB(element.attribute("lastClr").value());
    } else {
        return 0;
    }
    return RGBA_ToHostColor(TransformColor(element, color));
}

uint32_t GetColorFromStyle(const Word::Document& document, pugi::xml_node wsp, const char* reference) {
    pugi::xml_node scheme = wsp.child("wps:style").child(reference).child("a:schemeClr");
    RGBA color = HexColorToRGB(SchemeColor_Lookup(document, scheme.attribute("val").value()));
    return RGBA_ToHostColor(TransformColor(scheme, color));
}

pugi::xml_node SetColor(pugi::xml_node parent, uint32_t hostColor, ChildOrder order) {
    pugi::xml_node fill = InsertChildInOrder(parent, "a:solidFill", order);
    pugi::xml_node rgb = fill.append_child("a:srgbClr");
    rgb.append_attribute("val") = ColorToHex(hostColor).c_str();
    const uint32_t transparency = hostColor >> 24;
    if (transparency != 0) {
        const float alpha = (255.0f - static_cast<float>(transparency)) / 255.0f * 100000.0f;
        rgb.append_child("a:alpha").append_attribute("val") = static_cast<int>(alpha);
    }
    return fill;
}
