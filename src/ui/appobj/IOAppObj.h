#pragma once
// The application object editor "Application Object Setting": one tab per application
// object class 0x65..0x6A. It works on the working copy of the class records, made anew
// when the window is created; "Back" throws the copy away.

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
    // Closing the window leaves the editor like "Back": the edits are thrown away.
    void closeEvent(QCloseEvent* event) override;

private:
    void Back();

    Session& session_;
    QTabWidget* SSTab1;
    std::array<ClassTab*, 6> tabs_{};
};

}  // namespace kv
