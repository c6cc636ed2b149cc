#pragma once
// Message boxes and file dialogs, behind a seam so that window tests read the text, title
// and icon shown and answer from a script.

#include <QString>

#include "console/MessageKind.h"

namespace kv {

// The answers to "save the changes first?".
enum class UnsavedChoice { Save, Discard, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message with an OK button and the icon of its kind. An empty title means the
    // program's own title. Non-empty `details` (what went over the wire) are offered behind
    // "Show Details..."; the message itself stays as it is.
    void Message(const QString& text, const QString& title, MessageKind kind,
                 const QString& details = {}) {
        ShowMessage(text, title, kind, details);
    }
    // A message that informs.
    void Message(const QString& text, const QString& title, const QString& details = {}) {
        ShowMessage(text, title, MessageKind::Information, details);
    }
    virtual void ShowMessage(const QString& text, const QString& title, MessageKind kind,
                             const QString& details) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& text, const QString& title) = 0;
    // A modal question whose buttons are `acceptText` and Cancel; true for the first.
    virtual bool Confirm(const QString& text, const QString& title, const QString& acceptText) = 0;
    // The standard question before changes would be lost: Save, Discard or Cancel.
    virtual UnsavedChoice AskToSaveChanges(const QString& text, const QString& title) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString OpenFileName(const QString& filter, const QString& folder,
                                 const QString& fileName) = 0;
    virtual QString SaveFileName(const QString& filter, const QString& folder,
                                 const QString& fileName) = 0;
};

// The program's own title, used where a message names no title.
inline const char* const ProgramTitle = "KV-9052R Utility";

}  // namespace kv
