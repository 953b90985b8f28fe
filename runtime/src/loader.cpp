// Loading the plug-in: from a shared library (optionally a private copy of
// it, so that this load has globals of its own), or linked into the program.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "entries.h"

namespace vexrt {

namespace {

// PREFIX/lib/NAME for a program in PREFIX/bin/, empty when there is none.
std::string PluginBesideProgram() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string folder(self, static_cast<size_t>(n));
    folder = folder.substr(0, folder.rfind('/'));
    const std::string candidate = folder + "/../" VEXRT_INSTALLED_PLUGIN;
    return ::access(candidate.c_str(), R_OK) == 0 ? candidate : "";
}

// Copies `path` to a new private file in the temporary folder; its path.
std::string CopyToPrivateFile(const std::string& path) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/vexrt-plugin-XXXXXX.so";
    int fd = ::mkstemps(name.data(), 3);
    if (fd < 0) throw std::runtime_error("cannot create a copy of " + path + ": " + std::strerror(errno));
    ::close(fd);
    std::error_code error;
    std::filesystem::copy_file(path, name, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        ::unlink(name.c_str());
        throw std::runtime_error("cannot copy " + path + ": " + error.message());
    }
    return name;
}

}  // namespace

std::string FindPlugin(const std::string& built) {
    if (const char* env = std::getenv("VEXWORD_PLUGIN"); env && *env) return env;
    const std::string beside = PluginBesideProgram();
    return beside.empty() ? built : beside;
}

void Runtime::loadPlugin(const std::string& path, bool freshCopy) {
    Impl::Library library;
    std::string loadPath = path;
    if (freshCopy) loadPath = library.copyPath = CopyToPrivateFile(path);
    library.handle = ::dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library.handle) {
        const std::string error = ::dlerror();
        if (!library.copyPath.empty()) ::unlink(library.copyPath.c_str());
        throw std::runtime_error("cannot load plug-in " + path + ": " + error);
    }
    // Kept from here on, so the runtime closes it whatever happens next.
    impl_->libraries.push_back(library);
    auto main = reinterpret_cast<REALPluginMainProc>(::dlsym(library.handle, "REALPluginMain"));
    if (!main) throw std::runtime_error("plug-in " + path + " exports no REALPluginMain");
    loadLinked(main);
}

void Runtime::loadLinked(REALPluginMainProc pluginMain) {
    if (!pluginMain) detail::Usage("loadLinked: no plug-in entry");
    detail::CallScope scope(*impl_);
    pluginMain(detail::Entry_Resolve);
    scope.finish();
}

void Runtime::Impl::closeLibraries() {
    for (auto library = libraries.rbegin(); library != libraries.rend(); ++library) {
        ::dlclose(library->handle);
        if (!library->copyPath.empty()) ::unlink(library->copyPath.c_str());
    }
    libraries.clear();
}

}  // namespace vexrt
