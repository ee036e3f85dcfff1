// The mouse pointer for the span of a piece of work: the hourglass (or the arrow with
// hourglass) while it runs, the normal arrow on every way out.
#pragma once
#include <windows.h>

namespace salva {

class wait_cursor_scope {
public:
    explicit wait_cursor_scope(const wchar_t* shape = IDC_WAIT) { Show(shape); }
    ~wait_cursor_scope() { Show(IDC_ARROW); }
    wait_cursor_scope(const wait_cursor_scope&) = delete;
    wait_cursor_scope& operator=(const wait_cursor_scope&) = delete;

    static void Show(const wchar_t* shape) { ::SetCursor(::LoadCursorW(nullptr, shape)); }
};

}  // namespace salva
