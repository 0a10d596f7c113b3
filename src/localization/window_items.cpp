#include "localization/window_items.h"

#include "common/text.h"

namespace grimsweep {

namespace {

using ui::ControlType;

enum class ItemKind { None, Caption, IndexedCaption, Tabs, Columns };

ItemKind KindOf(ControlType type) {
    switch (type) {
    case ControlType::Label:
    case ControlType::CommandButton:
    case ControlType::SkinLabel:
    case ControlType::Frame:
    case ControlType::CheckBox:
        return ItemKind::Caption;
    case ControlType::OptionButton:
    case ControlType::Menu:
        return ItemKind::IndexedCaption;
    case ControlType::TabStrip:
        return ItemKind::Tabs;
    case ControlType::ListView:
        return ItemKind::Columns;
    default:
        return ItemKind::None;
    }
}

} // namespace

void ForEachWindowItem(ui::Form& window, bool upperCase,
                       const std::function<void(const WindowItem&)>& visit) {
    const std::string prefix = (upperCase ? ToUpper(window.Name()) : window.Name()) + "_";
    for (const auto& owned : window.Controls()) {
        ui::Control& control = *owned;
        const ItemKind kind = KindOf(control.Type());
        if (kind == ItemKind::None) {
            continue;
        }
        const std::string base = prefix + (upperCase ? ToUpper(control.Name()) : control.Name());
        const std::string index = std::to_string(control.Index() < 0 ? 0 : control.Index());
        switch (kind) {
        case ItemKind::Caption: {
            // The later members of a control array get their index, so that each keeps its own text;
            // the first (or only) one keeps the bare name.
            const std::string name = control.Index() > 0 ? base + index : base;
            visit({name, control.Caption(),
                   [&control](std::string text) { control.SetCaption(std::move(text)); }});
            break;
        }
        case ItemKind::IndexedCaption:
            visit({base + index, control.Caption(),
                   [&control](std::string text) { control.SetCaption(std::move(text)); }});
            break;
        case ItemKind::Tabs:
            for (std::size_t n = 1; n <= control.Tabs().size(); ++n) {
                visit({base + "_TABS" + std::to_string(n), control.Tabs()[n - 1],
                       [&control, n](std::string text) {
                           control.SetTabCaption(static_cast<int>(n), std::move(text));
                       }});
            }
            break;
        case ItemKind::Columns:
            for (std::size_t n = 1; n <= control.Columns().size(); ++n) {
                visit({base + "_COL" + std::to_string(n), control.Columns()[n - 1].caption,
                       [&control, n](std::string text) { control.SetColumnCaption(n, std::move(text)); }});
            }
            break;
        case ItemKind::None:
            break;
        }
    }
}

} // namespace grimsweep
