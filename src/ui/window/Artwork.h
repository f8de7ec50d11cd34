#pragma once
// The program's own artwork, drawn by code: BtnImgs (the 12 glyphs of 16x16 for the toolbar and
// the menus), the Stop glyph and the program icon.
#include <QIcon>
#include <QPixmap>
#include <vector>

namespace pictarix {

class ButtonArtwork {
 public:
  static constexpr int kCount = 12;
  static constexpr int kSide = 16;

  ButtonArtwork();
  int Count() const { return static_cast<int>(glyphs_.size()); }
  const QPixmap& Glyph(int index) const { return glyphs_.at(static_cast<std::size_t>(index)); }
  QIcon Icon(int index) const { return QIcon(Glyph(index)); }

 private:
  std::vector<QPixmap> glyphs_;
};

QPixmap StopGlyph();
QPixmap ProgramIcon(int side);

}  // namespace pictarix
