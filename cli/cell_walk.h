// Walking a container's paragraphs into its tables: what vexword's
// commands that list things (pictures, links) share, so that they name
// the place of what they find alike.
#pragma once

#include <functional>
#include <string>

#include <vexrt/runtime.h>

namespace cli {

// Every paragraph of the container in document order, those of its tables'
// cells included (and of tables nested in cells), each with where it is:
// `where` for the container's own paragraphs, "<where> table 1 cell 2,3"
// for those of the second row's third cell of its first table (rows and
// columns counted from 1, tables counted in their container).
void Container_EachParagraph(
    vexrt::Runtime& rt, const vexrt::Object& container, const std::string& where,
    const std::function<void(const vexrt::Object& paragraph, const std::string& where)>& visit);

}  // namespace cli
