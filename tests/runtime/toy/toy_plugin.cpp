// A toy plug-in for the runtime's own tests, written against plugin_sdk.h
// alone. Its module "Toy" uses every kind of member and host service the
// real plug-in does, plus a few deliberate faults:
//
//   Shape (root; data, initializer, destructor, a property of each type,
//          overloads, an assignable method, shared methods)
//   Circle : "Toy.Shape"   registered before Shape; overrides Describe
//   Dot    : "Circle"      super-class named without the module prefix
//   ToyError : "RuntimeException"
//
// The host version steers registration: 100.0 registers the classes one by
// one, below 2013.4 nothing is registered, 3.0 registers a module with a bad
// record version and 4.0 adds a class whose super-class does not exist.
#include <cstdint>
#include <cstring>
#include <string>

#include "host/plugin_sdk.h"

namespace {

// ------------------------------------------------------------ host access

REALResolverProc gResolver = nullptr;
int gLoads = 0;          // REALPluginMain calls into this copy of the library
std::string gLog;        // "+Shape +Circle -Circle -Shape ..."
int64_t gSerial = 0;     // instances made
int64_t gLiveShapes = 0;

template <typename Proc>
Proc Host(const char* name) {
    return reinterpret_cast<Proc>(gResolver ? gResolver(name) : nullptr);
}

void Log(const char* event) {
    if (!gLog.empty()) gLog += ' ';
    gLog += event;
}

REALstring NewString(const std::string& text, uint32_t encoding = kREALTextEncodingUTF8) {
    auto build = Host<REALBuildStringWithEncodingProc>("REALBuildStringWithEncoding");
    return build ? build(text.data(), text.size(), encoding) : nullptr;
}

// UTF-8 bytes of a host string; false when the host cannot convert it.
bool Text(REALstring s, std::string& out) {
    auto get = Host<PluginGetStringDataProc>("PluginGetStringData");
    auto dispose = Host<PluginDisposeStringDataProc>("PluginDisposeStringData");
    REALstringData data{};
    if (!get || !dispose || !get(s, kREALTextEncodingUTF8, &data)) return false;
    out.assign(static_cast<const char*>(data.data), data.length);
    dispose(&data);
    return true;
}

void LockString(REALstring s) {
    if (auto lock = Host<REALLockStringProc>("REALLockString")) lock(s);
}
void UnlockString(REALstring s) {
    if (auto unlock = Host<REALUnlockStringProc>("REALUnlockString")) unlock(s);
}
void LockObject(REALobject o) {
    if (auto lock = Host<REALLockObjectProc>("REALLockObject")) lock(o);
}
void UnlockObject(REALobject o) {
    if (auto unlock = Host<REALUnlockObjectProc>("REALUnlockObject")) unlock(o);
}

REALclassRef ClassRef(const char* name) {
    auto type = Host<pluginObjectTypeProc>("pluginObjectType");
    return type ? type(name) : nullptr;
}

REALobject CreateInstance(REALclassRef cls) {
    auto create = Host<CreateInstanceProc>("CreateInstance");
    return create && cls ? create(cls) : nullptr;
}

void* ObjectMethod(REALobject o, const char* declaration) {
    auto load = Host<REALLoadObjectMethodProc>("REALLoadObjectMethod");
    return load ? load(o, declaration) : nullptr;
}

void Raise(REALobject exception, const char* message, RBInteger code) {
    typedef void (*Constructor)(REALobject, REALstring, RBInteger);
    auto construct = reinterpret_cast<Constructor>(
        ObjectMethod(exception, "Constructor(message As String, errorCode As Integer)"));
    if (construct) {
        REALstring text = NewString(message);
        construct(exception, text, code);
        UnlockString(text);
    }
    if (auto raise = Host<RuntimeRaiseExceptionProc>("RuntimeRaiseException")) raise(exception);
    UnlockObject(exception);
}

template <typename T>
T* Data(REALobject instance, const REALclassDefinition& def) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(instance) + def.forSystemUse);
}

template <typename F>
void* Fn(F* f) {
    return reinterpret_cast<void*>(f);
}

// ------------------------------------------------------------ Shape

