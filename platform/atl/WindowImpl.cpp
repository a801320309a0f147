#include "WindowImpl.h"

#include "AppModule.h"

#include <string>

namespace {

// The object whose window this thread is creating: CreateWindowEx gives no
// way to hand it to the first message (WM_GETMINMAXINFO comes before the
// creation data).
thread_local CWindowImplRoot* t_creatingWindow = nullptr;

std::string SuperclassName(const char* baseClassName) {
    return std::string("Brc:") + baseClassName;
}

// Registers, once per module, a class that behaves as the base class but
// starts in our own procedure. Returns the base class's procedure.
WNDPROC RegisterSuperclass(const char* baseClassName, WNDPROC startProc) {
    const HINSTANCE instance = ModuleInstanceForClasses();
    WNDCLASSEXA base = {};
    base.cbSize = sizeof(base);
    if (!::GetClassInfoExA(instance, baseClassName, &base) &&
        !::GetClassInfoExA(nullptr, baseClassName, &base))
        return nullptr;

    const std::string name = SuperclassName(baseClassName);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, name.c_str(), &existing))
        return base.lpfnWndProc;

    WNDCLASSEXA super = base;
    super.lpfnWndProc = startProc;
    super.hInstance = instance;
    super.lpszClassName = name.c_str();
    // Another thread may have registered it in the meantime; that is as good.
    if (!::RegisterClassExA(&super) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return base.lpfnWndProc;
}

} // namespace

HWND CWindowImplRoot::CreateSuperclassed(const char* baseClassName, HWND parent, const RECT& rect,
                                         const char* windowName, DWORD style, DWORD exStyle,
                                         HMENU menu, void* param) {
    if (m_hWnd || !baseClassName)
        return nullptr;
    const WNDPROC superProc = RegisterSuperclass(baseClassName, StartWindowProc);
    if (!superProc)
        return nullptr;
    m_superWindowProc = superProc;
    m_mapDetached = false;

    t_creatingWindow = this;
    const HWND window =
        ::CreateWindowExA(exStyle, SuperclassName(baseClassName).c_str(), windowName, style,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parent, menu, ModuleInstanceForClasses(), param);
    t_creatingWindow = nullptr;
    return window;
}

LRESULT CWindowImplRoot::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(m_superWindowProc, m_hWnd, message, wParam, lParam);
}

BOOL CWindowImplRoot::DestroyWindowWithoutMap() {
    if (!m_hWnd)
        return FALSE;
    m_mapDetached = true;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWindowImplRoot::StartWindowProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    CWindowImplRoot* self = t_creatingWindow;
    if (!self)
        return ::DefWindowProcA(window, message, wParam, lParam);
    t_creatingWindow = nullptr;
    self->m_hWnd = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->GetWindowProc()));
    return WindowProc(window, message, wParam, lParam);
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<CWindowImplRoot*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(window, message, wParam, lParam);

    LRESULT result = 0;
    if (self->m_mapDetached ||
        !self->ProcessWindowMessage(window, message, wParam, lParam, result, 0))
        result = self->DefWindowProc(message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(window);
    }
    return result;
}
