#pragma once
// What assistive tools see of a panel toggle: a toggle button whose "Toggle" and "Press"
// actions are a click, so they run the same handling as the mouse and the keyboard.
// (Qt's own button interface toggles the checked state without a click, which leaves the
// toggle reading pressed while its panel does not change.)

namespace kv {

// Makes every panel toggle use this interface; calling it again does nothing.
void InstallPanelToggleAccessible();

}  // namespace kv
