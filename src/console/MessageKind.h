#pragma once
// Whether a message reports a failure or informs, decided where the message is made and
// carried with it: a box's icon follows this, never its title's words.

namespace kv {

enum class MessageKind { Information, Error };

}  // namespace kv
