// Values held from C++: counted String and Object handles, each bound to the
// runtime that keeps it, and Value, the sum of every kind a call takes.
#include <utility>

#include "internal.h"

namespace vexrt {

using detail::Usage;

HostException::HostException(std::string className, std::string message, int64_t errorNumber)
    : std::runtime_error(className + " " + std::to_string(errorNumber) + ": " + message),
      className_(std::move(className)), message_(std::move(message)), errorNumber_(errorNumber) {}

std::string HostException::describe() const {
    std::string name = className_;
    if (auto dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
    return name + " " + std::to_string(errorNumber_) + ": " + message_;
}

namespace {

Impl* LiveImpl(Runtime* rt) {
    return rt && Impl::isAlive(rt) ? &RuntimeAccess::impl(*rt) : nullptr;
}

}  // namespace

// ------------------------------------------------------------ String

String::String(REALstring s, bool adopt) : s_(s) {
    if (!s_) return;
    Runtime& rt = Runtime::current();
    Impl& impl = RuntimeAccess::impl(rt);
    if (!impl.strings.count(reinterpret_cast<StringRec*>(s_))) {
        s_ = nullptr;
        Usage("String: dangling string handle");
    }
    rt_ = &rt;
    if (!adopt) impl.lockString(s_, "String");
}

String::String(const String& o) : s_(o.s_), rt_(o.rt_) {
    if (Impl* impl = LiveImpl(rt_)) impl->lockString(s_, "String");
}

String::String(String&& o) noexcept
    : s_(std::exchange(o.s_, nullptr)), rt_(std::exchange(o.rt_, nullptr)) {}

String& String::operator=(String o) noexcept {
    std::swap(s_, o.s_);
    std::swap(rt_, o.rt_);
    return *this;
}

String::~String() {
    if (Impl* impl = LiveImpl(rt_)) impl->unlockString(s_, "String");
}

REALstring String::release() {
    rt_ = nullptr;
    return std::exchange(s_, nullptr);
}

std::string String::bytes() const {
    if (!s_) return std::string();
    Impl* impl = LiveImpl(rt_);
    if (!impl) Usage("String: its runtime is gone");
    auto* rec = reinterpret_cast<StringRec*>(s_);
    if (!impl->strings.count(rec)) Usage("String: dangling string handle");
    return rec->bytes;
}

uint32_t String::encoding() const {
    if (!s_) return kREALTextEncodingNone;
    Impl* impl = LiveImpl(rt_);
    if (!impl) Usage("String: its runtime is gone");
    auto* rec = reinterpret_cast<StringRec*>(s_);
    if (!impl->strings.count(rec)) Usage("String: dangling string handle");
    return rec->encoding;
}

// ------------------------------------------------------------ Object

Object::Object(REALobject o, bool adopt) : o_(o) {
    if (!o_) return;
    Runtime& rt = Runtime::current();
    Impl& impl = RuntimeAccess::impl(rt);
    if (!impl.objects.count(detail::Record(o_))) {
        o_ = nullptr;
        Usage("Object: dangling object handle");
    }
    rt_ = &rt;
    if (!adopt) impl.lockObject(o_, "Object");
}

Object::Object(const Object& o) : o_(o.o_), rt_(o.rt_) {
    if (Impl* impl = LiveImpl(rt_)) impl->lockObject(o_, "Object");
}

Object::Object(Object&& o) noexcept
    : o_(std::exchange(o.o_, nullptr)), rt_(std::exchange(o.rt_, nullptr)) {}

Object& Object::operator=(Object o) noexcept {
    std::swap(o_, o.o_);
    std::swap(rt_, o.rt_);
    return *this;
}

Object::~Object() {
    // The last reference runs the plug-in's destructors: in this runtime.
    if (Impl* impl = LiveImpl(rt_)) {
        detail::Activation active(*impl);
        impl->unlockObject(o_, "Object");
    }
}

REALobject Object::release() {
    rt_ = nullptr;
    return std::exchange(o_, nullptr);
}

// ------------------------------------------------------------ Value

namespace {

const char* KindName(const std::variant<Nil, RBInteger, double, bool, Color, String, Object>& v) {
    static const char* const kNames[] = {"nil", "Integer", "Double", "Boolean", "Color", "String", "object"};
    return kNames[v.index()];
}

}  // namespace

Value::Value(const char* utf8) {
    if (utf8) v_ = Runtime::current().makeString(utf8);
}

Value::Value(const std::string& utf8) : v_(Runtime::current().makeString(utf8)) {}

Value::Value(std::string&& utf8) {
    Runtime& rt = Runtime::current();
    Impl& impl = RuntimeAccess::impl(rt);
    detail::Activation active(impl);
    v_ = String(impl.newString(std::move(utf8), kREALTextEncodingUTF8), true);
}

bool Value::isNil() const {
    if (std::holds_alternative<Nil>(v_)) return true;
    if (auto s = std::get_if<String>(&v_)) return s->isNil();
    if (auto o = std::get_if<Object>(&v_)) return o->isNil();
    return false;
}

RBInteger Value::integer() const {
    if (!isInteger()) Usage(std::string("expected an Integer, the value is ") + KindName(v_));
    return std::get<RBInteger>(v_);
}

double Value::number() const {
    if (!isDouble()) Usage(std::string("expected a Double, the value is ") + KindName(v_));
    return std::get<double>(v_);
}

bool Value::boolean() const {
    if (!isBool()) Usage(std::string("expected a Boolean, the value is ") + KindName(v_));
    return std::get<bool>(v_);
}

Color Value::color() const {
    if (!isColor()) Usage(std::string("expected a Color, the value is ") + KindName(v_));
    return std::get<Color>(v_);
}

const String& Value::string() const {
    static const String nil;
    if (auto s = std::get_if<String>(&v_)) return *s;
    if (isNil()) return nil;
    Usage(std::string("expected a String, the value is ") + KindName(v_));
}

std::string Value::text() const { return string().bytes(); }

const Object& Value::object() const {
    static const Object nil;
    if (auto o = std::get_if<Object>(&v_)) return *o;
    if (isNil()) return nil;
    Usage(std::string("expected an object, the value is ") + KindName(v_));
}

}  // namespace vexrt
