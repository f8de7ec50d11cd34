#pragma once
// The main window's size, position and maximised state, kept in the settings between runs, and
// its place in the topmost band.
class QWidget;

namespace pictarix {

// Applies the stored placement before the window is first shown (moved onto a screen when it lies
// off every screen; taken to the same share of the screen when the screen's scale changed);
// without one, the window keeps its size and is centred on its screen. Call it after the window's
// flags are set: changing them afterwards would place the client area where the frame belongs.
void RestorePlacement(QWidget& window);
void StorePlacement(const QWidget& window);

// Puts a window into the topmost band or takes it out, leaving a shown window shown.
void SetTopmost(QWidget& window, bool topmost);

}  // namespace pictarix
