// The template of a localization file: one English language group holding every item of every window
// of the program and every catalogue message, with the texts they show now.
#pragma once

#include <string>
#include <vector>

#include "core/message_catalogue.h"
#include "ui/ui_host.h"

namespace grimsweep {

// The template's lines, without line ends, in the order the program's windows were made.
std::vector<std::string> LocalizationTemplateLines(const IUiHost& host, const MessageCatalogue& messages);

} // namespace grimsweep
