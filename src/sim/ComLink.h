#pragma once
// Publishes the virtual gateway as "COM n": a link named after the port in the user's
// port folder that points at the pseudo-terminal, where the utility's port naming looks.

#include <QString>

namespace kv::sim {

class ComLink {
public:
    ComLink() = default;
    ~ComLink() { Remove(); }
    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;

    // Creates the link for COM `number` to `device`, the folder too when missing. A link
    // left behind by a gateway that is gone is replaced; one to a device that is present
    // belongs to another gateway and is left alone (false, with the reason in `error`).
    bool Publish(int number, const QString& device, QString& error);
    // Removes the link, unless it no longer points at this gateway's device.
    void Remove();
    QString Path() const { return path_; }

private:
    QString path_;
    QString device_;
};

}  // namespace kv::sim
