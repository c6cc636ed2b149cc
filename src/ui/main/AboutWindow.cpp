#include "ui/main/AboutWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/CentreOnScreen.h"
#include "ui/common/Dialogs.h"
#include "ui/main/Pictures.h"

namespace kv {

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("About");
    setWindowTitle("About");
    setModal(false);

    auto* picture = PictureLabel(GatewayPicture, {160, 112});
    picture->setObjectName("AboutImage");
    auto* product = new QLabel("KV-9052R: DeviceNet Slave/Modbus Master Gateway");
    product->setObjectName("ProductLine");
    auto* title = new QLabel(ProgramTitle);
    title->setObjectName("AboutTitle");
    title->setStyleSheet("font-size: 20pt; font-weight: 600;");
    auto* version = new QLabel("v1.3, Jun/2018");
    version->setObjectName("AboutVersion");
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("OK");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(picture);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

// Centred on the screen rather than on the window that opened it.
void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace kv
