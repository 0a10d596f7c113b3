// Message boxes as the program asks for them.
#pragma once

#include <string>

namespace grimsweep {

enum class MessageBoxButtons { Ok, YesNo, AbortRetryIgnore };
enum class MessageBoxIcon { None, Information, Question, Exclamation, Critical };
enum class MessageBoxAnswer { Ok, Yes, No, Abort, Retry, Ignore };

struct MessageBoxRequest {
    std::string text;
    std::string title;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
    MessageBoxIcon icon = MessageBoxIcon::None;
};

} // namespace grimsweep
