#pragma once
#include <string>
#include <vector>

namespace platform {

// Splits an argument string into argv the way 1C:Enterprise reads its own command line: blanks
// (space, tab) outside double quotes separate arguments, a double quote toggles quoting and is
// dropped, a backslash is always literal. So `/d"C:\My Bases\Trade\" /nUser` gives
// `/dC:\My Bases\Trade\` and `/nUser`, where the C-runtime rules would read `\"` as a quote.
// A quoted empty string ("") is an empty argument; an unclosed quote runs to the end.
std::vector<std::string> splitCommandLine(const std::string& arguments);

} // namespace platform
