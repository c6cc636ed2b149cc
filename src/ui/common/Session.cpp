#include "ui/common/Session.h"

#include "config/ConfigJson.h"

namespace kv {

bool HasUnsavedChanges(const Session& session) {
    return session.Saved && ConfigToJson(*session.Saved) != ConfigToJson(session.Config);
}

void MarkSaved(Session& session) { session.Saved = session.Config; }

}  // namespace kv
