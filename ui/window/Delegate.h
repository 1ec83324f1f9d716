// Delegates: callables taking one untyped pointer and returning bool, kept by event
// sources. A delegate is compared by the callable it stores: a member function does not
// fit a plain pointer, so it is never squeezed into one.
#pragma once

#include <windows.h>

#include <new>
#include <typeinfo>

namespace SkinUI {

class CDelegateBase {
public:
    CDelegateBase(void* object, void* function) : m_pObject(object), m_pFn(function) {}
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = default;
    virtual ~CDelegateBase() = default;

    /// A new heap copy of this delegate; null when memory runs out.
    virtual CDelegateBase* Clone() const = 0;
    /// Calls the stored callable.
    virtual bool Call(void* param) = 0;

    /// Same kind of delegate, same object and same callable.
    bool Equals(const CDelegateBase& other) const {
        return typeid(*this) == typeid(other) && m_pObject == other.m_pObject &&
               m_pFn == other.m_pFn && SameCallable(other);
    }
    bool operator()(void* param) { return Call(param); }

    /// The object a member function is called on; null for free functions.
    void* GetObject() const { return m_pObject; }
    /// The free function; null for member functions, which only their delegate can hold.
    void* GetFn() const { return m_pFn; }

protected:
    /// Compares what only the derived class knows; other is of the same type.
    virtual bool SameCallable(const CDelegateBase&) const { return true; }

private:
    void* m_pObject;
    void* m_pFn;
};

/// Wraps a free function.
class CDelegateStatic : public CDelegateBase {
public:
    using Function = bool (*)(void*);

    explicit CDelegateStatic(Function function)
        : CDelegateBase(nullptr, reinterpret_cast<void*>(function)), m_pStaticFn(function) {}

    CDelegateBase* Clone() const override { return new (std::nothrow) CDelegateStatic(*this); }
    bool Call(void* param) override { return m_pStaticFn != nullptr && m_pStaticFn(param); }

private:
    Function m_pStaticFn;
};

/// Wraps a member function of T called on an O.
template <class O, class T> class CDelegate : public CDelegateBase {
public:
    using Function = bool (T::*)(void*);

    CDelegate(O* object, Function function)
        : CDelegateBase(object, nullptr), m_pTarget(object), m_pMemberFn(function) {}

    CDelegateBase* Clone() const override { return new (std::nothrow) CDelegate(*this); }
    bool Call(void* param) override { return (m_pTarget->*m_pMemberFn)(param); }

protected:
    bool SameCallable(const CDelegateBase& other) const override {
        return m_pMemberFn == static_cast<const CDelegate&>(other).m_pMemberFn;
    }

private:
    O* m_pTarget;
    Function m_pMemberFn;
};

template <class O, class T> CDelegate<O, T> MakeDelegate(O* object, bool (T::*function)(void*)) {
    return CDelegate<O, T>(object, function);
}

inline CDelegateStatic MakeDelegate(bool (*function)(void*)) {
    return CDelegateStatic(function);
}

} // namespace SkinUI
