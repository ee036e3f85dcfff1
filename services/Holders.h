// Typed owners for Win32 handles, GDI objects and COM pointers.
// Every system object the program opens is held by one of these and released on every path.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <commctrl.h>
#include <utility>

namespace salva {

// unique_any<Traits>: a move-only owner. Traits gives the handle type, its empty value and
// how to close it.
template <typename Traits>
class unique_any {
public:
    using pointer = typename Traits::pointer;
    unique_any() noexcept = default;
    explicit unique_any(pointer p) noexcept : value_(p) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& o) noexcept : value_(o.release()) {}
    unique_any& operator=(unique_any&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~unique_any() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    void reset(pointer p = Traits::invalid()) noexcept {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = p;
    }
    pointer release() noexcept {
        pointer p = value_;
        value_ = Traits::invalid();
        return p;
    }
    // Closes the held value, then hands out its address for an API that fills it.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::invalid();
};

namespace detail {
template <typename T, typename F, F Close>
struct null_traits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { Close(p); }
};
inline void CloseHandleFn(HANDLE h) noexcept { ::CloseHandle(h); }
inline void FindCloseFn(HANDLE h) noexcept { ::FindClose(h); }
inline void RegCloseKeyFn(HKEY h) noexcept { ::RegCloseKey(h); }
inline void FreeLibraryFn(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void DeleteObjectFn(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DeleteDCFn(HDC h) noexcept { ::DeleteDC(h); }
inline void DestroyIconFn(HICON h) noexcept { ::DestroyIcon(h); }
inline void DestroyCursorFn(HCURSOR h) noexcept { ::DestroyCursor(h); }
inline void DestroyMenuFn(HMENU h) noexcept { ::DestroyMenu(h); }
inline void DestroyWindowFn(HWND h) noexcept { ::DestroyWindow(h); }
inline void ImageListDestroyFn(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
inline void SysFreeStringFn(BSTR s) noexcept { ::SysFreeString(s); }
inline void CoTaskMemFreeFn(void* p) noexcept { ::CoTaskMemFree(p); }
inline void LocalFreeFn(HLOCAL p) noexcept { ::LocalFree(p); }
inline void GlobalFreeFn(HGLOBAL p) noexcept { ::GlobalFree(p); }

struct file_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer p) noexcept { ::CloseHandle(p); }
};
struct find_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer p) noexcept { ::FindClose(p); }
};
}  // namespace detail

#define SALVA_NULL_HOLDER(name, type, fn) \
    using name = unique_any<detail::null_traits<type, decltype(&detail::fn), &detail::fn>>

SALVA_NULL_HOLDER(unique_handle, HANDLE, CloseHandleFn);
SALVA_NULL_HOLDER(unique_hkey, HKEY, RegCloseKeyFn);
SALVA_NULL_HOLDER(unique_hmodule, HMODULE, FreeLibraryFn);
SALVA_NULL_HOLDER(unique_hgdiobj, HGDIOBJ, DeleteObjectFn);
SALVA_NULL_HOLDER(unique_hdc, HDC, DeleteDCFn);
SALVA_NULL_HOLDER(unique_hicon, HICON, DestroyIconFn);
SALVA_NULL_HOLDER(unique_hcursor, HCURSOR, DestroyCursorFn);
SALVA_NULL_HOLDER(unique_hmenu, HMENU, DestroyMenuFn);
SALVA_NULL_HOLDER(unique_hwnd, HWND, DestroyWindowFn);
SALVA_NULL_HOLDER(unique_himagelist, HIMAGELIST, ImageListDestroyFn);
SALVA_NULL_HOLDER(unique_bstr, BSTR, SysFreeStringFn);
SALVA_NULL_HOLDER(unique_cotaskmem, void*, CoTaskMemFreeFn);
SALVA_NULL_HOLDER(unique_hlocal, HLOCAL, LocalFreeFn);
SALVA_NULL_HOLDER(unique_hglobal, HGLOBAL, GlobalFreeFn);
#undef SALVA_NULL_HOLDER

using unique_hfile = unique_any<detail::file_traits>;
using unique_hfind = unique_any<detail::find_traits>;

// GDI objects of a known type, so that callers need no casts.
template <typename T>
class unique_gdi {
public:
    unique_gdi() noexcept = default;
    explicit unique_gdi(T h) noexcept : h_(h) {}
    unique_gdi(const unique_gdi&) = delete;
    unique_gdi& operator=(const unique_gdi&) = delete;
    unique_gdi(unique_gdi&& o) noexcept : h_(o.release()) {}
    unique_gdi& operator=(unique_gdi&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~unique_gdi() { reset(); }
    T get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }
    void reset(T h = nullptr) noexcept {
        if (h_) ::DeleteObject(h_);
        h_ = h;
    }
    T release() noexcept { return std::exchange(h_, nullptr); }

private:
    T h_ = nullptr;
};
using unique_hfont = unique_gdi<HFONT>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hpen = unique_gdi<HPEN>;
using unique_hrgn = unique_gdi<HRGN>;

