#pragma once

#include <cstdint>

namespace SkinUI {

// Either a resource or file name, or a numeric resource id, in one pointer-sized value,
// following the window system's integer-resource convention: values below 0x10000 are
// ids, anything else points at a NUL-terminated wide name.
class STRINGorID {
public:
    /// Values below this are ids; names live at or above it.
    static constexpr uintptr_t kFirstNameAddress = 0x10000;

    /// A name, kept as the pointer (the text is not copied). Null reads as the id 0.
    STRINGorID(const wchar_t* name) : m_value(name) {}
    /// A resource id. Ids from 0x10000 up cannot be told from a name pointer and would be
    /// dereferenced as one, so they are stored as 0, which names no resource.
    STRINGorID(unsigned int id)
        : m_value(reinterpret_cast<const wchar_t*>(
              static_cast<uintptr_t>(id < kFirstNameAddress ? id : 0))) {}

    /// True for an id, decided on the whole pointer-sized value.
    bool IsId() const { return reinterpret_cast<uintptr_t>(m_value) < kFirstNameAddress; }
    /// The id, or 0 for a name.
    unsigned int GetId() const {
        return IsId() ? static_cast<unsigned int>(reinterpret_cast<uintptr_t>(m_value)) : 0;
    }
    /// The name, or null for an id.
    const wchar_t* GetName() const { return IsId() ? nullptr : m_value; }
    /// The raw value, fit for the window system's resource functions.
    const wchar_t* GetValue() const { return m_value; }

private:
    const wchar_t* m_value;
};

} // namespace SkinUI
