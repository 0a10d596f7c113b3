// The translation items of a window: one per caption of a label, button, frame or check box, one per
// option button and menu item (with its index), one per tab and per column header. The item name is
// the window's name, "_" and the control's name, with a suffix for tabs, columns and indexes.
#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

namespace grimsweep {

// One translatable text of a window: its item name, the text it shows now, and how to change it.
struct WindowItem {
    std::string name;
    std::string text;
    std::function<void(std::string)> set;
};

// Every item of the window, in its control order. `upperCase` writes the names in upper case, as the
// template does; lookups ignore case either way.
void ForEachWindowItem(ui::Form& window, bool upperCase, const std::function<void(const WindowItem&)>& visit);

} // namespace grimsweep
