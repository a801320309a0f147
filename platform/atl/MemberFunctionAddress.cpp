#include "MemberFunctionAddress.h"

bool MemberFunctionAddress::Resolve(void* object, std::uintptr_t* code, void** self) const {
    if (IsNull() || !object)
        return false;
    char* adjusted = static_cast<char*>(object) + m_words.adjustment;
    std::uintptr_t address = m_words.code;
    if (address & 1) {
        // A virtual member: the odd value is its byte offset in the object's
        // function table, plus 1.
        char* table = *reinterpret_cast<char**>(adjusted);
        address = *reinterpret_cast<std::uintptr_t*>(table + (address - 1));
    }
    *code = address;
    *self = adjusted;
    return true;
}