struct ShapeData {
    int64_t serial;
    double width;
    bool visible;
    RBColor tint;
    float ratio;
    int64_t kind;
    REALstring name;
    REALobject owner;
    REALstring tags[3];
};

struct CircleData {
    double radius;
};

struct DotData {
    int64_t pixels;
};

extern REALclassDefinition ShapeClass;
extern REALclassDefinition CircleClass;
extern REALclassDefinition DotClass;
extern REALclassDefinition ToyErrorClass;

ShapeData* Shape(REALobject self) { return Data<ShapeData>(self, ShapeClass); }

void ShapeInit(REALobject self) {
    Shape(self)->serial = ++gSerial;
    ++gLiveShapes;
    Log("+Shape");
}

void ShapeDestroy(REALobject self) {
    ShapeData* d = Shape(self);
    UnlockString(d->name);
    UnlockObject(d->owner);
    for (REALstring tag : d->tags) UnlockString(tag);
    --gLiveShapes;
    Log("-Shape");
}

REALstring GetName(REALobject self, intptr_t) {
    REALstring name = Shape(self)->name;
    LockString(name);  // the caller's reference
    return name;
}
void SetName(REALobject self, intptr_t, REALstring value) {
    LockString(value);
    UnlockString(Shape(self)->name);
    Shape(self)->name = value;
}
double GetWidth(REALobject self, intptr_t) { return Shape(self)->width; }
void SetWidth(REALobject self, intptr_t, double value) { Shape(self)->width = value; }
double GetScaledWidth(REALobject self, intptr_t factor) { return Shape(self)->width * double(factor); }
bool GetVisible(REALobject self, intptr_t) { return Shape(self)->visible; }
void SetVisible(REALobject self, intptr_t, bool value) { Shape(self)->visible = value; }
RBColor GetTint(REALobject self, intptr_t) { return Shape(self)->tint; }
void SetTint(REALobject self, intptr_t, RBColor value) { Shape(self)->tint = value; }
float GetRatio(REALobject self, intptr_t) { return Shape(self)->ratio; }
void SetRatio(REALobject self, intptr_t, float value) { Shape(self)->ratio = value; }
RBInteger GetKind(REALobject self, intptr_t) { return Shape(self)->kind; }
void SetKind(REALobject self, intptr_t, RBInteger value) { Shape(self)->kind = value; }
RBInteger GetSerial(REALobject self, intptr_t) { return Shape(self)->serial; }
REALobject GetOwner(REALobject self, intptr_t) {
    REALobject owner = Shape(self)->owner;
    LockObject(owner);
    return owner;
}
void SetOwner(REALobject self, intptr_t, REALobject value) {
    LockObject(value);
    UnlockObject(Shape(self)->owner);
    Shape(self)->owner = value;
}

void ShapeConstructor(REALobject) {}

REALstring ShapeDescribe(REALobject self) {
    std::string name;
    Text(Shape(self)->name, name);
    return NewString("Shape " + name);
}

void ResizeBy(REALobject self, double factor) { Shape(self)->width *= factor; }
void ResizeTo(REALobject self, double width, bool visible) {
    Shape(self)->width = width;
    Shape(self)->visible = visible;
}

REALstring Label(REALobject self, REALstring prefix) {
    std::string a, b;
    if (!Text(prefix, a) || !Text(Shape(self)->name, b)) return nullptr;
    return NewString(a + b);
}

REALstring GetTag(REALobject self, RBInteger index) {
    if (index < 0 || index > 2) return nullptr;
    REALstring tag = Shape(self)->tags[index];
    LockString(tag);
    return tag;
}
void SetTag(REALobject self, RBInteger index, REALstring value) {
    if (index < 0 || index > 2) return;
    LockString(value);
    UnlockString(Shape(self)->tags[index]);
    Shape(self)->tags[index] = value;
}

REALobject Adopt(REALobject, REALobject other) {
    LockObject(other);
    return other;
}

RBInteger Twice(REALobject, RBInteger kind) { return kind * 2; }

RBInteger Fail(REALobject, REALstring message, RBInteger code) {
    std::string text;
    Text(message, text);
    Raise(CreateInstance(ClassRef("InvalidArgumentException")), text.c_str(), code);
    return 0;
}

void Boom(REALobject, RBInteger code) {
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    if (make) Raise(make(&ToyErrorClass), "toy error", code);
}

