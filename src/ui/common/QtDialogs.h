#pragma once

#include "ui/common/Dialogs.h"

class QWidget;

namespace kv {

// Message boxes and file dialogs of Qt, modal to the active window.
class QtDialogs : public Dialogs {
public:
    void ShowMessage(const QString& text, const QString& title, MessageKind kind,
                     const QString& details) override;
    bool AskYesNo(const QString& text, const QString& title) override;
    bool Confirm(const QString& text, const QString& title, const QString& acceptText) override;
    UnsavedChoice AskToSaveChanges(const QString& text, const QString& title) override;
    QString OpenFileName(const QString& filter, const QString& folder,
                         const QString& fileName) override;
    QString SaveFileName(const QString& filter, const QString& folder,
                         const QString& fileName) override;
};

}  // namespace kv
