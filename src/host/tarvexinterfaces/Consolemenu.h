#pragma once
// Where the console puts a module's action: an action of the viewer's
// GetActionList whose property of this name reads "file" goes into the
// console's file menu ("Datoteka") instead of the module's own menu.

namespace tarvex {

inline constexpr const char* kConsoleMenuProperty = "tarvexConsoleMenu";

} // namespace tarvex