void RaiseOutOfBounds(void* code) {
    Raise(CreateInstance(ClassRef("OutOfBoundsException")), "caught",
          *static_cast<RBInteger*>(code));
}

// Raises inside the host's exception handler: gives the caught exception's
// error number, or -1 when nothing was caught.
RBInteger Survive(REALobject, RBInteger code) {
    auto handler = Host<PluginCallFunctionWithExceptionHandlerProc>(
        "PluginCallFunctionWithExceptionHandler");
    REALobject caught = handler ? handler(RaiseOutOfBounds, &code) : nullptr;
    if (!caught) return -1;
    RBInteger number = -1;
    if (auto get = Host<REALGetPropValueIntegerProc>("REALGetPropValueInteger"))
        get(caught, "ErrorNumber", &number);
    UnlockObject(caught);
    return number;
}

struct DateRequest {
    REALobject date;
    RBInteger year, month, day, offset;
    bool withZone;
};

void ConstructDate(void* arg) {
    auto* r = static_cast<DateRequest*>(arg);
    typedef void (*DateConstructor)(REALobject, RBInteger, RBInteger, RBInteger, RBInteger,
                                    RBInteger, RBInteger, RBInteger, REALobject);
    typedef void (*ZoneConstructor)(REALobject, RBInteger);
    auto construct = reinterpret_cast<DateConstructor>(ObjectMethod(
        r->date,
        "Constructor(Year as Integer, Month as Integer, Day as Integer, hour as Integer, "
        "minute as Integer, second as Integer, nanosecond as Integer, timeZone as TimeZone)"));
    if (!construct) return;
    REALobject zone = nullptr;
    if (r->withZone) {
        zone = CreateInstance(ClassRef("TimeZone"));
        auto zoneConstruct = reinterpret_cast<ZoneConstructor>(
            ObjectMethod(zone, "Constructor(gmtOffsetInSeconds As Integer)"));
        if (zoneConstruct) zoneConstruct(zone, r->offset);
    }
    construct(r->date, r->year, r->month, r->day, 13, 5, 9, 0, zone);
    UnlockObject(zone);
}

// A DateTime made the way the real plug-in makes them; nil when the host
// rejects the date.
REALobject MakeDate(REALobject, RBInteger year, RBInteger month, RBInteger day, RBInteger offset,
                    bool withZone) {
    REALobject date = CreateInstance(ClassRef("DateTime"));
    if (!date) return nullptr;
    DateRequest request{date, year, month, day, offset, withZone};
    auto handler = Host<PluginCallFunctionWithExceptionHandlerProc>(
        "PluginCallFunctionWithExceptionHandler");
    REALobject caught = handler ? handler(ConstructDate, &request) : nullptr;
    if (caught) {
        UnlockObject(caught);
        UnlockObject(date);
        return nullptr;
    }
    return date;
}

// Seconds from GMT of a date's time zone, as the real plug-in reads them.
RBInteger ZoneOffset(REALobject, REALobject date) {
    auto getObject = Host<REALGetPropValueObjectProc>("REALGetPropValueObject");
    auto getInteger = Host<REALGetPropValueIntegerProc>("REALGetPropValueInteger");
    REALobject zone = nullptr;
    if (!getObject || !getInteger || !getObject(date, "Timezone", &zone) || !zone) return -99999;
    RBInteger offset = 0;
    getInteger(zone, "SecondsFromGMT", &offset);
    UnlockObject(zone);
    return offset;
}

// `count` new shapes named "0".."count-1", each inserted at the front.
REALobject Children(REALobject, RBInteger count) {
    auto create = Host<RuntimeArrayCreateSingleDimBoundedArrayProc>(
        "RuntimeArrayCreateSingleDimBoundedArray");
    auto insert = Host<PluginObjectArrayInsertProcProc>("PluginObjectArrayInsertProc");
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    if (!create || !insert || !make) return nullptr;
    REALarray array = create(kREALArrayTypeObject, -1);
    for (RBInteger i = 0; i < count; ++i) {
        REALobject child = make(&ShapeClass);
        REALstring name = NewString(std::to_string(i));
        SetName(child, 0, name);
        UnlockString(name);
        insert(array, 0, child);
        UnlockObject(child);
    }
    return reinterpret_cast<REALobject>(array);
}

