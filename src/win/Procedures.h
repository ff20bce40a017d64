#pragma once
// Typed entry points: window procedures for subclassing, list-view sort
// callbacks and functions of a library loaded at run time. Callers name the
// exact function type (WNDPROC, PFNLVCOMPARE, an API's own typedef), so the
// compiler checks the calling convention where the function is handed over;
// the one untyped step the Win32 API forces (a procedure stored as LONG_PTR,
// HANDLE or FARPROC) happens only here, as a copy of the address.

#include <windows.h>

#include <cstring>
#include <type_traits>

namespace velkor::win {

// The bits of `from` as a `To` of the same size (a function address as the
// integer or handle an API stores it in, and back).
template <typename To, typename From>
To CopyBits(const From& from) {
  static_assert(sizeof(To) == sizeof(From), "a procedure address is stored whole");
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

// Makes `procedure` the window procedure of `hwnd`; answers the previous one
// (null on failure).
inline WNDPROC ReplaceWindowProcedure(HWND hwnd, WNDPROC procedure) {
  return CopyBits<WNDPROC>(::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, CopyBits<LONG_PTR>(procedure)));
}

// A window procedure kept as a window property (one subclass procedure
// serving many windows keeps each window's previous procedure so).
inline bool RememberProcedure(HWND hwnd, const char* property, WNDPROC procedure) {
  return ::SetPropA(hwnd, property, CopyBits<HANDLE>(procedure)) != FALSE;
}
inline WNDPROC RememberedProcedure(HWND hwnd, const char* property) {
  return CopyBits<WNDPROC>(::GetPropA(hwnd, property));
}

// The function `name` of a loaded library as the caller's function pointer
// type, or null.
template <typename Function>
Function LibraryEntry(HMODULE module, const char* name) {
  static_assert(std::is_pointer_v<Function> && std::is_function_v<std::remove_pointer_t<Function>>,
                "a function pointer type");
  return module ? CopyBits<Function>(::GetProcAddress(module, name)) : nullptr;
}

}  // namespace velkor::win
