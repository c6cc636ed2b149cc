#include "ui/main/Pictures.h"

#include <QIcon>
#include <QLabel>

// Q_INIT_RESOURCE names a function of the global namespace.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

namespace kv {

void LoadPictures() {
    static const bool registered = (RegisterAssets(), true);
    Q_UNUSED(registered);
}

QLabel* PictureLabel(const char* resource, QSize size) {
    LoadPictures();
    auto* label = new QLabel;
    // QIcon renders the SVG at the device pixel ratio, so 200% stays sharp.
    label->setPixmap(QIcon(resource).pixmap(size, label->devicePixelRatioF()));
    label->setFixedSize(size);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace kv