// Inserts nil at `index` of a new array of `upperBound` + 1 slots: the host
// raises for an index out of range.
REALobject Slots(REALobject, RBInteger upperBound, RBInteger index) {
    auto create = Host<RuntimeArrayCreateSingleDimBoundedArrayProc>(
        "RuntimeArrayCreateSingleDimBoundedArray");
    auto insert = Host<PluginObjectArrayInsertProcProc>("PluginObjectArrayInsertProc");
    REALarray array = create(kREALArrayTypeObject, upperBound);
    insert(array, index, nullptr);
    return reinterpret_cast<REALobject>(array);
}

// Length through conversion to UTF-8; -1 when the host cannot convert.
RBInteger Utf8Length(REALobject, REALstring s) {
    std::string text;
    return Text(s, text) ? RBInteger(text.size()) : -1;
}

// Byte length as LenB gives it, and the first byte StringGetCString gives.
RBInteger RawLength(REALobject, REALstring s) {
    auto load = Host<REALLoadGlobalMethodProc>("REALLoadGlobalMethod");
    auto lenB = load ? reinterpret_cast<LenBProc>(load(nullptr, "LenB(s As String) As Integer")) : nullptr;
    auto contents = Host<StringGetCStringProc>("StringGetCString");
    if (!lenB || !contents) return -1;
    RBInteger length = lenB(s);
    const char* bytes = contents(s);
    return length == RBInteger(std::strlen(bytes)) ? length : -2;
}

REALstring Replace(REALobject, REALstring source, REALstring a, REALstring b) {
    auto load = Host<REALLoadGlobalMethodProc>("REALLoadGlobalMethod");
    typedef REALstring (*ReplaceAll)(REALstring, REALstring, REALstring);
    auto replace = load ? reinterpret_cast<ReplaceAll>(load(
                              nullptr,
                              "ReplaceAll(source as String, oldString as String, newString as String) as String"))
                        : nullptr;
    return replace ? replace(source, a, b) : nullptr;
}

REALstring Join(REALobject, REALstring a, REALstring b) {
    auto add = Host<RuntimeAddStringProc>("RuntimeAddString");
    return add ? add(a, b) : nullptr;
}

// Returns a string it has already released: a dangling handle.
REALstring Junk(REALobject) {
    REALstring s = NewString("gone");
    UnlockString(s);
    return s;
}

// Releases a new string twice.
void Overrelease(REALobject) {
    REALstring s = NewString("twice");
    UnlockString(s);
    UnlockString(s);
}

// Releases a new shape twice.
void ReleaseTwice(REALobject) {
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    REALobject shape = make(&ShapeClass);
    UnlockObject(shape);
    UnlockObject(shape);
}

// "path|1" for an existing file: NativePath and Exists as the host gives them.
REALstring FileInfo(REALobject, REALobject file) {
    auto getString = Host<REALGetPropValueStringProc>("REALGetPropValueString");
    auto getBool = Host<REALGetPropValueBoolProc>("REALGetPropValueBool");
    REALstring path = nullptr;
    RBBoolean exists = false;
    if (!getString(file, "NativePath", &path) || !getBool(file, "Exists", &exists)) return nullptr;
    std::string text;
    Text(path, text);
    UnlockString(path);
    return NewString(text + (exists ? "|1" : "|0"));
}

// A temporary file by the shared method, or by the global function.
REALobject Temporary(REALobject, bool shared) {
    typedef REALobject (*TemporaryFile)();
    TemporaryFile make = nullptr;
    if (shared) {
        auto load = Host<PluginLoadSharedMethodProc>("PluginLoadSharedMethod");
        make = reinterpret_cast<TemporaryFile>(load(ClassRef("FolderItem"), "TemporaryFile() as FolderItem"));
    } else {
        auto load = Host<REALLoadGlobalMethodProc>("REALLoadGlobalMethod");
        make = reinterpret_cast<TemporaryFile>(load(nullptr, "GetTemporaryFolderItem() as FolderItem"));
    }
    return make ? make() : nullptr;
}

