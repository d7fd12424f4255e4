#include "app/popup_menu_gate.h"

#include <algorithm>
#include <utility>

#include "app/floating_window.h"

namespace orvika2 {

bool PopupMenuGate::RunsNow(std::uintptr_t timerId) {
    if (!open_ || ActionForTimer(timerId) == TimerAction::None) return true;
    if (std::find(held_.begin(), held_.end(), timerId) == held_.end()) held_.push_back(timerId);
    return false;
}

std::vector<std::uintptr_t> PopupMenuGate::MenuClosed() {
    open_ = false;
    return std::exchange(held_, {});
}

}  // namespace orvika2
