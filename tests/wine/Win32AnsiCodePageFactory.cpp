// The system's ANSI code page under the code page contract.
#include "contract/AnsiCodePageUnderTest.h"
#include "platform/win32/Win32AnsiCodePage.h"

namespace lindqua::test {

INSTANTIATE_TEST_SUITE_P(Win32, AnsiCodePageContract,
                         ::testing::Values(AnsiCodePageFactory{
                             "Win32", [] { return std::make_unique<Win32AnsiCodePage>(); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
