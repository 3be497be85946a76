#pragma once

namespace orv::ui {

// Window layouts are measured in twips; 15 twips are one pixel.
constexpr int kTwipsProPixel = 15;
constexpr int px(int twips) {
    return twips / kTwipsProPixel;
}

}  // namespace orv::ui
