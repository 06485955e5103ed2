#pragma once

namespace kivo {

// Window layouts are given in twips; the screen has 15 of them per pixel. Conversions
// round to the nearest pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips)
{
    return (twips + (twips >= 0 ? 7 : -7)) / kTwipsPerPixel;
}
constexpr int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

} // namespace kivo
