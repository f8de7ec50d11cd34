#pragma once
// The main window's size, position and maximised state, kept in the settings between runs, and
// its place in the topmost band.
class QWidget;

namespace pictarix {

// Applies the stored placement before the window is first shown (moved onto a screen when it lies
// off every screen); without one, the window keeps its size and is centred on its screen.
void RestorePlacement(QWidget& window);
void StorePlacement(const QWidget& window);

// Puts a window into the topmost band or takes it out, leaving a shown window shown.
void SetTopmost(QWidget& window, bool topmost);

}  // namespace pictarix
