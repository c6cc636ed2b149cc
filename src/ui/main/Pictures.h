#pragma once
// The program's own pictures (SVG in assets/assets.qrc), drawn sharp at any scaling.

#include <QSize>

class QLabel;

namespace kv {

inline const char* const GatewayPicture = ":/assets/gateway.svg";
inline const char* const ControllerPicture = ":/assets/controller.svg";
inline const char* const CanPortPicture = ":/assets/port-can.svg";
inline const char* const ComPortPicture = ":/assets/port-com.svg";
inline const char* const EthernetPortPicture = ":/assets/port-ethernet.svg";
inline const char* const SplashPicture = ":/assets/splash.svg";
inline const char* const AppIconPicture = ":/assets/kv9052r-utility.svg";

// Registers the pictures; they live in a static library, whose resources a program does
// not pick up on its own. Safe to call more than once.
void LoadPictures();

// A label showing the picture at `size` logical pixels, rendered for the screen's scaling.
QLabel* PictureLabel(const char* resource, QSize size);

}  // namespace kv
