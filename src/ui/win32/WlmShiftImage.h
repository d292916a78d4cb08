#pragma once
// TWlmShiftImage: a picture that acts as a button. It shows its focused
// picture while the mouse is over it and its unfocused one otherwise, shifts
// 2 pixels down and right while pressed, and, unlike a bare picture, takes
// the keyboard focus so that Space and Enter press it as they press any
// button. A press sends its parent WM_COMMAND with BN_CLICKED.
#include <windows.h>

namespace lindqua {

inline constexpr wchar_t ShiftImageClassName[] = L"LindquaShiftImage";

// Messages of the control. The pictures are copied: the caller keeps its own.
inline constexpr UINT SIM_SETFOCUSEDPICTURE = WM_USER + 1;    // lParam: HBITMAP
inline constexpr UINT SIM_SETNOFOCUSEDPICTURE = WM_USER + 2;  // lParam: HBITMAP
inline constexpr UINT SIM_GETSHOWNPICTURE = WM_USER + 3;      // answers a ShownPicture
inline constexpr int ShiftImagePressOffset = 2;

enum class ShownPicture : LRESULT { None = 0, NoFocused = 1, Focused = 2 };

// Registers the window class once per process; false when it cannot.
[[nodiscard]] bool RegisterShiftImageClass();

}  // namespace lindqua
