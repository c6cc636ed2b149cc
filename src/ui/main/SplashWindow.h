#pragma once
// The start-up picture with the release line, shown centred for a moment before the main
// window.

#include <QWidget>
#include <chrono>

namespace kv {

class SplashWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the splash centred, keeps the user interface alive for `length`, then closes it.
    void ShowFor(std::chrono::milliseconds length);
};

}  // namespace kv
