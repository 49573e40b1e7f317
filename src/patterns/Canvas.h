// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace cluemill {

// Colours are 0xBBGGRR, red in the low byte.
using Colour = std::uint32_t;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;
// The system colour of a window's background.
inline constexpr Colour kWindowBackground = 0x80000005;

// A drawing surface measured in pixels: the picker draws its thumbnails on
// one. Coordinates may lie outside; what falls outside is not drawn. Lines
// and outlines include both end points.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual int ScaleWidth() const = 0;
    virtual int ScaleHeight() const = 0;
    // Fills the whole surface with the background colour (kWindowBackground).
    virtual void Clear() = 0;
    // A horizontal or vertical line (the only kinds drawn; a slanted line
    // draws nothing).
    virtual void DrawLine(int x1, int y1, int x2, int y2, Colour colour) = 0;
    // The outline of the rectangle with corners (x1, y1) and (x2, y2).
    virtual void DrawBox(int x1, int y1, int x2, int y2, Colour colour) = 0;
    // The rectangle with corners (x1, y1) and (x2, y2), outline included.
    virtual void FillBox(int x1, int y1, int x2, int y2, Colour colour) = 0;
};

// A canvas that keeps its pixels as colour numbers (kWindowBackground for
// cleared ones). Version counts the drawing calls, so a viewer can tell
// whether anything changed since it last looked.
class PixelCanvas final : public Canvas {
  public:
    PixelCanvas(int width, int height);

    int ScaleWidth() const override { return width_; }
    int ScaleHeight() const override { return height_; }
    void Clear() override;
    void DrawLine(int x1, int y1, int x2, int y2, Colour colour) override;
    void DrawBox(int x1, int y1, int x2, int y2, Colour colour) override;
    void FillBox(int x1, int y1, int x2, int y2, Colour colour) override;

    // The pixel at (x, y); kWindowBackground outside the surface.
    Colour Pixel(int x, int y) const;
    // Row y from the left, ScaleWidth pixels.
    const Colour* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint64_t Version() const { return version_; }

  private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
    std::uint64_t version_ = 0;
};

}  // namespace cluemill
