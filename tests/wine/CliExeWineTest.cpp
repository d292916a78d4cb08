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

// Runs the program with `arguments` (already quoted as needed) and waits for
// it; `stdoutHandle`, when given, replaces the output pipe.
CliRun RunProgram(const std::wstring& exe, std::wstring commandLine, HANDLE stdoutHandle = nullptr,
                  DWORD flags = CREATE_NO_WINDOW) {
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

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = stdoutHandle ? stdoutHandle : outWrite.get();
  startup.hStdError = errWrite.get();
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup,
                        &info)) {
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

CliRun RunCli(const std::wstring& arguments, HANDLE stdoutHandle = nullptr) {
  const std::wstring exe = CliPath();
  return RunProgram(exe, L"\"" + exe + L"\" " + arguments, stdoutHandle);
}

BOOL WINAPI SwallowControlEvent(DWORD) { return TRUE; }

// An empty DACL denies everyone, this program and the registry editor alike.
bool SetKeyDenied(const std::wstring& path, bool denied) {
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC | READ_CONTROL, key.put()) != ERROR_SUCCESS)
    return false;
  SECURITY_DESCRIPTOR sd;
  ACL emptyAcl;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
  ::SetSecurityDescriptorDacl(&sd, TRUE, denied ? &emptyAcl : nullptr, FALSE);
  return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
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

// The manifest a program carries as its resource 1, as the loader reads it.
std::string ManifestOf(const std::wstring& exe) {
  UniqueModule module(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return {};
  HRSRC found = ::FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  HGLOBAL loaded = found ? ::LoadResource(module.get(), found) : nullptr;
  if (!loaded) return {};
  return std::string(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module.get(), found));
}

TEST(ProgramManifests, EachProgramDeclaresHowItRunsForItsOwnProcessor) {
  // A manifest for another processor keeps a program from starting at all;
  // a console without an execution level is subject to registry
  // virtualization and could "delete" a per-user copy of a machine key.
  const std::string processor = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\""
                                                   : "processorArchitecture=\"x86\"";
  std::wstring window = CliPath();
  window.replace(window.rfind(L"lindqua-cli.exe"), std::wstring::npos, L"lindqua.exe");
  const struct {
    std::wstring exe;
    std::string level;
  } programs[] = {{CliPath(), "level=\"asInvoker\""}, {window, "level=\"requireAdministrator\""}};
  for (const auto& program : programs) {
    SCOPED_TRACE(Narrow(program.exe));
    const std::string manifest = ManifestOf(program.exe);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    EXPECT_NE(manifest.find("<requestedExecutionLevel " + program.level), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(processor), std::string::npos) << manifest;
  }
}

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

TEST_F(CliExeWineTest, StandardOutputThatCannotBeWrittenFailsWithTheReason) {
  const std::string path = scratch + "\\read-only-out.txt";
  ASSERT_TRUE(files.WriteWholeFile(path, ""));
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueFileHandle readOnly(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          &inherit, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(readOnly.get() != INVALID_HANDLE_VALUE);
  const CliRun run = RunCli(L"--help", readOnly.get());
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.err.find("cannot write to standard output: error "), std::string::npos) << run.err;
}

