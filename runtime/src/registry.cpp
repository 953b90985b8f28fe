// Registration: the module with its constants, enumerations and classes, or
// classes one by one; the host's own classes; and the layout of each class
// chain, which decides where each class's part sits in an instance.
//
// A class may be registered before its super-class, and name it with or
// without the module prefix, so chains are laid out once the whole module is
// there (classes registered alone: on first use).
#include "declarations.h"
#include "entries.h"
#include "host_classes.h"

namespace vexrt {

namespace {

using detail::Declaration_ParseConstant;
using detail::Declaration_ParseEnumEntry;
using detail::Declaration_ParseMethod;
using detail::Text_EqualsNoCase;
using detail::Text_Lower;

std::string ClassLabel(const REALclassDefinition* def) {
    return def && def->name ? std::string("class ") + def->name : std::string("a class");
}

// Reads a class record into ClassInfo. Members whose records are malformed
// are left out, each with a fault; a malformed class gives false.
bool DescribeClass(Impl& rt, REALclassDefinition* def, const std::string& module,
                   ClassInfo& info) {
    if (!def) {
        rt.fault("a null class definition is registered");
        return false;
    }
    if (def->version != kREALPluginVersion) {
        rt.fault(ClassLabel(def) + ": record version " + std::to_string(def->version) +
                 ", expected " + std::to_string(kREALPluginVersion));
        return false;
    }
    if (!def->name || !*def->name) {
        rt.fault("a class definition without a name is registered");
        return false;
    }
    if ((def->propertyCount && !def->properties) || (def->methodCount && !def->methods) ||
        (def->sharedMethodCount && !def->sharedMethods) ||
        (def->constantCount && !def->constants)) {
        rt.fault(ClassLabel(def) + ": a member count without its table");
        return false;
    }

    info = ClassInfo{};
    info.name = def->name;
    info.fullName = module.empty() ? info.name : module + "." + info.name;
    info.superName = def->superName ? def->superName : "";
    info.interfaces = def->interfaces ? def->interfaces : "";
    info.dataSize = def->dataSize;
    info.hasInitializer = def->initializer != nullptr;
    info.hasDestructor = def->destructor != nullptr;
    info.flags = def->flags;
    info.def = def;

    for (size_t i = 0; i < def->propertyCount; ++i) {
        const REALproperty& p = def->properties[i];
        if (!p.name || !p.type || !p.getter) {
            rt.fault(ClassLabel(def) + ": property " + std::to_string(i) +
                     " lacks a name, type or getter");
            continue;
        }
        info.properties.push_back(PropertyInfo{p.name, p.type, p.flags, p.setter == nullptr, &p});
    }

    auto readMethods = [&](const REALmethodDefinition* table, size_t count, bool shared,
                           std::vector<MethodInfo>& out) {
        for (size_t i = 0; i < count; ++i) {
            const REALmethodDefinition& m = table[i];
            const std::string what = ClassLabel(def) + (shared ? ": shared method " : ": method ");
            if (!m.declaration || !m.function) {
                rt.fault(what + std::to_string(i) + " lacks a declaration or function");
                continue;
            }
            MethodInfo method;
            method.flags = m.flags;
            method.assignable = m.setterFunction != nullptr;
            method.def = &m;
            std::string error;
            if (!Declaration_ParseMethod(m.declaration, method, error)) {
                rt.fault(what + "\"" + m.declaration + "\": " + error);
                continue;
            }
            out.push_back(std::move(method));
        }
    };
    readMethods(def->methods, def->methodCount, false, info.methods);
    readMethods(def->sharedMethods, def->sharedMethodCount, true, info.sharedMethods);

    for (size_t i = 0; i < def->constantCount; ++i) {
        ConstantInfo c;
        std::string error;
        const char* text = def->constants[i].declaration;
        if (!text || !Declaration_ParseConstant(text, c, error)) {
            rt.fault(ClassLabel(def) + ": " + (text ? error : "a constant without declaration"));
            continue;
        }
        c.flags = def->constants[i].flags;
        info.constants.push_back(std::move(c));
    }
    return true;
}

// Indexes the methods of a described class by their normal form.
void IndexMethods(ClassRec& cls) {
    for (const MethodInfo& m : cls.info.methods)
        cls.methodsByDeclaration.emplace(detail::Declaration_Normalise(m.declaration), &m);
    for (const MethodInfo& m : cls.info.sharedMethods)
        cls.sharedMethodsByDeclaration.emplace(detail::Declaration_Normalise(m.declaration), &m);
}

}  // namespace

// ------------------------------------------------------------ registering

void Runtime::Impl::registerHostClasses() {
    for (REALclassDefinition* def : detail::HostClasses()) {
        auto cls = std::make_unique<ClassRec>();
        DescribeClass(*this, def, "", cls->info);
        IndexMethods(*cls);
        cls->def = def;
        cls->host = true;
        classesByName[Text_Lower(cls->info.fullName)] = cls.get();
        classesByDef[def] = cls.get();
        classes.push_back(std::move(cls));
    }
    for (auto& cls : classes) resolveChain(*cls);
}

namespace {

// Adds one class record to the runtime; null (and a fault) when it is
// malformed or its name is taken.
ClassRec* AddClass(Impl& rt, REALclassDefinition* def, const std::string& module) {
    auto cls = std::make_unique<ClassRec>();
    if (!DescribeClass(rt, def, module, cls->info)) return nullptr;
    IndexMethods(*cls);
    const std::string key = Text_Lower(cls->info.fullName);
    if (rt.classesByName.count(key) || rt.classesByDef.count(def)) {
        rt.fault(ClassLabel(def) + " is registered twice");
        return nullptr;
    }
    cls->def = def;
    cls->module = module;
    ClassRec* added = cls.get();
    rt.classesByName[key] = added;
    rt.classesByDef[def] = added;
    rt.classes.push_back(std::move(cls));
    rt.callCache.clear();  // a type may name this class now
    return added;
}

}  // namespace

void Runtime::Impl::registerModule(REALmoduleDefinition* def) {
    callCache.clear();  // its enumerations and classes change what types take
    if (!def) {
        fault("PluginRegisterModule: null module definition");
        return;
    }
    const std::string name = def->name ? def->name : "";
    if (def->version != kREALPluginVersion) {
        fault("PluginRegisterModule: module " + name + " has record version " +
              std::to_string(def->version) + ", expected " + std::to_string(kREALPluginVersion));
        return;
    }
    if (name.empty()) {
        fault("PluginRegisterModule: a module without a name");
        return;
    }
    if (module) {
        fault("PluginRegisterModule: module " + name + " comes after module " + module->name +
              "; this host takes one");
        return;
    }
    if ((def->constantCount && !def->constants) || (def->enumCount && !def->enums) ||
        (def->classCount && !def->classes)) {
        fault("PluginRegisterModule: module " + name + " has a member count without its table");
        return;
    }

    auto info = std::make_unique<ModuleInfo>();
    info->name = name;
    for (size_t i = 0; i < def->constantCount; ++i) {
        ConstantInfo c;
        std::string error;
        const char* text = def->constants[i].declaration;
        if (!text || !Declaration_ParseConstant(text, c, error)) {
            fault("module " + name + ": " + (text ? error : "a constant without declaration"));
            continue;
        }
        c.flags = def->constants[i].flags;
        info->constants.push_back(std::move(c));
    }
    for (size_t i = 0; i < def->enumCount; ++i) {
        const REALenum& e = def->enums[i];
        if (!e.name || (e.fieldCount && !e.fields)) {
            fault("module " + name + ": enumeration " + std::to_string(i) + " is malformed");
            continue;
        }
        EnumInfo en{e.name, e.type ? e.type : "Integer", e.flags, {}};
        int64_t next = 0;
        for (size_t j = 0; j < e.fieldCount; ++j) {
            std::string entry, error;
            int64_t value = 0;
            if (!e.fields[j] || !Declaration_ParseEnumEntry(e.fields[j], next, entry, value, error)) {
                fault("module " + name + ", enumeration " + en.name + ": " +
                      (e.fields[j] ? error : "a null entry"));
                continue;
            }
            en.entries.emplace_back(entry, value);
            next = value + 1;
        }
        info->enums.push_back(std::move(en));
    }

    std::vector<ClassRec*> added;
    for (size_t i = 0; i < def->classCount; ++i)
        if (ClassRec* cls = AddClass(*this, def->classes[i], name)) added.push_back(cls);
    module = std::move(info);
    kinds.clear();  // the module's enumerations are types now
    // Every class of the module is known now: lay out the chains.
    for (ClassRec* cls : added) resolveChain(*cls);
    for (ClassRec* cls : added) module->classes.push_back(cls->info);
}

void Runtime::Impl::registerClass(REALclassDefinition* def) {
    // Laid out on first use: its super-class may come later.
    AddClass(*this, def, "");
}

// ------------------------------------------------------------ class chains

bool Runtime::Impl::resolveChain(ClassRec& cls) {
    using Chain = ClassRec::Chain;
    switch (cls.chain) {
        case Chain::Resolved: return true;
        case Chain::Broken: return false;
        case Chain::Resolving:
            fault("class " + cls.info.fullName + " is its own super-class");
            cls.chain = Chain::Broken;
            return false;
        case Chain::Unresolved: break;
    }
    cls.chain = Chain::Resolving;
    ClassRec* super = nullptr;
    const std::string& superName = cls.info.superName;
    if (!superName.empty()) {
        // A super-class named without prefix is first looked for in the
        // class's own module ("ParagraphItem" in "VexlomarWord").
        if (!cls.module.empty() && superName.find('.') == std::string::npos)
            super = findClass(cls.module + "." + superName);
        if (!super) super = findClass(superName);
        if (!super) {
            fault("class " + cls.info.fullName + ": super-class " + superName +
                  " is not registered");
            cls.chain = Chain::Broken;
            return false;
        }
        if (!resolveChain(*super)) {
            if (cls.chain == Chain::Resolving) cls.chain = Chain::Broken;
            return false;
        }
    }
    cls.super = super;
    cls.partOffset = super ? detail::AlignUp(super->instanceSize) : detail::kHeaderSize;
    cls.instanceSize = cls.partOffset + cls.def->dataSize;
    cls.def->forSystemUse = intptr_t(cls.partOffset);
    cls.info.dataOffset = intptr_t(cls.partOffset);
    cls.chain = Chain::Resolved;
    return true;
}

ClassRec* Runtime::Impl::findClass(std::string_view name) const {
    auto found = classesByName.find(Text_Lower(name));
    if (found != classesByName.end()) return found->second;
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        // A module class by its short name.
        for (const auto& cls : classes)
            if (!cls->module.empty() && Text_EqualsNoCase(cls->info.name, name)) return cls.get();
        return nullptr;
    }
    // Classes registered one by one have no module: "VexlomarWord.Container"
    // names the class "Container" there.
    std::string_view last = name.substr(dot + 1);
    for (const auto& cls : classes)
        if (cls->module.empty() && !cls->host && Text_EqualsNoCase(cls->info.name, last))
            return cls.get();
    return nullptr;
}

