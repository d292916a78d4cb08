#pragma once
// The message-box styles and answers the presenters ask for, with the
// values of the system's MB_ and ID constants, so that portable code can
// name them and the Win32 views can pass them on unchanged.
namespace lindqua::MessageBoxFlags {

inline constexpr unsigned Ok = 0x0;                // MB_OK
inline constexpr unsigned YesNo = 0x4;             // MB_YESNO
inline constexpr unsigned IconInformation = 0x40;  // MB_ICONINFORMATION
inline constexpr unsigned SecondButtonDefault = 0x100;  // MB_DEFBUTTON2

inline constexpr int AnswerYes = 6;  // IDYES
inline constexpr int AnswerNo = 7;   // IDNO

}  // namespace lindqua::MessageBoxFlags