TEST_F(CliExeWineTest, OutputIntoAMissingFolderFails) {
  const std::string path = scratch + "\\no such folder\\out.json";
  const CliRun run = RunCli(L"scan --sections 7 --format json --output \"" + Wide(path) + L"\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  EXPECT_FALSE(files.FileExists(path));
}

// The message says why in the system's words: the code and its text. (A
// read-only attribute stops no write under Wine run as root, so the file
// that refuses writing is one another program holds open without sharing.)
TEST_F(CliExeWineTest, OutputThatCannotBeWrittenGivesTheSystemsMessage) {
  const std::string inUse = scratch + "\\in-use.json";
  ASSERT_TRUE(files.WriteWholeFile(inUse, "kept"));
  UniqueFileHandle held(::CreateFileW(Wide(inUse).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.get() != INVALID_HANDLE_VALUE);
  const struct {
    std::string path;
    const char* error;
  } cases[] = {
      {scratch, "error 5: "},
      {scratch + "\\no such folder\\out.json", "error 3: "},
      {inUse, "error 32: "},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(L"scan --sections 7 --output \"" + Wide(c.path) + L"\"");
    EXPECT_EQ(run.exitCode, 1u) << c.path;
    const std::string expected = "cannot write \"" + c.path + "\": " + c.error;
    const std::size_t at = run.err.find(expected);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_GT(run.err.find("\r\n", at), at + expected.size()) << "the system's text follows the code: " << run.err;
  }
  held.reset();
  std::string kept;
  ASSERT_TRUE(files.ReadWholeFile(inUse, kept));
  EXPECT_EQ(kept, "kept");
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

class CliBackupsWineTest : public CliExeWineTest {
 protected:
  void SetUp() override {
    CliExeWineTest::SetUp();
    backups = scratch + "\\Backup";
    ASSERT_TRUE(files.ForceDirectories(backups));
    settings = scratch + "\\settings.ini";
    ASSERT_TRUE(files.WriteWholeFile(settings, "[Settings]\r\nBackupFolder=" + backups + "\r\n"));
    // Tests may run side by side in one prefix: each process has its own key.
    keyName = "Software\\LindquaCliRestore-" + std::to_string(::GetCurrentProcessId());
    key = Wide(keyName);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  }
  void TearDown() override {
    SetKeyDenied(key + L"\\Locked", false);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    CliExeWineTest::TearDown();
  }
  CliRun Run(const std::wstring& arguments) { return RunCli(arguments + L" --settings \"" + Wide(settings) + L"\""); }
  std::string Backup(const std::string& name, const std::string& body) {
    // The fixture texts name the key without its process suffix.
    std::string text = "REGEDIT4\r\n\r\n" + body;
    for (std::size_t at = 0; (at = text.find("LindquaCliRestore", at)) != std::string::npos; at += keyName.size())
      text.replace(at, std::string("LindquaCliRestore").size(), keyName.substr(keyName.find('\\') + 1));
    const std::string path = backups + "\\" + name;
    EXPECT_TRUE(files.WriteWholeFile(path, text));
    return path;
  }
  std::vector<FolderEntry> ListBackups() { return files.ListFolder(backups + "\\"); }
  std::string ValueOf(const wchar_t* name) {
    wchar_t data[64] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, data, &size) != ERROR_SUCCESS)
      return "(none)";
    return Narrow(data);
  }

  std::string keyName;
  std::wstring key;
  std::string backups;
  std::string settings;
};

TEST_F(CliBackupsWineTest, ListedBackupIsRestoredVerifiedAndRemoved) {
  const std::string file = Backup("2026_01_02_150405.reg",
                                  "[HKEY_CURRENT_USER\\Software\\LindquaCliRestore]\r\n\"Name\"=\"caf\xE9\"\r\n"
                                  "\"Count\"=dword:0000002a\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\LindquaCliRestore\\Sub]\r\n"
                                  "\"Path\"=hex(2):25,54,45,4d,50,25,00\r\n");
  const CliRun list = Run(L"backups --format json");
  EXPECT_EQ(list.exitCode, 0u) << list.err;
  JsonCheck json;
  EXPECT_TRUE(json.Parse(list.out)) << list.out;
  EXPECT_NE(list.out.find("\"name\":\"2026_01_02_150405.reg\""), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\"keys\":2,\"values\":3,\"readable\":true"), std::string::npos) << list.out;

  const CliRun restore = Run(L"restore --latest --yes");
  EXPECT_EQ(restore.exitCode, 0u) << restore.out << restore.err;
  EXPECT_NE(restore.out.find("verified: every key and value came back"), std::string::npos) << restore.out;
  EXPECT_FALSE(files.FileExists(file));
  EXPECT_EQ(ValueOf(L"Name"), "caf\xC3\xA9") << "read in the ANSI code page, as written";
}

TEST_F(CliBackupsWineTest, CleanedKeyIsListedInItsBackupAndRestoredFromIt) {
  // An uninstall entry with nothing in it: the section's finding.
  const std::wstring entry = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Wide(keyName.substr(9));
  const auto present = [&] {
    UniqueHKey opened;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, entry.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
  };
  {
    UniqueHKey created;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, entry.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                created.put(), nullptr),
              ERROR_SUCCESS);
  }

  const CliRun clean = Run(L"clean --sections 23 --yes --format json");
  EXPECT_EQ(clean.exitCode, 0u) << clean.out << clean.err;
  JsonCheck json;
  EXPECT_TRUE(json.Parse(clean.out)) << clean.out;
  EXPECT_NE(clean.out.find("\"result\":\"deleted\""), std::string::npos) << clean.out;
  EXPECT_FALSE(present());

  const CliRun list = Run(L"backups");
  EXPECT_EQ(list.exitCode, 0u) << list.err;
  EXPECT_NE(list.out.find("1 keys  0 values\r\n"), std::string::npos) << list.out;

  const CliRun restore = Run(L"restore --latest --yes");
  EXPECT_EQ(restore.exitCode, 0u) << restore.out << restore.err;
  EXPECT_TRUE(present());
  EXPECT_TRUE(ListBackups().empty()) << "a verified restore removes its file";
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, entry.c_str());
}

