#include "shell/skin.h"

namespace grimsweep {

void ApplySkin(ui::Form& window, const Skin& skin) {
    using ui::ControlType;
    if (skin.resetRegion) {
        window.ResetRegion();
    }
    for (const auto& control : window.Controls()) {
        switch (control->Type()) {
        case ControlType::CommandButton:
            control->SetBackColor(skin.first);
            break;
        case ControlType::TextBox:
        case ControlType::ComboBox:
        case ControlType::ListView:
            control->SetBackColor(skin.first);
            control->SetForeColor(skin.second);
            break;
        case ControlType::PictureBox:
            control->SetBackColor(skin.third);
            break;
        default:
            break;
        }
    }
}

bool NeedsRegionReset(const OsVersion& version) {
    return version.platformId == kPlatformNt && version.major > 5;
}

} // namespace grimsweep
