#pragma once
// Interfaces between the console, the snap-in modules and their services, in
// the COM style: reference counting and query-interface in slots 0 to 2, then
// the operations in a fixed slot order. There is no virtual destructor (it
// would take a slot); objects free themselves when the last reference goes.
// Reserved operations fill the slots no module calls, so that every slot
// number holds in the C++ virtual table.

#include <QString>
#include <QUuid>
#include <QList>
#include <cstddef>
#include <cstring>
#include <utility>

class QAction;
class QImage;
class QTableView;
class QWidget;

namespace tarvex {

using HResult = long;
inline constexpr HResult kOk = 0;
inline constexpr HResult kNoInterface = 0x80004002L;

// Identifiers of the host's own interfaces.
inline constexpr QUuid IID_IInterface{0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
inline constexpr QUuid IID_IConsole{0x6E1B7D10, 0x2C41, 0x4F0B, 0x9A, 0x53, 0x41, 0x0C, 0x7E, 0x21, 0x0B, 0x01};
inline constexpr QUuid IID_ISnapinFactory{0x6E1B7D10, 0x2C41, 0x4F0B, 0x9A, 0x53, 0x41, 0x0C, 0x7E, 0x21, 0x0B, 0x02};
inline constexpr QUuid IID_ISnapin{0x6E1B7D10, 0x2C41, 0x4F0B, 0x9A, 0x53, 0x41, 0x0C, 0x7E, 0x21, 0x0B, 0x03};
inline constexpr QUuid IID_IViewer{0x308DC058, 0x773F, 0x4EB7, 0xA0, 0x4E, 0x67, 0x72, 0xC8, 0xA3, 0x5D, 0x60};
inline constexpr QUuid IID_INavigable{0xAAFF7BDF, 0x545F, 0x48E3, 0x94, 0x86, 0x96, 0x55, 0x67, 0x89, 0x06, 0xC3};
inline constexpr QUuid IID_IOptionsTab{0x29280858, 0x1CC9, 0x415D, 0xB0, 0xE5, 0x46, 0x68, 0xE3, 0xCC, 0xEC, 0x11};

// Slots 0, 1, 2.
class IInterface {
public:
    virtual HResult QueryInterface(const QUuid& iid, void** object) = 0;
    virtual int AddRef() = 0;
    virtual int Release() = 0;

protected:
    ~IInterface() = default;
};

// Holds one reference; copies add references, destruction releases.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    explicit ComPtr(T* object) : m_ptr(object) { if (m_ptr) m_ptr->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_ptr) {}
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(ComPtr other) noexcept { std::swap(m_ptr, other.m_ptr); return *this; }

    // Takes over a reference the caller already owns (an out-parameter).
    static ComPtr adopt(T* object) { ComPtr p; p.m_ptr = object; return p; }

    void reset() { if (T* p = std::exchange(m_ptr, nullptr)) p->Release(); }
    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

    // Asks the object for another interface; empty when it has none.
    template <class U>
    ComPtr<U> query(const QUuid& iid) const
    {
        void* out = nullptr;
        if (m_ptr && m_ptr->QueryInterface(iid, &out) == kOk && out)
            return ComPtr<U>::adopt(static_cast<U*>(out));
        return ComPtr<U>();
    }

private:
    T* m_ptr = nullptr;
};

// Reference counting and query-interface for an object offering one
// interface `I` whose identifier is `iid`. Objects start with no reference;
// the first ComPtr takes one and the last Release frees the object.
template <class I, const QUuid& iid>
class ComObject : public I {
public:
    HResult QueryInterface(const QUuid& asked, void** object) override
    {
        if (asked == iid || asked == IID_IInterface) {
            *object = static_cast<I*>(this);
            this->AddRef();
            return kOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    int AddRef() override { return ++m_refs; }
    int Release() override
    {
        const int left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    // Virtual, after the interface's slots: the slot numbers stay as declared.
    virtual ~ComObject() = default;

private:
    int m_refs = 0;
};

class ISnapin;

// The console. The module calls slots 4, 8, 14 and 26.
class IConsole : public IInterface {
public:
    virtual QWidget* MainWindow() = 0;                                          // 3
    virtual void RunWizard(const QString& name, const QString& parameters) = 0; // 4
    virtual void Reserved5() = 0;                                               // 5
    virtual void Reserved6() = 0;                                               // 6
    virtual void Reserved7() = 0;                                               // 7
    virtual QTableView* GetActiveGrid() = 0;                                    // 8
    virtual void Reserved9() = 0;
    virtual void Reserved10() = 0;
    virtual void Reserved11() = 0;
    virtual void Reserved12() = 0;
    virtual void Reserved13() = 0;
    // True and a referenced interface when a loaded module offers it.
    virtual bool FindService(const QUuid& iid, IInterface** service) = 0;      // 14
    virtual void Reserved15() = 0;
    virtual void Reserved16() = 0;
    virtual void Reserved17() = 0;
    virtual void Reserved18() = 0;
    virtual void Reserved19() = 0;
    virtual void Reserved20() = 0;
    virtual void Reserved21() = 0;
    virtual void Reserved22() = 0;
    virtual void Reserved23() = 0;
    virtual void Reserved24() = 0;
    virtual void Reserved25() = 0;
    virtual void SetActiveGrid(QTableView* grid) = 0;                           // 26

protected:
    ~IConsole() = default;
};

class ISnapinFactory : public IInterface {
public:
    virtual HResult CreateSnapin(IConsole* console, ISnapin** snapin) = 0;      // 3

protected:
    ~ISnapinFactory() = default;
};

class ISnapin : public IInterface {
public:
    virtual QString GetName() = 0;          // 3
    virtual QString GetDescription() = 0;   // 4
    virtual QImage GetImage() = 0;          // 5
    virtual int GetSnapinType() = 0;        // 6

protected:
    ~ISnapin() = default;
};

// The list view a snap-in shows in the console.
class IViewer : public IInterface {
public:
    virtual QWidget* GetFrame() = 0;                 // 3: creates the window on first use
    virtual void FreeFrame() = 0;                    // 4
    virtual void Load(ISnapin* snapin) = 0;          // 5
    virtual void Show() = 0;                         // 6
    virtual void Hide() = 0;                         // 7
    virtual QList<QAction*> GetActionList() = 0;     // 8
    virtual int GetViewerType() = 0;                 // 9

protected:
    ~IViewer() = default;
};

// The search panel beside the list.
class INavigable : public IInterface {
public:
    virtual QWidget* GetNavigatorFrame() = 0;        // 3
    virtual void DestroyNavigatorFrame() = 0;        // 4
    virtual void ShowNavigator() = 0;                // 5
    virtual void HideNavigator() = 0;                // 6

protected:
    ~INavigable() = default;
};

// A module's page in the console's options dialog.
class IOptionsTab : public IInterface {
public:
    virtual QWidget* CreateFrame() = 0;              // 3
    virtual void DestroyFrame() = 0;                 // 4
    virtual bool CheckValues() = 0;                  // 5
    virtual void Update() = 0;                       // 6
    virtual QString GetTabCaption() = 0;             // 7

protected:
    ~IOptionsTab() = default;
};

// The virtual-table slot of a member function pointer (Itanium C++ ABI: a
// pointer to a virtual member holds 1 + the slot's byte offset).
template <class C, class F>
int vtableSlot(F C::*member)
{
    static_assert(sizeof(member) == 2 * sizeof(void*), "Itanium member function pointer expected");
    std::ptrdiff_t raw;
    std::memcpy(&raw, &member, sizeof raw);
    return raw & 1 ? int((raw - 1) / std::ptrdiff_t(sizeof(void*))) : -1;
}

} // namespace tarvex