// A real Ctrl+C in the console the clean runs in, as a user's key press or a
// fleet tool's stop gives it: the clean finishes the row it is on, stops,
// has named its backup and every row it deleted, and exits with the code of
// an early stop. Every deleted key is in the backup.
TEST_F(CliBackupsWineTest, CtrlCStopsACleanAfterTheCurrentRow) {
  // Ctrl+C is sent in a console of the test's own; leaving the console Wine
  // gives a process started from a shell would cut that process off from
  // its output. So the test runs itself again, detached from any console and
  // writing to a pipe, and this run passes on what that one found.
  constexpr wchar_t OwnConsole[] = L"LINDQUA_TEST_OWN_CONSOLE";
  if (::GetEnvironmentVariableW(OwnConsole, nullptr, 0) == 0) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(OwnConsole, L"1");
    const CliRun inner = RunProgram(self, L"\"" + std::wstring(self) +
                                              L"\" --gtest_filter=CliBackupsWineTest.CtrlCStopsACleanAfterTheCurrentRow",
                                    nullptr, DETACHED_PROCESS);
    ::SetEnvironmentVariableW(OwnConsole, nullptr);
    EXPECT_EQ(inner.exitCode, 0u) << inner.out << inner.err;
    EXPECT_NE(inner.out.find("[  PASSED  ] 1 test"), std::string::npos) << inner.out << inner.err;
    return;
  }
  constexpr int Entries = 400;
  const std::wstring uninstall =
      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Wide(keyName.substr(9)) + L"-";
  const auto present = [&] {
    int count = 0;
    for (int i = 0; i < Entries; ++i) {
      UniqueHKey opened;
      if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (uninstall + std::to_wstring(i)).c_str(), 0, KEY_READ,
                          opened.put()) == ERROR_SUCCESS)
        ++count;
    }
    return count;
  };
  for (int i = 0; i < Entries; ++i) {
    UniqueHKey created;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (uninstall + std::to_wstring(i)).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, created.put(), nullptr),
              ERROR_SUCCESS);
  }

  // Ctrl+C goes to the processes of a console (the one Wine gives a process
  // started from a shell passes no control events): the test makes one and
  // keeps its standard handles, which the new console would replace.
  const HANDLE savedIn = ::GetStdHandle(STD_INPUT_HANDLE), savedOut = ::GetStdHandle(STD_OUTPUT_HANDLE),
               savedErr = ::GetStdHandle(STD_ERROR_HANDLE);
  const bool ownConsole = ::AllocConsole() != FALSE;
  ASSERT_TRUE(ownConsole) << ::GetLastError();
  ::SetStdHandle(STD_INPUT_HANDLE, savedIn);
  ::SetStdHandle(STD_OUTPUT_HANDLE, savedOut);
  ::SetStdHandle(STD_ERROR_HANDLE, savedErr);

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle outRead, outWrite, errRead, errWrite;
  ASSERT_TRUE(::CreatePipe(outRead.put(), outWrite.put(), &inherit, 0));
  ASSERT_TRUE(::CreatePipe(errRead.put(), errWrite.put(), &inherit, 0));
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
  const std::wstring exe = CliPath();
  std::wstring commandLine =
      L"\"" + exe + L"\" clean --sections 23 --yes --settings \"" + Wide(settings) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errWrite.get();
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &info))
      << ::GetLastError();
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  outWrite.reset();
  errWrite.reset();
  std::string err;
  std::thread errReader([&] { err = ReadAll(errRead.get()); });

  // The break comes once the first row is deleted, while the rest wait.
  std::string out;
  bool sent = false;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(outRead.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    out.append(buffer, read);
    if (!sent && out.find("deleted: ") != std::string::npos) {
      // Ctrl+C goes to every process of the console, this one too, on a
      // thread of its own that may come late: the test's handler takes it
      // and stays (an ignore flag would be inherited by later children).
      ::SetConsoleCtrlHandler(&SwallowControlEvent, TRUE);
      sent = ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != FALSE;
      EXPECT_TRUE(sent) << ::GetLastError();
    }
  }
  errReader.join();
  EXPECT_EQ(::WaitForSingleObject(process.get(), 120000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.get(), &exitCode);
  if (ownConsole) ::FreeConsole();

  const int left = present();
  std::size_t deleted = 0;
  // Other rows of the prefix's own uninstall entries may be cleaned too; only ours are counted.
  const std::string ours = keyName.substr(9) + "-";
  for (std::size_t at = 0; (at = out.find("\r\ndeleted: ", at)) != std::string::npos; at += 2) {
    const std::size_t end = out.find("\r\n", at + 2);
    if (out.substr(at, end - at).find(ours) != std::string::npos) ++deleted;
  }
  for (int i = 0; i < Entries; ++i) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, (uninstall + std::to_wstring(i)).c_str());

  std::printf("stopped after %zu of %d rows\n", deleted, Entries);
  ASSERT_TRUE(sent) << out << err;
  EXPECT_EQ(exitCode, 4u) << "an early stop, not success: " << err;
  EXPECT_EQ(out.rfind("backup: ", 0), 0u) << "the backup is named before the first delete: " << out;
  EXPECT_GT(left, 0) << "the clean stopped before the last row";
  EXPECT_EQ(deleted, static_cast<std::size_t>(Entries - left)) << "every deleted row is listed: " << out;
  EXPECT_NE(err.find("the fix ended early"), std::string::npos) << err;
  const std::vector<FolderEntry> written = ListBackups();
  ASSERT_EQ(written.size(), 1u);
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile(backups + "\\" + written[0].name, backup));
  std::size_t blocks = 0;
  for (std::size_t at = 0; (at = backup.find("\r\n[HKEY_LOCAL_MACHINE\\", at)) != std::string::npos; ++at) ++blocks;
  EXPECT_GE(blocks, deleted) << "nothing deleted without its backup";
}

