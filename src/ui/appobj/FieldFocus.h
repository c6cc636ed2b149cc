#pragma once
// Focus habits of the editor's text fields: the whole text is selected when a field gets
// the focus, so typing replaces it; the class attribute fields also never stay empty.

class QLineEdit;

namespace kv {

void SelectAllOnFocus(QLineEdit* field);

// As SelectAllOnFocus, and an empty field becomes "0" when the focus leaves it.
void SelectAllOnFocusZeroWhenLeftEmpty(QLineEdit* field);

}  // namespace kv
