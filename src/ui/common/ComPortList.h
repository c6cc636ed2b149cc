#pragma once
// The "PC COM Port" list that the main window and the EEPROM copy window both offer: the
// entries "COM 1" .. "COM 16", each with its port number as data and, in its tool tip, the
// device behind it (or that none is present) and where that mapping comes from.

class QComboBox;
class QLabel;

namespace kv {

// Fills `list` with the sixteen entries and selects the first COM n with a device behind
// it (COM 1 when none has one); a window then selects the port it remembers, if any. The
// list's own tool tip follows the chosen entry, so a user sees the device without opening
// the list.
void FillComPortList(QComboBox* list);

// Tells anew which device is behind each entry; adapters come and go while the program runs.
void RefreshComPortToolTips(QComboBox* list);

// A label for under `list` that tells, as the tool tip does, what device is behind the
// chosen entry or that none is; it follows the choice and every refresh.
QLabel* MakeComDeviceLabel(QComboBox* list);

}  // namespace kv
