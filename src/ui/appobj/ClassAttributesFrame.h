#pragma once
// The frame "Class Attributes Setting (0x65)" .. "(0x6A)" of a tab. A serial class and a
// TCP connection keep different attributes, but both have a connection list that switches
// the tab on or off and a "Set" that stores the frame into the working copy.

#include <QGroupBox>

namespace kv {

class ClassAttributesFrame : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    // Fills the frame from the class's record in the working copy.
    virtual void ShowStored() = 0;
    // Whether the connection list shows the connection in use (a Modbus mode, "YES").
    virtual bool ListShowsOn() const = 0;
    // The attribute text fields follow the connection list; the list and "Set" stay on.
    virtual void SetAttributeFieldsEnabled(bool enabled) = 0;

Q_SIGNALS:
    // The user chose an entry of the connection list.
    void connectionListChanged();
    // "Set" stored a connection that is in use.
    void storedConnectionOn();
};

}  // namespace kv
