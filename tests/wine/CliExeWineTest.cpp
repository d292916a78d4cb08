// The real lindqua-cli.exe, started as a child process with its standard
// output and error on pipes, as a script or a fleet tool would run it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"
#include "support/JsonCheck.h"
#include "wine/ShellLinkFile.h"
#include "wine/WineTrash.h"

namespace lindqua::test {

namespace {

// The build passes the program's Linux path; under Wine the Linux root is Z:.
std::wstring CliPath() {
  std::wstring path = L"Z:" + Wide(LINDQUA_CLI_EXE);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

struct CliRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

// Runs the program with `arguments` (already quoted as needed) and waits for it.
CliRun RunCli(const std::wstring& arguments) {
  CliRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle outRead, outWrite, errRead, errWrite;
  if (!::CreatePipe(outRead.put(), outWrite.put(), &inherit, 0) ||
      !::CreatePipe(errRead.put(), errWrite.put(), &inherit, 0)) {
    ADD_FAILURE() << "CreatePipe failed: " << ::GetLastError();
    return run;
  }
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);

  const std::wstring exe = CliPath();
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errWrite.get();
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
    ADD_FAILURE() << "cannot start " << Narrow(exe) << ": " << ::GetLastError();
    return run;
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  // Our copies of the write ends must go, or the reads never see the end.
  outWrite.reset();
  errWrite.reset();
  // Both pipes are drained at once: a child blocked on a full stderr pipe
  // would never finish its stdout.
  std::thread errReader([&] { run.err = ReadAll(errRead.get()); });
  run.out = ReadAll(outRead.get());
  errReader.join();
  EXPECT_EQ(::WaitForSingleObject(process.get(), 120000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(process.get(), &run.exitCode);
  return run;
}

class CliExeWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch = "C:\\lindqua-cli-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(files.ForceDirectories(scratch));
  }
  void TearDown() override { files.DeletePath(scratch); }

  Win32FileSystem files;
  std::string scratch;
};

TEST_F(CliExeWineTest, VersionAndHelp) {
  const CliRun version = RunCli(L"--version");
  EXPECT_EQ(version.exitCode, 0u);
  EXPECT_EQ(version.out, "Vantorel Lindqua 2.1\r\n");

  const CliRun help = RunCli(L"--help");
  EXPECT_EQ(help.exitCode, 0u);
  EXPECT_EQ(help.out.rfind("Usage: lindqua-cli scan [--sections LIST]", 0), 0u) << help.out;
  EXPECT_EQ(help.err, "");
}

TEST_F(CliExeWineTest, UsageErrorExitsWithTwoAndOneLine) {
  const CliRun run = RunCli(L"scan --sections 5-3");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_EQ(run.out, "");
  ASSERT_GE(run.err.size(), 2u);
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_NE(run.err.find("reversed range"), std::string::npos) << run.err;
  EXPECT_EQ(RunCli(L"").exitCode, 2u);
  EXPECT_EQ(RunCli(L"scan --format yaml").exitCode, 2u);
}

TEST_F(CliExeWineTest, JsonScanOfTheRealRegistryIsValidJson) {
  const CliRun run = RunCli(L"scan --sections 7 --format json");
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  JsonCheck json;
  ASSERT_TRUE(json.Parse(run.out)) << run.out;
  ASSERT_FALSE(json.strings.empty());
  EXPECT_EQ(json.strings[0], "findings");
}

TEST_F(CliExeWineTest, OutputFileWithANonAsciiNameGetsTheFindings) {
  const std::string path = scratch + "\\r\xC3\xA9sultat \xE2\x82\xAC.json";
  const CliRun run = RunCli(L"scan --sections 7,12 --format json --output \"" + Wide(path) + L"\"");
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(run.out, "");
  std::string written;
  ASSERT_TRUE(files.ReadWholeFile(path, written)) << "the name reached the program intact";
  JsonCheck json;
  EXPECT_TRUE(json.Parse(written)) << written;

  const std::string text = scratch + "\\report.txt";
  EXPECT_EQ(RunCli(L"scan --sections 7 --output " + Wide(text)).exitCode, 0u);
  EXPECT_TRUE(files.FileExists(text));
}

TEST_F(CliExeWineTest, OutputIntoAMissingFolderFails) {
  const std::string path = scratch + "\\no such folder\\out.json";
  const CliRun run = RunCli(L"scan --sections 7 --format json --output \"" + Wide(path) + L"\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  EXPECT_FALSE(files.FileExists(path));
}

TEST_F(CliExeWineTest, CleanSendsABrokenShortcutToTheRecycleBinWithoutAsking) {
  ASSERT_FALSE(WineTrashFolder().empty()) << "run through cmake/wine-run, which keeps Wine's trash in the prefix";
  const std::string desktop = files.GetSpecialFolder(0x0010);
  const std::string folder = desktop + "\\lindqua-cli-" + std::to_string(::GetCurrentProcessId());
  const std::string shortcut = folder + "\\gone.lnk";
  ASSERT_TRUE(files.ForceDirectories(folder));
  ASSERT_TRUE(MakeShellLink(shortcut, scratch + "\\Gone\\app.exe"));
  const std::string settings = scratch + "\\Settings.ini";
  ASSERT_TRUE(files.WriteWholeFile(settings, "[Settings]\r\nBackupFolder=" + scratch + "\\Backup\r\n"));

  // No input to answer from: a question would end the run unanswered.
  const CliRun run = RunCli(L"clean --sections 18 --yes --settings \"" + Wide(settings) + L"\"");
  EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
  EXPECT_NE(run.out.find(shortcut), std::string::npos) << run.out;
  EXPECT_FALSE(files.FileExists(shortcut));
  EXPECT_TRUE(InWineTrash(shortcut)) << "looked up while its folder still exists";
  files.DeletePath(folder);
}

}  // namespace
}  // namespace lindqua::test
