// Delegates: callables taking one untyped pointer and returning bool, kept by
// event sources. A delegate is compared by the callable it stores, so member
// functions (which do not fit a plain pointer) compare correctly.
#pragma once

#include <typeinfo>

namespace SkinUI {

class CDelegateBase {
public:
    CDelegateBase(void* object, void* function) : object_(object), function_(function) {}
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = default;
    virtual ~CDelegateBase() = default;

    // A new heap copy of this delegate.
    virtual CDelegateBase* Clone() const = 0;
    // Calls the stored callable.
    virtual bool Call(void* param) = 0;

    // Same kind of delegate, same object and same callable.
    bool Equals(const CDelegateBase& other) const {
        return typeid(*this) == typeid(other) && object_ == other.object_ &&
               function_ == other.function_ && SameCallable(other);
    }
    bool operator()(void* param) { return Call(param); }

    void* GetObject() const { return object_; }
    void* GetFn() const { return function_; }

protected:
    // Compares what only the derived class knows; other is of the same type.
    virtual bool SameCallable(const CDelegateBase&) const { return true; }

private:
    void* object_;   // null for free functions
    void* function_; // free function; null for member functions
};

// Wraps a free function.
class CDelegateStatic : public CDelegateBase {
public:
    using Function = bool (*)(void*);

    explicit CDelegateStatic(Function function)
        : CDelegateBase(nullptr, reinterpret_cast<void*>(function)), function_(function) {}

    CDelegateBase* Clone() const override { return new CDelegateStatic(*this); }
    bool Call(void* param) override { return function_ != nullptr && function_(param); }

private:
    Function function_;
};

// Wraps a member function of T called on an O.
template <class O, class T>
class CDelegate : public CDelegateBase {
public:
    using Function = bool (T::*)(void*);

    CDelegate(O* object, Function function)
        : CDelegateBase(object, nullptr), object_(object), function_(function) {}

    CDelegateBase* Clone() const override { return new CDelegate(*this); }
    bool Call(void* param) override { return (object_->*function_)(param); }

protected:
    bool SameCallable(const CDelegateBase& other) const override {
        return function_ == static_cast<const CDelegate&>(other).function_;
    }

private:
    O* object_;
    Function function_;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* object, bool (T::*function)(void*)) {
    return CDelegate<O, T>(object, function);
}

inline CDelegateStatic MakeDelegate(bool (*function)(void*)) { return CDelegateStatic(function); }

} // namespace SkinUI