// Where this class's part of the instance is, as the plug-in computes it.
RBInteger ShapePart(REALobject self) { return RBInteger(reinterpret_cast<intptr_t>(Shape(self))); }

REALobject Make(REALstring name) {
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    REALobject shape = make ? make(&ShapeClass) : nullptr;
    if (shape) SetName(shape, 0, name);
    return shape;
}

REALstring GetLog() { return NewString(gLog); }
void ClearLog() { gLog.clear(); }
RBInteger Loads() { return gLoads; }
RBInteger LiveShapes() { return gLiveShapes; }
double HostVersion() {
    auto version = Host<REALGetRBVersionProc>("REALGetRBVersion");
    return version ? version() : -1.0;
}
bool InRuntime() {
    auto inRuntime = Host<REALinRuntimeProc>("REALinRuntime");
    return inRuntime && inRuntime();
}

REALproperty ShapeProperties[] = {
    {nullptr, "Name", "String", REALmemberFlagPublic, Fn(GetName), Fn(SetName), 0},
    {nullptr, "Width", "Double", REALmemberFlagPublic, Fn(GetWidth), Fn(SetWidth), 0},
    {nullptr, "TripleWidth", "Double", REALmemberFlagPublic, Fn(GetScaledWidth), nullptr, 3},
    {nullptr, "Visible", "Boolean", REALmemberFlagPublic, Fn(GetVisible), Fn(SetVisible), 0},
    {nullptr, "Tint", "Color", REALmemberFlagPublic, Fn(GetTint), Fn(SetTint), 0},
    {nullptr, "Ratio", "Single", REALmemberFlagPublic, Fn(GetRatio), Fn(SetRatio), 0},
    {nullptr, "Kind", "Toy.Kinds", REALmemberFlagPublic, Fn(GetKind), Fn(SetKind), 0},
    {nullptr, "Owner", "Toy.Shape", REALmemberFlagPublic, Fn(GetOwner), Fn(SetOwner), 0},
    {nullptr, "Serial", "Integer", REALmemberFlagPublic, Fn(GetSerial), nullptr, 0},
};

REALmethodDefinition ShapeMethods[] = {
    {Fn(ShapeConstructor), nullptr, "Constructor()", REALmemberFlagPublic | REALmemberFlagHidden},
    {Fn(ShapeDescribe), nullptr, "Describe() as String", REALmemberFlagPublic},
    {Fn(ResizeBy), nullptr, "Resize(factor as Double)", REALmemberFlagPublic},
    {Fn(ResizeTo), nullptr, "Resize( width As Double,visible as Boolean )", REALmemberFlagPublic},
    {Fn(Label), nullptr, "Label(prefix as String) as String", REALmemberFlagPublic},
    {Fn(GetTag), Fn(SetTag), "Tag(index as Integer) as String", REALmemberFlagPublic},
    {Fn(Adopt), nullptr, "Adopt(other as Toy.Shape) as Toy.Shape", REALmemberFlagPublic},
    {Fn(Twice), nullptr, "Twice(k as Kinds) as Toy.Kinds", REALmemberFlagPublic},
    {Fn(Fail), nullptr, "Fail(message as String, code as Integer) as Integer", REALmemberFlagPublic},
    {Fn(Boom), nullptr, "Boom(code as Integer)", REALmemberFlagPublic},
    {Fn(Survive), nullptr, "Survive(code as Integer) as Integer", REALmemberFlagPublic},
    {Fn(MakeDate), nullptr,
     "MakeDate(year as Integer, month as Integer, day as Integer, offset as Integer, withZone as Boolean) as DateTime",
     REALmemberFlagPublic},
    {Fn(ZoneOffset), nullptr, "ZoneOffset(d as DateTime) as Integer", REALmemberFlagPublic},
    {Fn(Children), nullptr, "Children(count as Integer) as Toy.Shape()", REALmemberFlagPublic},
    {Fn(Slots), nullptr, "Slots(upperBound as Integer, index as Integer) as Toy.Shape()", REALmemberFlagPublic},
    {Fn(Utf8Length), nullptr, "Utf8Length(s as String) as Integer", REALmemberFlagPublic},
    {Fn(RawLength), nullptr, "RawLength(s as String) as Integer", REALmemberFlagPublic},
    {Fn(Replace), nullptr, "Replace(s as String, a as String, b as String) as String", REALmemberFlagPublic},
    {Fn(Join), nullptr, "Join(a as String, b as String) as String", REALmemberFlagPublic},
    {Fn(Junk), nullptr, "Junk() as String", REALmemberFlagPublic},
    {Fn(Overrelease), nullptr, "Overrelease()", REALmemberFlagPublic},
    {Fn(ReleaseTwice), nullptr, "ReleaseTwice()", REALmemberFlagPublic},
    {Fn(FileInfo), nullptr, "FileInfo(f as FolderItem) as String", REALmemberFlagPublic},
    {Fn(Temporary), nullptr, "Temporary(shared as Boolean) as FolderItem", REALmemberFlagPublic},
    {Fn(ShapePart), nullptr, "ShapePart() as Integer", REALmemberFlagPublic},
};

