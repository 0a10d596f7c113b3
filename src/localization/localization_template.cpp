#include "localization/localization_template.h"

#include "common/text.h"
#include "localization/window_items.h"
#include "ui/form.h"

namespace grimsweep {

namespace {

constexpr const char* kDescription =
    "<DESCRIPTION>This file contains various translations of program buttons, messages and menus in XML "
    "format.  The original document was created using translation software, and may sound strange when "
    "read by people.  We invite you to make modifications to existing languages and translate new "
    "languages.  Please send them to us so that we can update this file and make your translation "
    "available to all users.  Our current email address is located on our homepage which can be visited "
    "through the software or our program folder on your Start Menu.  Before making changes to a "
    "localization file please use the program to download the most recent localization file using the "
    "'Check for Language Updates' button in the Languages window.</DESCRIPTION>";

std::string ItemLine(const std::string& name, const std::string& text) {
    return "\t\t<" + name + ">" + text + "</" + name + ">";
}

} // namespace

std::vector<std::string> LocalizationTemplateLines(const IUiHost& host, const MessageCatalogue& messages) {
    std::vector<std::string> lines = {
        R"(<?xml version="1.0" encoding="UTF-8"?>)",
        "<XML_DIZ_INFO>",
        "\t<LOCALIZATION_FILE_INFO>",
        "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>",
        "\t</LOCALIZATION_FILE_INFO>",
        R"(<LANGUAGE_GROUP xml:lang="en">)",
        "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>",
        std::string("\t") + kDescription,
        "\t<TRANSLATION_ITEMS>",
    };
    for (ui::Form* window : ui::WindowsOf(host)) {
        ForEachWindowItem(*window, true, [&lines](const WindowItem& item) {
            lines.push_back(ItemLine(item.name, item.text));
        });
    }
    for (std::size_t i = 0; i < messages.Count(); ++i) {
        lines.push_back(ItemLine(ToUpper(messages.KeyAt(i)), messages.MessageAt(i)));
    }
    lines.emplace_back("\t</TRANSLATION_ITEMS>");
    lines.emplace_back("</LANGUAGE_GROUP>");
    lines.emplace_back("</XML_DIZ_INFO>");
    return lines;
}

} // namespace grimsweep
