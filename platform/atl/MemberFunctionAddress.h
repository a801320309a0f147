#pragma once
// The address of a __stdcall member function, kept apart from its type so
// that handlers with different parameter lists fit in one table and can be
// called through DispCallFunc, which takes a plain code address.
//
// It holds the compiler's own two-word form of a pointer to member function
// (the Itanium C++ ABI that GCC uses on i686 Windows): the code address, or
// for a virtual function its table offset plus 1, and the adjustment that
// turns a pointer to the class into the `this` the function expects.

#include <cstddef>
#include <cstdint>
#include <cstring>

class MemberFunctionAddress {
public:
    constexpr MemberFunctionAddress() = default;

    // Only __stdcall members are accepted: DispCallFunc calls them with
    // CC_STDCALL and `this` as their first stack argument.
    template <class C, class R, class... A>
    static MemberFunctionAddress Of(R (__stdcall C::*member)(A...)) {
        static_assert(sizeof member == sizeof(Words), "pointer to member is not two words");
        MemberFunctionAddress address;
        std::memcpy(&address.m_words, &member, sizeof member);
        return address;
    }

    bool IsNull() const { return m_words.code == 0; }

    // For an object of the class the member was taken from: the code address
    // to call and the `this` to pass it. Returns false for a null member.
    bool Resolve(void* object, std::uintptr_t* code, void** self) const;

private:
    struct Words {
        std::uintptr_t code;
        std::ptrdiff_t adjustment;
    };
    Words m_words{};
};
