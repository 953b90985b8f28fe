// The list of the host's classes and enumerations.
#include "host_classes.h"

namespace vexrt::detail {

std::vector<REALclassDefinition*> HostClasses() {
    return {&RuntimeExceptionClass, &InvalidArgumentExceptionClass, &OutOfBoundsExceptionClass,
            &FolderItemClass,       &DateTimeClass,                 &TimeZoneClass,
            &ObjectArrayClass};
}

bool HostEnum_Is(const std::string& lowerCaseType) {
    return lowerCaseType == "datetime.formatstyles";
}

}  // namespace vexrt::detail
