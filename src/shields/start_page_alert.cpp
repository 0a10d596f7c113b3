#include "shields/start_page_alert.h"

#include <algorithm>

#include "core/context.h"

namespace grimsweep {

namespace {
constexpr std::string_view kProductNameLabel = "lblFrmHomePageProductName";
constexpr std::string_view kChanged = " has detected that your Homepage has been changed.";
constexpr std::string_view kKeepQuestion = "Click YES to keep your homepage as:";
constexpr std::string_view kChangeQuestion = "Click No to change your homepage to:";
constexpr std::string_view kLineBreak = "\r\n";
constexpr int kWidth = 6600;
constexpr int kHeight = 4200;
} // namespace

std::string StartPageQuestion(const std::string& programName, const std::string& protectedPage,
                              const std::string& currentPage) {
    std::string text = programName;
    text.append(kChanged).append(kLineBreak).append(kLineBreak);
    text.append(kKeepQuestion).append(kLineBreak).append(protectedPage).append(kLineBreak).append(kLineBreak);
    text.append(kChangeQuestion).append(kLineBreak).append(currentPage);
    return text;
}

StartPageAlert::StartPageAlert(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kStartPageAlertName)) {
    using ui::ControlType;
    // Above every window, the main window in the tray included: the question must be seen.
    form_.SetStyle({.topMost = true});
    form_.Move(0, 0, kWidth, kHeight);
    ui::Control& name = form_.Add(std::string(kProductNameLabel), ControlType::Label);
    name.SetBold(true);
    name.Move(240, 180, 6000, 300);
    form_.Add(std::string(kStartPageAlertInfo), ControlType::Label).Move(240, 600, 6000, 2400);
    ui::Control& yes = form_.Add("cmdYes", ControlType::CommandButton);
    yes.SetCaption("Yes");
    yes.Move(3360, 3120, 1320, 420);
    yes.onClick = [this] { Answer(onYes); };
    ui::Control& no = form_.Add("cmdNo", ControlType::CommandButton);
    no.SetCaption("No");
    no.Move(4920, 3120, 1320, 420);
    no.onClick = [this] { Answer(onNo); };
    form_.onLoad = [this] { OnLoad(); };
}

void StartPageAlert::OnLoad() {
    form_.SetCaption(context_.brand.programName);
    form_.SetIconResource(std::string(kWindowIconResource));
    form_.Get(kProductNameLabel).SetCaption(context_.brand.programName);
    // In the middle of the screen: the main window may be hidden in the tray.
    const ScreenRect desktop = context_.host.DesktopRect();
    const int left =
        static_cast<int>((desktop.right - desktop.left) * context_.host.TwipsPerPixelX()) - kWidth;
    const int top =
        static_cast<int>((desktop.bottom - desktop.top) * context_.host.TwipsPerPixelY()) - kHeight;
    form_.Move(std::max(left / 2, 0), std::max(top / 2, 0), kWidth, kHeight);
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void StartPageAlert::Ask(const std::string& question) {
    form_.Get(kStartPageAlertInfo).SetCaption(question);
    form_.Show(true);
}

void StartPageAlert::Answer(const std::function<void()>& answer) {
    if (answer) {
        answer();
    }
    form_.Unload();
}

} // namespace grimsweep
