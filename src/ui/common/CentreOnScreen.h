#pragma once
// Where the program's windows open: in the middle of the screen, rather than wherever the
// window system puts them or over the window that opened them.

class QWidget;

namespace kv {

// Moves `window`, at its present size, to the middle of the screen's free area (the
// primary screen while the window has none yet).
void CentreOnScreen(QWidget& window);

// Gives a view the size its tables ask for, as far as the screen allows, then centres it.
void FitAndCentreOnScreen(QWidget& window);

}  // namespace kv
