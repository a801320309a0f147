#pragma once
// Owns one icon loaded for a window (LoadImage without LR_SHARED) and
// destroys it once. Move-only. A window only borrows the icons it is sent,
// so their owner destroys them after the window is gone.

#include <windows.h>

class CIconHandle {
public:
    CIconHandle() = default;
    explicit CIconHandle(HICON icon) : m_icon(icon) {}
    CIconHandle(CIconHandle&& other) noexcept : m_icon(other.Detach()) {}
    CIconHandle& operator=(CIconHandle&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CIconHandle(const CIconHandle&) = delete;
    CIconHandle& operator=(const CIconHandle&) = delete;
    ~CIconHandle() { Destroy(); }

    operator HICON() const { return m_icon; }

    void Attach(HICON icon) {
        Destroy();
        m_icon = icon;
    }
    HICON Detach() {
        HICON icon = m_icon;
        m_icon = nullptr;
        return icon;
    }
    void Destroy() {
        if (m_icon)
            ::DestroyIcon(m_icon);
        m_icon = nullptr;
    }

private:
    HICON m_icon = nullptr;
};
