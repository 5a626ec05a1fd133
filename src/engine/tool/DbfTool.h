#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace engine::tool {

// The table tool for people who look after the tables:
//   info TABLE            structure and header of a table, the tags of its index
//   dump TABLE [TAG]      rows in record order, or in the tag's order; --deleted adds deleted rows
//   check TABLE           index against table: the first difference, exit status 1
//   reindex TABLE         rebuilds every tag of the index from the rows
// TABLE is a .dbf file (the extension may be left out). Output is UTF-8. Exit status 0 when all
// went well, 1 when the index does not match its table, 2 on a usage error or a failure.
int runDbfTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace engine::tool
