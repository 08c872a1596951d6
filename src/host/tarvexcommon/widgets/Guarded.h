#pragma once
// Runs a window's action so that what it throws reaches the user instead of
// the event loop: the error's text through the dialogs service, nothing for
// a silent abort.

#include <functional>
#include <utility>

namespace tarvex {

// Runs the work and shows what it throws. True when it ran through.
bool guarded(const std::function<void()>& work);

// The same as a slot:
//   connect(button, &QPushButton::clicked, this, guardedSlot([this] { ... }));
template <class Work>
auto guardedSlot(Work work)
{
    return [work = std::move(work)] { (void)guarded(work); };
}

} // namespace tarvex
