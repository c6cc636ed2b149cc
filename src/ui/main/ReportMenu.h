#pragma once
// The main window's "Export Report...": the commissioning report of what is loaded, with
// the site, customer, device tag and engineer asked first.

#include <functional>

class QMenu;
class QWidget;

namespace kv {

struct Session;

// Adds the entry to `file`. It does nothing while `loaded` says there is no configuration
// (before a read-out or an opened file, and while a read-out runs).
void AddExportReport(QMenu& file, Session& session, QWidget& window, std::function<bool()> loaded);

}  // namespace kv
