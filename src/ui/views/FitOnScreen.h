#pragma once

class QWidget;

namespace kv {

// Gives a view the size its tables ask for, as far as the screen allows, and places it in
// the middle of the screen, as the views do when they open.
void FitAndCentreOnScreen(QWidget& window);

}  // namespace kv
