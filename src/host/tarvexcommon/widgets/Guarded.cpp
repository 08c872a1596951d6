#include "Guarded.h"

#include "Dialogs.h"
#include "Error.h"

namespace tarvex {

bool guarded(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const TarvexError& e) {
        dialogs().showException(e);
    } catch (const std::exception& e) {
        // Not one of ours (the library's, the allocator's): shown as unexpected.
        dialogs().showException(e);
    }
    return false;
}

} // namespace tarvex