ClassRec* Runtime::Impl::hostClass(const char* name) const {
    auto found = classesByName.find(Text_Lower(name));
    return found != classesByName.end() && found->second->host ? found->second : nullptr;
}

ClassRec* Runtime::Impl::classOfRef(REALclassRef ref, const char* where) {
    for (const auto& cls : classes)
        if (reinterpret_cast<REALclassRef>(cls.get()) == ref) return cls.get();
    fault(std::string(where) + ": " + (ref ? "unknown class reference" : "nil class reference"));
    return nullptr;
}

ClassRec* Runtime::Impl::classOfDef(const REALclassDefinition* def, const char* where) {
    auto found = classesByDef.find(def);
    if (found != classesByDef.end()) return found->second;
    fault(std::string(where) + ": " + ClassLabel(def) + " is not registered");
    return nullptr;
}

// ------------------------------------------------------------ entries

namespace detail {

void Entry_RegisterModule(REALmoduleDefinition* def) {
    if (Impl* rt = Impl::active()) rt->registerModule(def);
}

void Entry_RegisterClass(REALclassDefinition* def) {
    if (Impl* rt = Impl::active()) rt->registerClass(def);
}

}  // namespace detail

// ------------------------------------------------------------ what was registered

int64_t EnumInfo::valueOf(const std::string& entry) const {
    for (const auto& [name, value] : entries)
        if (Text_EqualsNoCase(name, entry)) return value;
    throw UsageError("enumeration " + name + " has no entry " + entry);
}

namespace {

// "Alignments" or "VexlomarWord.Alignments" for a member of module `module`.
bool NamesMember(const std::string& module, const std::string& member, const std::string& name) {
    return Text_EqualsNoCase(member, name) || Text_EqualsNoCase(module + "." + member, name);
}

}  // namespace

const EnumInfo* ModuleInfo::findEnum(const std::string& enumName) const {
    for (const auto& e : enums)
        if (NamesMember(name, e.name, enumName)) return &e;
    return nullptr;
}

const ClassInfo* ModuleInfo::findClass(const std::string& className) const {
    for (const auto& c : classes)
        if (NamesMember(name, c.name, className)) return &c;
    return nullptr;
}

}  // namespace vexrt
