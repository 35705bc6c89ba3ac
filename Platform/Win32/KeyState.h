#pragma once
// The layer's keyboard bookkeeping, fed by the message queue.
#include <string_view>

#include "Platform/Win32/Messages.h"

namespace win32 {

// Called for every message taken from the queue: key and button messages move the key state, and a
// key message's typed text becomes what ToUnicode returns until the next key message.
void TrackInputMessage(const MSG& message, std::u16string_view text);

}  // namespace win32
