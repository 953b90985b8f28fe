#include "host_program.h"

#include <unistd.h>

#include <cstdlib>

namespace example {

namespace {

// The plug-in where an install puts it: PREFIX/lib/NAME beside PREFIX/bin/TOOL.
std::string InstalledPluginPath() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string folder(self, static_cast<size_t>(n));
    folder = folder.substr(0, folder.rfind('/'));
    const std::string candidate = folder + "/../" VEXWORD_INSTALLED_PLUGIN;
    return ::access(candidate.c_str(), R_OK) == 0 ? candidate : "";
}

}  // namespace

std::string PluginPath() {
    if (const char* env = std::getenv("VEXWORD_PLUGIN"); env && *env) return env;
    const std::string installed = InstalledPluginPath();
    return installed.empty() ? VEXWORD_DEFAULT_PLUGIN : installed;
}

std::string Describe(const vexrt::HostException& e) {
    std::string name = e.className();
    if (auto dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
    return name + " " + std::to_string(e.errorNumber()) + ": " + e.message();
}

bool IsHyperlink(vexrt::Runtime& rt, const vexrt::Object& item) {
    return rt.className(item) == "VexlomarWord.Hyperlink";
}

std::string HyperlinkText(vexrt::Runtime& rt, const vexrt::Object& link) {
    std::string text;
    const int64_t runs = rt.get(link, "RunCount").integer();
    for (int64_t i = 0; i < runs; ++i) text += rt.get(rt.call(link, "Run", {i}).object(), "Text").text();
    return text;
}

std::string ParagraphText(vexrt::Runtime& rt, const vexrt::Object& p) {
    const vexrt::ModuleInfo* m = rt.module();
    if (!m || !m->findClass("Hyperlink")) return rt.get(p, "Text").text();
    std::string text;
    bool links = false;
    const int64_t items = rt.get(p, "LogicalParagraphItemCount").integer();
    for (int64_t i = 0; i < items; ++i) {
        vexrt::Object item = rt.call(p, "LogicalParagraphItem", {i}).object();
        if (!item) continue;
        if (IsHyperlink(rt, item)) {
            links = true;
            text += HyperlinkText(rt, item);
        } else {
            text += rt.get(item, "Text").text();
        }
    }
    return links ? text : rt.get(p, "Text").text();
}

std::vector<std::string> ParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container) {
    std::vector<std::string> texts;
    const auto count = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < count; ++i) {
        vexrt::Object p = rt.call(container, "Paragraph", {i}).object();
        texts.push_back(p ? ParagraphText(rt, p) : std::string());
    }
    return texts;
}

}  // namespace example
