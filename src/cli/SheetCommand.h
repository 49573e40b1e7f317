// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cluemill {

// cluemill-cli sheet [FILE] --output OUT [options]: printable puzzle sheets
// as PDF, SVG or PNG. Built without Qt it says so and returns 2.
int RunSheet(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);

}  // namespace cluemill
