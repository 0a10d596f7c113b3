// The splash window: shown first, it hands over to the main window after 75 ticks of its timer. It is
// hidden, not unloaded, afterwards.
#pragma once

#include <cstdint>

#include "ui/form.h"

namespace grimsweep {

class Context;
class MainWindow;

inline constexpr int kSplashTimerInterval = 2;        // milliseconds; the system raises it to its resolution
inline constexpr std::int16_t kSplashLastCount = 148; // the 75th tick sees this value before adding 2

class Splash {
public:
    Splash(Context& context, MainWindow& mainWindow);

    void Show();
    ui::Form& Window() { return form_; }
    std::int16_t Ticks() const { return counter_; }

private:
    void OnTick();

    Context& context_;
    MainWindow& mainWindow_;
    ui::Form form_;
    std::int16_t counter_ = 0;
};

} // namespace grimsweep