TEST_F(CliBackupsWineTest, KeyThatRefusesWritingIsADifferenceAndTheFileStays) {
  UniqueHKey locked;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (key + L"\\Locked").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, locked.put(), nullptr),
            ERROR_SUCCESS);
  locked.reset();
  ASSERT_TRUE(SetKeyDenied(key + L"\\Locked", true));
  const std::string file = Backup("2026_01_02_150405.reg",
                                  "[HKEY_CURRENT_USER\\Software\\LindquaCliRestore]\r\n\"Open\"=\"yes\"\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\LindquaCliRestore\\Locked]\r\n\"Inside\"=\"no\"\r\n");
  const CliRun restore = Run(L"restore \"" + Wide(file) + L"\" --yes --format json");
  EXPECT_EQ(restore.exitCode, 3u) << restore.out << restore.err;
  JsonCheck json;
  EXPECT_TRUE(json.Parse(restore.out)) << restore.out;
  EXPECT_NE(restore.out.find("\"key\":\"HKEY_CURRENT_USER\\\\" + keyName.substr(0, 8) + "\\\\" +
                             keyName.substr(9) + "\\\\Locked\""),
            std::string::npos)
      << restore.out;
  EXPECT_EQ(restore.out.find("\"value\":\"Open\""), std::string::npos) << "the open key came back";
  EXPECT_TRUE(files.FileExists(file));
}

TEST_F(CliBackupsWineTest, DamagedBackupAndEmptyFolderFailAndSettingsMustExist) {
  const std::string file = Backup("2026_01_02_150405.reg",
                                  "[HKEY_CURRENT_USER\\Software\\LindquaCliRestore]\r\n\"Half\"=hex:4\r\n"
                                  "\"Never\"=\"x\r\n");
  const CliRun damaged = Run(L"restore --latest --yes");
  EXPECT_EQ(damaged.exitCode, 1u) << damaged.err;
  EXPECT_NE(damaged.err.find("2026_01_02_150405.reg"), std::string::npos) << damaged.err;
  EXPECT_EQ(damaged.out, "");
  EXPECT_TRUE(files.FileExists(file));
  EXPECT_EQ(ValueOf(L"Half"), "(none)") << "nothing imported";

  const CliRun removed = Run(L"backups delete 2026_01_02_150405.reg");
  EXPECT_EQ(removed.exitCode, 0u) << removed.err;
  const CliRun empty = Run(L"restore --latest --yes");
  EXPECT_EQ(empty.exitCode, 1u);
  EXPECT_NE(empty.err.find("no backup files in"), std::string::npos) << empty.err;

  const CliRun missing = RunCli(L"scan --settings \"" + Wide(scratch) + L"\\none.ini\"");
  EXPECT_EQ(missing.exitCode, 2u);
  EXPECT_NE(missing.err.find("none.ini"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace lindqua::test
