// Tables, rows and cells taken out of the document: a table whose last row
// was removed, one removed with Container.RemoveItem, a removed row, and
// everything inside them. Their elements stay where views can still reach
// them (package/discarded_nodes.h), but nothing done to them would reach a
// saved file, so every member of a view of one (Table, TableRow,
// TableCell, the TableBorder of a table or cell) raises a WordException
// instead of reporting success: a host program learns at once that the
// table it holds is gone (and makes a new one with AppendTable).
#pragma once

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

constexpr const char* kRemovedTableMessage = "Table, row or cell was removed from the document";
constexpr RBInteger kRemovedTableErrorNumber = -20;

// True, with the WordException -20 raised, when `node` (a "w:tbl", "w:tr"
// or "w:tc") is no longer part of its document; false for an empty handle.
bool TableView_Refused(pugi::xml_node node);

// OnLiveNode<NodeOf, F>::Call has the signature of the member F (its first
// parameter the instance) and calls it only when the element NodeOf finds
// for the instance is still in the document; otherwise it raises -20 and
// returns the neutral value of F's result. NodeOf returns an empty handle
// for instances it does not check (a paragraph, the body).
template <pugi::xml_node (*NodeOf)(REALobject), auto F>
struct OnLiveNode;

template <pugi::xml_node (*NodeOf)(REALobject), class R, class... Args, R (*F)(REALobject, Args...)>
struct OnLiveNode<NodeOf, F> {
    static R Call(REALobject instance, Args... args) {
        if (TableView_Refused(NodeOf(instance))) return R();
        return F(instance, args...);
    }
};