// A window's device context from GetDC / GetWindowDC, released with ReleaseDC.
class unique_window_dc {
public:
    unique_window_dc() noexcept = default;
    unique_window_dc(HWND hwnd, HDC dc) noexcept : hwnd_(hwnd), dc_(dc) {}
    static unique_window_dc client(HWND hwnd) { return unique_window_dc(hwnd, ::GetDC(hwnd)); }
    static unique_window_dc whole(HWND hwnd) { return unique_window_dc(hwnd, ::GetWindowDC(hwnd)); }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;
    unique_window_dc(unique_window_dc&& o) noexcept
        : hwnd_(o.hwnd_), dc_(std::exchange(o.dc_, nullptr)) {}
    unique_window_dc& operator=(unique_window_dc&& o) noexcept {
        if (this != &o) {
            reset();
            hwnd_ = o.hwnd_;
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    ~unique_window_dc() { reset(); }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
        dc_ = nullptr;
    }

private:
    HWND hwnd_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint/EndPaint: the window is always validated, even when drawing fails.
class paint_scope {
public:
    explicit paint_scope(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    paint_scope(const paint_scope&) = delete;
    paint_scope& operator=(const paint_scope&) = delete;
    ~paint_scope() { ::EndPaint(hwnd_, &ps_); }
    HDC dc() const noexcept { return dc_; }
    const PAINTSTRUCT& ps() const noexcept { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// SelectObject that puts the previous object back when the scope ends.
class select_scope {
public:
    select_scope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    select_scope(const select_scope&) = delete;
    select_scope& operator=(const select_scope&) = delete;
    ~select_scope() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// COM smart pointer: AddRef on copy, Release on reset, put() releases first.
template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    com_ptr(std::nullptr_t) noexcept {}
    explicit com_ptr(T* p, bool addRef = true) noexcept : p_(p) {
        if (p_ && addRef) p_->AddRef();
    }
    com_ptr(const com_ptr& o) noexcept : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    com_ptr(com_ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    com_ptr& operator=(com_ptr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~com_ptr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    void attach(T* p) noexcept {
        reset();
        p_ = p;
    }
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    template <typename U>
    HRESULT query(U** out) const noexcept {
        return p_ ? p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(out)) : E_POINTER;
    }

private:
    T* p_ = nullptr;
};

// CoInitialize / CoUninitialize paired by scope.
class co_init_scope {
public:
    explicit co_init_scope(DWORD flags = COINIT_APARTMENTTHREADED) noexcept
        : hr_(::CoInitializeEx(nullptr, flags)) {}
    co_init_scope(const co_init_scope&) = delete;
    co_init_scope& operator=(const co_init_scope&) = delete;
    ~co_init_scope() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    HRESULT result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// OleInitialize / OleUninitialize paired by scope (drag and drop, the clipboard).
class ole_init_scope {
public:
    ole_init_scope() noexcept : hr_(::OleInitialize(nullptr)) {}
    ole_init_scope(const ole_init_scope&) = delete;
    ole_init_scope& operator=(const ole_init_scope&) = delete;
    ~ole_init_scope() {
        if (SUCCEEDED(hr_)) ::OleUninitialize();
    }
    HRESULT result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// A storage medium handed out by IDataObject::GetData, released on scope end.
class unique_stgmedium : public STGMEDIUM {
public:
    unique_stgmedium() noexcept : STGMEDIUM{} {}
    unique_stgmedium(const unique_stgmedium&) = delete;
    unique_stgmedium& operator=(const unique_stgmedium&) = delete;
    ~unique_stgmedium() {
        if (tymed != TYMED_NULL) ::ReleaseStgMedium(this);
    }
};

// VARIANT cleared on scope end.
class unique_variant : public VARIANT {
public:
    unique_variant() noexcept { ::VariantInit(this); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    ~unique_variant() { ::VariantClear(this); }
    void reset() noexcept { ::VariantClear(this); }
};

}  // namespace salva

#define RETURN_IF_FAILED(expr)              \
    do {                                    \
        const HRESULT hr_ = (expr);         \
        if (FAILED(hr_)) return hr_;        \
    } while (0)

#define RETURN_LAST_ERROR_IF_FALSE(expr)                        \
    do {                                                        \
        if (!(expr)) {                                          \
            const DWORD e_ = ::GetLastError();                  \
            return e_ ? HRESULT_FROM_WIN32(e_) : E_FAIL;        \
        }                                                       \
    } while (0)
