#include "host_program.h"

#include <cstdlib>

namespace example {

std::string PluginPath() {
    if (const char* env = std::getenv("VEXWORD_PLUGIN"); env && *env) return env;
    return VEXWORD_DEFAULT_PLUGIN;
}

std::string Describe(const vexrt::HostException& e) {
    std::string name = e.className();
    if (auto dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
    return name + " " + std::to_string(e.errorNumber()) + ": " + e.message();
}

std::vector<std::string> ParagraphTexts(vexrt::Runtime& rt, const vexrt::Object& container) {
    std::vector<std::string> texts;
    const auto count = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < count; ++i) {
        vexrt::Object p = rt.call(container, "Paragraph", {i}).object();
        texts.push_back(p ? rt.get(p, "Text").text() : std::string());
    }
    return texts;
}

}  // namespace example
