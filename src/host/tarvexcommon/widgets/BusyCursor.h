#pragma once
// The busy cursor for the length of a scope; the previous cursor comes back
// even when the work throws.

namespace tarvex {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active = false;
};

} // namespace tarvex