REALmethodDefinition ShapeSharedMethods[] = {
    {Fn(Make), nullptr, "Make(name as String) as Toy.Shape", REALmemberFlagPublic},
    {Fn(GetLog), nullptr, "Log() as String", REALmemberFlagPublic},
    {Fn(ClearLog), nullptr, "ClearLog()", REALmemberFlagPublic},
    {Fn(Loads), nullptr, "Loads() as Integer", REALmemberFlagPublic},
    {Fn(LiveShapes), nullptr, "LiveShapes() as Integer", REALmemberFlagPublic},
    {Fn(HostVersion), nullptr, "HostVersion() as Double", REALmemberFlagPublic},
    {Fn(InRuntime), nullptr, "InRuntime() as Boolean", REALmemberFlagPublic},
};

REALconstant ShapeConstants[] = {
    {"Flag=32", REALconstantFlagPublic},
};

REALclassDefinition ShapeClass = {
    kREALPluginVersion, "Shape", "", sizeof(ShapeData), 0, ShapeInit, ShapeDestroy,
    ShapeProperties, sizeof(ShapeProperties) / sizeof(ShapeProperties[0]),
    ShapeMethods, sizeof(ShapeMethods) / sizeof(ShapeMethods[0]),
    nullptr, 0, "", ShapeConstants, 1, REALclassFlagPublic,
    ShapeSharedMethods, sizeof(ShapeSharedMethods) / sizeof(ShapeSharedMethods[0]),
    nullptr, 0,
};

// ------------------------------------------------------------ Circle

CircleData* Circle(REALobject self) { return Data<CircleData>(self, CircleClass); }

void CircleInit(REALobject self) {
    Circle(self)->radius = 1.0;
    Log("+Circle");
}
void CircleDestroy(REALobject) { Log("-Circle"); }
double GetRadius(REALobject self, intptr_t) { return Circle(self)->radius; }
void SetRadius(REALobject self, intptr_t, double value) { Circle(self)->radius = value; }
REALstring CircleDescribe(REALobject self) {
    return NewString("Circle r=" + std::to_string(int(Circle(self)->radius)));
}
RBInteger CirclePart(REALobject self) { return RBInteger(reinterpret_cast<intptr_t>(Circle(self))); }
REALobject MakeCircle() {
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    return make ? make(&CircleClass) : nullptr;
}

REALproperty CircleProperties[] = {
    {nullptr, "Radius", "Double", REALmemberFlagPublic, Fn(GetRadius), Fn(SetRadius), 0},
};
REALmethodDefinition CircleMethods[] = {
    {Fn(CircleDescribe), nullptr, "Describe() as String", REALmemberFlagPublic},
    {Fn(CirclePart), nullptr, "CirclePart() as Integer", REALmemberFlagPublic},
};
REALmethodDefinition CircleSharedMethods[] = {
    {Fn(MakeCircle), nullptr, "MakeCircle() as Toy.Circle", REALmemberFlagPublic},
};

REALclassDefinition CircleClass = {
    kREALPluginVersion, "Circle", "Toy.Shape", sizeof(CircleData), 0, CircleInit, CircleDestroy,
    CircleProperties, 1, CircleMethods, 2, nullptr, 0, "", nullptr, 0, REALclassFlagPublic,
    CircleSharedMethods, 1, nullptr, 0,
};

// ------------------------------------------------------------ Dot

