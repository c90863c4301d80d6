#pragma once

#include <cstdint>

// Kind of a log entry and of a message to the user.
enum tTK_MessageType : uint8_t { let_info, let_error };
