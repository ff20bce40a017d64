#pragma once
// String resources and the filling of their arguments.

#include <windows.h>

#include <string>
#include <vector>

namespace velkor::win {

// The Shift_JIS text of string resource `id` of the program (empty when absent).
std::string LoadResString(UINT id, HINSTANCE instance = nullptr);

// Replaces, in order, each "%s" or "%d" of `pattern` with the next argument
// (already text) and "%%" with "%". A pattern with fewer arguments than
// placeholders keeps the rest as they are; double-byte characters are never
// split. Safe for any text, unlike printf with a resource pattern.
std::string FillArguments(const std::string& pattern, const std::vector<std::string>& arguments);

// LoadResString + FillArguments.
std::string FormatResString(UINT id, const std::vector<std::string>& arguments, HINSTANCE instance = nullptr);

}  // namespace velkor::win
