// SPDX-License-Identifier: MIT

#include "alert_test_support.h"
#include "alerts/alert_window.h"
#include "controls/spin_label.h"
#include "controls/system_colors.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using zr::AlertWindow;

// Solid blocks, so that the drawn glyphs take the text colour fully.
const std::string kBlocks = "\u2588 \u2588 \u2588 \u2588 \u2588 \u2588 \u2588 \u2588 \u2588";

struct Rendered {
  QImage withText;
  QImage background;
  int captionMiddle;
  QRect message;
  QRect minutes;
};

// The alert painted twice: with blocks for its name and message lines, and with
// neither, which leaves the bare gradients behind them.
Rendered render(zr::Color color) {
  const std::vector<std::string> lines(12, kBlocks);
  AlertWindow text(zr::test::makeReminder(kBlocks + kBlocks, color, lines), nullptr);
  AlertWindow bare(zr::test::makeReminder("", color, {}), nullptr);
  const auto* minutes = text.findChild<zr::SpinLabel*>("spnMinutes");
  const QWidget* message = text.findChild<QWidget*>("message");
  return {text.grab().toImage(), bare.grab().toImage(), text.captionHeight() / 2,
          message->geometry(), minutes->geometry()};
}

// The least contrast of any glyph along row y from x0 to x1: each run of pixels that
// differ from the bare background is one glyph, and its pixel of most contrast is
// the glyph's colour (its edges are blended). -1 when the row holds no glyph.
double rowContrast(const Rendered& r, int y, int x0, int x1) {
  double least = -1;
  double best = 0;
  bool inGlyph = false;
  for (int x = x0; x <= x1 + 1; ++x) {
    const bool differs = x <= x1 && r.withText.pixelColor(x, y) != r.background.pixelColor(x, y);
    if (differs) {
      best = std::max(
          best, zr::contrastRatio(r.withText.pixelColor(x, y), r.background.pixelColor(x, y)));
      inGlyph = true;
    } else if (inGlyph) {
      least = least < 0 ? best : std::min(least, best);
      best = 0;
      inGlyph = false;
    }
  }
  return least;
}

// The caption, the first and the last row of the message, and the spin label's
// underline, which runs along the bottom of the body where its gradient is darkest.
void expectReadable(zr::Color color, const std::string& what) {
  SCOPED_TRACE(what);
  const Rendered r = render(color);
  const int rowHeight = QFontMetrics(QApplication::font()).height();
  const struct {
    const char* where;
    int y, x0, x1;
  } rows[] = {
      {"caption", r.captionMiddle, 8, AlertWindow::kWidth / 2},
      {"first message row", r.message.top() + rowHeight / 2, r.message.left(),
       r.message.right() - 16},
      {"last message row",
       r.message.top() + (r.message.height() / rowHeight - 1) * rowHeight + rowHeight / 2,
       r.message.left(), r.message.right() - 16},
  };
  for (const auto& row : rows) {
    const double contrast = rowContrast(r, row.y, row.x0, row.x1);
    EXPECT_GE(contrast, zr::kMinimumTextContrast) << row.where << " at y " << row.y;
  }
  // The underline against the body just left of the spin label, on the same row.
  const int y = r.minutes.bottom();
  EXPECT_GE(zr::contrastRatio(r.withText.pixelColor(r.minutes.left() + 2, y),
                              r.withText.pixelColor(r.minutes.left() - 2, y)),
            zr::kMinimumTextContrast)
      << "spin label underline at y " << y;
}

QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(49, 54, 59));
  dark.setColor(QPalette::WindowText, QColor(239, 240, 241));
  dark.setColor(QPalette::Base, QColor(35, 38, 41));
  dark.setColor(QPalette::Text, QColor(239, 240, 241));
  dark.setColor(QPalette::Button, QColor(49, 54, 59));
  dark.setColor(QPalette::ButtonText, QColor(239, 240, 241));
  dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
  dark.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
  dark.setColor(QPalette::Light, QColor(64, 70, 76));
  dark.setColor(QPalette::Midlight, QColor(56, 62, 68));
  dark.setColor(QPalette::Dark, QColor(25, 27, 29));
  dark.setColor(QPalette::Shadow, QColor(18, 20, 21));
  dark.setColor(QPalette::ToolTipBase, QColor(49, 54, 59));
  dark.setColor(QPalette::ToolTipText, QColor(239, 240, 241));
  return dark;
}

TEST(AlertReadability, TheSixteenBasicColoursKeepTheirTextReadable) {
  const zr::Color basic[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                             0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                             0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  for (const zr::Color color : basic)
    expectReadable(color, QString::number(color, 16).toStdString());
}

// The colours that came out worst when the text was chosen against the middle of
// the gradients: lilac, a mid green, orange and a light grey-blue.
TEST(AlertReadability, FormerlyFaintColoursKeepTheirTextReadable) {
  for (const zr::Color color : {0x00FFA0C8u, 0x0040C040u, 0x0020A0F0u, 0x00E0C8B4u})
    expectReadable(color, QString::number(color, 16).toStdString());
}

// System colours are resolved to the palette's colour before they are shaded, so on a
// dark theme the button face is dark grey and the text on it white.
TEST(AlertReadability, SystemColoursOnALightAndADarkPaletteKeepTheirTextReadable) {
  const QPalette original = QApplication::palette();
  for (const auto& [name, palette] :
       {std::pair{"light", original}, std::pair{"dark", darkPalette()}}) {
    QApplication::setPalette(palette);
    for (zr::Color index = 0; index <= 30; ++index)
      expectReadable(0xFF000000u | index,
                     std::string(name) + " system colour " + std::to_string(index));
  }
  QApplication::setPalette(darkPalette());
  const AlertWindow buttonFace(zr::test::makeReminder("Face", zr::kButtonFaceSystemColor), nullptr);
  EXPECT_EQ(buttonFace.shading().frame, QColor(49, 54, 59));
  EXPECT_EQ(buttonFace.shading().bodyText, QColor(Qt::white));
  QApplication::setPalette(original);
}

TEST(AlertReadability, RandomColoursKeepTheirTextReadable) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<zr::Color> colour(0, 0xFFFFFF);
  for (int i = 0; i < 40; ++i) {
    const zr::Color color = colour(random);
    expectReadable(color, QString::number(color, 16).toStdString());
  }
}

} // namespace
