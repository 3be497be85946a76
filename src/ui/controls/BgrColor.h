#pragma once

#include <QColor>

#include <cstdint>

namespace orv::ui {

// Colours as the office's forms write them, 0xBBGGRR: 0x0000FF is red, 0xFF0000 blue.
inline QColor bgrColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace orv::ui
