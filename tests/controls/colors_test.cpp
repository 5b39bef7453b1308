// SPDX-License-Identifier: MIT

#include "controls/graphics_utils.h"
#include "controls/system_colors.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

TEST(DarkenColor, LowersEachColourByteAndStopsAtZero) {
  struct Case {
    std::uint32_t color;
    int amount;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0x00FFFFFF, 80, 0x00AFAFAF},  // white
      {0x0080C040, 150, 0x00002A00}, // red 64, green 192, blue 128
      {0x00646464, 100, 0x00000000}, // an amount equal to a byte gives 0
      {0x00123456, 0, 0x00123456},
      {0xFF00000F, 80, 0xFF000000}, // system colour: the marker passes through
      {0x01FF8000, 255, 0x01000000},
      {0x00FFFFFF, 300, 0x00000000}, // amounts are bytes: clamped to 0..255
      {0x00123456, -5, 0x00123456},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(darkenColor(c.color, c.amount), c.expected)
        << std::hex << c.color << " by " << std::dec << c.amount;
  }
}

TEST(ColorToQColor, PlainColoursHaveRedInTheLowestByte) {
  const QPalette palette;
  EXPECT_EQ(colorToQColor(0x000000FF, palette), QColor(255, 0, 0));
  EXPECT_EQ(colorToQColor(0x0080C040, palette), QColor(64, 192, 128));
  EXPECT_EQ(colorToQColor(0x00FFFFFF, palette), QColor(Qt::white));
}

TEST(ColorToQColor, SystemColoursComeFromThePaletteOrTheClassicDefaults) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::Base, QColor(4, 5, 6));
  palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
  palette.setColor(QPalette::ButtonText, QColor(10, 11, 12));
  palette.setColor(QPalette::ToolTipBase, QColor(13, 14, 15));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));

  struct Case {
    std::uint32_t color;
    QColor expected;
  };
  const Case cases[] = {
      {0xFF00000F, QColor(1, 2, 3)},       // button face
      {0xFF000005, QColor(4, 5, 6)},       // window background
      {0xFF00000D, QColor(7, 8, 9)},       // highlight
      {0xFF000012, QColor(10, 11, 12)},    // button text
      {0xFF000018, QColor(13, 14, 15)},    // info background
      {0xFF000011, QColor(16, 17, 18)},    // grey text
      {0xFF000001, QColor(58, 110, 165)},  // desktop: no palette role
      {0xFF00001B, QColor(166, 202, 240)}, // active caption gradient
      {0xFF00001F, QColor(Qt::black)},     // beyond the table
      {0xFF00010F, QColor(Qt::black)},     // not an index
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colorToQColor(c.color, palette), c.expected) << std::hex << c.color;
  }
}

TEST(ReadableTextColor, PicksTheStrongerContrast) {
  struct Case {
    QColor background;
    QColor expected;
  };
  const Case cases[] = {
      {Qt::white, Qt::black},
      {Qt::black, Qt::white},
      {Qt::yellow, Qt::black},
      {QColor(0, 0, 128), Qt::white},
      {QColor(128, 128, 128), Qt::black},
      {QColor(175, 0, 0), Qt::white},
      {QColor(212, 208, 200), Qt::black},
      {QColor(0, 160, 0), Qt::black},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readableTextColor(c.background), c.expected) << c.background.name().toStdString();
  }
}

} // namespace
} // namespace zr
