#include "tables/removed_tables.h"

#include "host/exceptions.h"
#include "package/discarded_nodes.h"

bool TableView_Refused(pugi::xml_node node) {
    if (!node || !Xml_IsDiscarded(node)) return false;
    ThrowWordException(kRemovedTableMessage, kRemovedTableErrorNumber);
    return true;
}
