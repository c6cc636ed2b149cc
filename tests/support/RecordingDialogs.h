#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "ui/common/Dialogs.h"

namespace kv::test {

// Records every message shown and answers questions and file dialogs from a script.
class RecordingDialogs : public Dialogs {
public:
    struct Shown {
        QString Text;
        QString Title;
        MessageKind Icon = MessageKind::Information;
        QString Details = {};
    };

    void ShowMessage(const QString& text, const QString& title, MessageKind kind,
                     const QString& details) override {
        Messages.append({text, title, kind, details});
        if (WhileMessageShown) WhileMessageShown();
    }
    bool AskYesNo(const QString& text, const QString& title) override {
        Questions.append({text, title});
        return YesNoAnswers.isEmpty() ? false : YesNoAnswers.takeFirst();
    }
    bool Confirm(const QString& text, const QString& title, const QString&) override {
        Questions.append({text, title});
        return YesNoAnswers.isEmpty() ? false : YesNoAnswers.takeFirst();
    }
    UnsavedChoice AskToSaveChanges(const QString& text, const QString& title) override {
        Questions.append({text, title});
        return UnsavedAnswers.isEmpty() ? UnsavedChoice::Cancel : UnsavedAnswers.takeFirst();
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override {
        return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
    }
    QString SaveFileName(const QString&, const QString&, const QString&) override {
        return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
    }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const auto& m : Messages) texts << m.Text;
        return texts;
    }

    QList<Shown> Messages;
    QList<Shown> Questions;
    QList<bool> YesNoAnswers;  // answers to AskYesNo and Confirm, in order; No when empty
    QStringList FileAnswers;   // answers to the file dialogs; cancel when empty
    QList<UnsavedChoice> UnsavedAnswers;  // Cancel when empty
    // Runs before a message box is answered: a user reading it.
    std::function<void()> WhileMessageShown;
};

}  // namespace kv::test
