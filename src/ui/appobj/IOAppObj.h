#pragma once
// The application object editor "Application Object Setting": one tab per application
// object class 0x65..0x6A. It works on the working copy of the class records, made anew
// when the window is created; "Back" throws the copy away, after asking when it was changed.

#include <QWidget>
#include <array>

class QTabWidget;

namespace kv {

class ClassTab;
struct Session;

class IOAppObj : public QWidget {
    Q_OBJECT
public:
    explicit IOAppObj(Session& session, QWidget* parent = nullptr);

Q_SIGNALS:
    void backPressed();
    void nextPressed();
    void objectViewRequested();
    void deviceViewRequested();
    void memoryMapRequested();

protected:
    // Closing the window is "Back": the same question, and No keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void Back();
    // True when leaving loses nothing unasked: the copy is as it was made, or the user
    // agreed to discard its changes.
    bool MayDiscardWorkingCopy();

    Session& session_;
    QTabWidget* SSTab1;
    std::array<ClassTab*, 6> tabs_{};
};

}  // namespace kv
