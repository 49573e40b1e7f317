// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace cluemill {

// cluemill-cli sheet [FILE] --output OUT [options]: printable puzzle sheets
// as PDF, SVG or PNG. Built without Qt it says so and returns 2.
int RunSheet(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);

// The Qt application the sheet command paints with, for as long as this
// object lives; on the offscreen platform when there is no display. Made by
// main() for the sheet command only, so that the other commands start no
// Qt; RunSheet makes one of its own when there is none (as under tests).
// Built without Qt it does nothing.
class SheetGui {
  public:
    SheetGui();
    ~SheetGui();
    SheetGui(const SheetGui&) = delete;
    SheetGui& operator=(const SheetGui&) = delete;

  private:
    struct Application;
    std::unique_ptr<Application> app_;
};

}  // namespace cluemill
