// For Each, as the host runs it: the object names the interface Iterable,
// gives its iterator with "Iterator() as Iterator", and the loop asks the
// iterator "MoveNext() as Boolean" and then "Value() as Variant" until
// MoveNext answers false.
#include "declarations.h"
#include "internal.h"

namespace vexrt {

using detail::Usage;

namespace {

// Whether the class chain of `o` declares `interfaceName` in its
// comma-separated interface list.
bool DeclaresInterface(const ObjectRec& o, std::string_view interfaceName) {
    for (const ClassRec* c = o.cls; c; c = c->super) {
        std::string_view list = c->info.interfaces;
        while (!list.empty()) {
            const size_t comma = list.find(',');
            if (detail::Text_EqualsNoCase(detail::Text_Trim(list.substr(0, comma)), interfaceName)) return true;
            if (comma == std::string_view::npos) break;
            list.remove_prefix(comma + 1);
        }
    }
    return false;
}

const ObjectRec& Checked(const Impl& rt, const Object& o, const char* role) {
    if (o.isNil()) Usage(std::string("forEach: the ") + role + " is nil");
    const ObjectRec* rec = detail::Record(o.get());
    if (!rt.objects.contains(rec)) Usage(std::string("forEach: the ") + role + " is a dangling handle");
    return *rec;
}

}  // namespace

void Runtime::forEach(const Object& iterable, const std::function<bool(const Value&)>& body) {
    const ObjectRec& source = Checked(*impl_, iterable, "object");
    if (!DeclaresInterface(source, "Iterable"))
        Usage("forEach: " + source.cls->info.fullName + " is not Iterable");
    const Object iterator = call(iterable, "Iterator() as Iterator").object();
    const ObjectRec& cursor = Checked(*impl_, iterator, "iterator");
    if (!DeclaresInterface(cursor, "Iterator"))
        Usage("forEach: " + cursor.cls->info.fullName + " is not an Iterator");
    while (call(iterator, "MoveNext() as Boolean").boolean())
        if (!body(call(iterator, "Value() as Variant"))) break;
}

}  // namespace vexrt
