#pragma once
// The About window: product line, title, version, the gateway's picture and "OK".

#include <QDialog>

namespace kv {

class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace kv
