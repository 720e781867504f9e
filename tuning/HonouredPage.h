// The help page "What each Windows honours", made from the table itself at
// build time (tools/helpgen), so the help and the program say the same.
#pragma once

#include <string>

namespace corvane {

// The whole page as HTML in the help's style: the table (one row per value
// of each map, one column per Windows version), its legend and its sources.
// Each table row carries class="value" and the row's group, key, value name
// and cells in data attributes so that tests can read the rows back.
std::string RenderHonouredPage();

}  // namespace corvane