void DotInit(REALobject self) {
    Data<DotData>(self, DotClass)->pixels = 1;
    Log("+Dot");
}
void DotDestroy(REALobject) { Log("-Dot"); }
RBInteger GetPixels(REALobject self, intptr_t) { return Data<DotData>(self, DotClass)->pixels; }
RBInteger DotPart(REALobject self) { return RBInteger(reinterpret_cast<intptr_t>(Data<DotData>(self, DotClass))); }
REALobject MakeDot() {
    auto make = Host<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass");
    return make ? make(&DotClass) : nullptr;
}

REALproperty DotProperties[] = {
    {nullptr, "Pixels", "Integer", REALmemberFlagPublic, Fn(GetPixels), nullptr, 0},
};
REALmethodDefinition DotMethods[] = {
    {Fn(DotPart), nullptr, "DotPart() as Integer", REALmemberFlagPublic},
};
REALmethodDefinition DotSharedMethods[] = {
    {Fn(MakeDot), nullptr, "MakeDot() as Toy.Dot", REALmemberFlagPublic},
};

REALclassDefinition DotClass = {
    kREALPluginVersion, "Dot", "Circle", sizeof(DotData), 0, DotInit, DotDestroy,
    DotProperties, 1, DotMethods, 1, nullptr, 0, "", nullptr, 0, REALclassFlagPublic,
    DotSharedMethods, 1, nullptr, 0,
};

// ------------------------------------------------------------ ToyError

void ToyErrorConstructor(REALobject) {}

REALmethodDefinition ToyErrorMethods[] = {
    {Fn(ToyErrorConstructor), nullptr, "Constructor()", REALmemberFlagPublic | REALmemberFlagHidden},
};

REALclassDefinition ToyErrorClass = {
    kREALPluginVersion, "ToyError", "RuntimeException", 0, 0, nullptr, nullptr,
    nullptr, 0, ToyErrorMethods, 1, nullptr, 0, "", nullptr, 0, REALclassFlagPublic,
    nullptr, 0, nullptr, 0,
};

// A class whose super-class is nowhere (registered on host version 4.0).
REALclassDefinition OrphanClass = {
    kREALPluginVersion, "Orphan", "Toy.Nowhere", 8, 0, nullptr, nullptr,
    nullptr, 0, nullptr, 0, nullptr, 0, "", nullptr, 0, REALclassFlagPublic,
    nullptr, 0, nullptr, 0,
};

// ------------------------------------------------------------ module

const char* const KindEntries[] = {"NONE= 0", "Round = 1", "NextPage  = 4", "Minus = -1", "Caps"};

REALenum ToyEnums[] = {
    {"Kinds", "Integer", REALenumFlagPublic, KindEntries, 5},
};

REALconstant ToyConstants[] = {
    {"Version = 4.62", REALconstantFlagPublic},
};

// Circle comes before its super-class.
REALclassDefinition* ToyClasses[] = {&CircleClass, &ShapeClass, &DotClass, &ToyErrorClass, &OrphanClass};

REALmoduleDefinition ToyModule = {
    kREALPluginVersion, "Toy", nullptr, 0, ToyConstants, 1, nullptr, 0, nullptr, 0,
    ToyEnums, 1, ToyClasses, 4,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void REALPluginMain(REALResolverProc resolver) {
    gResolver = resolver;
    ++gLoads;
    if (auto announce = Host<RegisterPluginVersionProc>("RegisterPluginVersion")) announce(13);
    auto version = Host<REALGetRBVersionProc>("REALGetRBVersion");
    const double hostVersion = version ? version() : 0.0;

    ToyModule.version = hostVersion == 3.0 ? 12 : kREALPluginVersion;
    ToyModule.classCount = hostVersion == 4.0 ? 5 : 4;
    if (hostVersion == 100.0) {
        auto registerClass = Host<PluginRegisterClassProc>("PluginRegisterClass");
        for (size_t i = 0; registerClass && i < 4; ++i) registerClass(ToyClasses[i]);
    } else if (hostVersion >= 2013.4 || hostVersion == 3.0 || hostVersion == 4.0) {
        if (auto registerModule = Host<PluginRegisterModuleProc>("PluginRegisterModule"))
            registerModule(&ToyModule);
    }
}
