#include "scan/InstallShape.h"

#include <cstdio>
#include <vector>

#include "sweep/Random.h"

namespace lindqua::bench {

namespace {

constexpr std::size_t KeysPerApplication = 400;
constexpr std::size_t RemovedPercent = 10;
constexpr std::size_t StalePercent = 3;

constexpr const char* SettingWords[] = {"Settings", "Options", "Recent", "Plugins", "Profiles", "Cache",
                                        "Layout",   "Defaults", "History", "Devices", "Toolbars", "Windows"};
constexpr const char* PlainTexts[] = {"Default", "1", "0", "en-US", "Segoe UI,9", "Tahoma", "yes", "Normal",
                                      "http://www.example.com/update", "2026-12-08", "{6B2E1F3A-88C1-4B7E-9F30-2D4C8A1E5B77}"};
constexpr const char* CurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

struct Application {
  std::string name;    // "Vendor12.App3"
  std::string folder;  // its program folder
  std::string program, library, control, help;
  bool removed = false;
};

class Generator {
 public:
  Generator(const InstallShape& shape, const SyntheticSink& sink) : shape_(shape), sink_(sink), rng_(shape.seed) {}

  InstallCounts Run() {
    const std::size_t applications = std::max<std::size_t>(1, shape_.keys / KeysPerApplication);
    MakeApplications(applications);
    for (const Application& app : apps_) WriteApplication(app);
    WriteFonts(std::max<std::size_t>(20, applications / 2));
    WriteSoundEvents(60);
    WriteUsage(std::max<std::size_t>(20, applications));
    WriteHistoryLists();
    WriteSettings();
    return counts_;
  }

 private:
  std::string Guid() {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%04X%08X}", rng_.Next(), rng_.Next() & 0xFFFF,
                  rng_.Next() & 0xFFFF, rng_.Next() & 0xFFFF, rng_.Next() & 0xFFFF, rng_.Next());
    return text;
  }

  void File(const std::string& path) {
    sink_.file(path, false);
    ++counts_.files;
  }
  void Key(RootKey root, const std::string& path) {
    sink_.key(root, path);
    ++counts_.keys;
  }
  void Text(const std::string& name, const std::string& text) {
    sink_.value(name, text);
    ++counts_.values;
  }
  void Number(const std::string& name, std::uint32_t number) {
    if (sink_.number) sink_.number(name, number);
    ++counts_.values;
  }
  // A value naming a file: missing when its application was removed, or now
  // and then on its own.
  void PathValue(const std::string& name, const std::string& path, bool removed) {
    ++counts_.paths;
    if (removed || rng_.Percent(StalePercent)) {
      ++counts_.missingPaths;
      const std::size_t dot = path.rfind('.');
      Text(name, removed ? path : path.substr(0, dot) + "_old" + path.substr(dot));
      return;
    }
    Text(name, path);
  }
  const Application& AnyApp() { return apps_[rng_.Below(apps_.size())]; }

  void MakeApplications(std::size_t count) {
    sink_.file(shape_.root, true);
    for (std::size_t i = 0; i < count; ++i) {
      Application app;
      app.name = "Vendor" + std::to_string(i / 3) + ".App" + std::to_string(i % 3);
      app.folder = shape_.root + "\\Apps\\Vendor" + std::to_string(i / 3) + "\\App" + std::to_string(i % 3);
      app.program = app.folder + "\\app" + std::to_string(i) + ".exe";
      app.library = app.folder + "\\core" + std::to_string(i) + ".dll";
      app.control = app.folder + "\\ctl" + std::to_string(i) + ".ocx";
      app.help = app.folder + "\\help" + std::to_string(i) + ".chm";
      app.removed = rng_.Percent(RemovedPercent);
      if (app.removed) {
        ++counts_.removed;
      } else {
        sink_.file(app.folder, true);
        for (const std::string* file : {&app.program, &app.library, &app.control, &app.help}) File(*file);
      }
      ++counts_.applications;
      apps_.push_back(std::move(app));
    }
  }

  void WriteClasses(const Application& app) {
    const std::string typeLib = Guid();
    for (int n = 0; n < 12; ++n) {
      const std::string clsid = Guid(), progId = app.name + ".Class" + std::to_string(n);
      Key(RootKey::LocalMachine, "Software\\Classes\\CLSID\\" + clsid);
      Text("", progId);
      Key(RootKey::LocalMachine, "Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32");
      PathValue("", n % 4 == 3 ? app.control : app.library, app.removed);
      Text("ThreadingModel", "Apartment");
      Key(RootKey::LocalMachine, "Software\\Classes\\CLSID\\" + clsid + "\\ProgID");
      Text("", progId);
      Key(RootKey::LocalMachine, "Software\\Classes\\CLSID\\" + clsid + "\\TypeLib");
      Text("", typeLib);
      Key(RootKey::LocalMachine, "Software\\Classes\\" + progId + "\\CLSID");
      Text("", clsid);
    }
    for (int n = 0; n < 8; ++n) {
      const std::string iid = "Software\\Classes\\Interface\\" + Guid();
      Key(RootKey::LocalMachine, iid);
      Text("", "I" + app.name.substr(app.name.find('.') + 1) + std::to_string(n));
      Key(RootKey::LocalMachine, iid + "\\ProxyStubClsid32");
      Text("", "{00020424-0000-0000-C000-000000000046}");
      Key(RootKey::LocalMachine, iid + "\\TypeLib");
      Text("", typeLib);
      Text("Version", "1.0");
    }
    const std::string lib = "Software\\Classes\\TypeLib\\" + typeLib + "\\1.0";
    Key(RootKey::LocalMachine, lib);
    Text("", app.name + " Type Library");
    Key(RootKey::LocalMachine, lib + "\\0\\win32");
    PathValue("", app.library, app.removed);
    Key(RootKey::LocalMachine, lib + "\\HELPDIR");
    Text("", app.folder);
  }

  void WriteFileType(const Application& app, std::size_t index) {
    const std::string type = app.name + ".Document";
    Key(RootKey::LocalMachine, "Software\\Classes\\.lq" + std::to_string(index));
    Text("", type);
    Key(RootKey::LocalMachine, "Software\\Classes\\" + type + "\\DefaultIcon");
    PathValue("", app.program, app.removed);
    Key(RootKey::LocalMachine, "Software\\Classes\\" + type + "\\shell\\open\\command");
    Text("", "\"" + app.program + "\" \"%1\"");
    Key(RootKey::LocalMachine, "Software\\Classes\\Applications\\" + app.program.substr(app.folder.size() + 1) +
                                   "\\shell\\open\\command");
    Text("", "\"" + app.program + "\" \"%1\"");
  }

  void WriteInstallRecords(const Application& app) {
    Key(RootKey::LocalMachine, std::string(CurrentVersion) + "\\Uninstall\\" + Guid());
    Text("DisplayName", app.name);
    Text("DisplayVersion", "1." + std::to_string(rng_.Below(20)));
    Text("Publisher", app.name.substr(0, app.name.find('.')));
    Text("InstallLocation", app.folder);
    PathValue("UninstallString", app.program, app.removed);
    PathValue("DisplayIcon", app.program, app.removed);
    Number("EstimatedSize", static_cast<std::uint32_t>(rng_.Below(500000)));
    Key(RootKey::LocalMachine, std::string(CurrentVersion) + "\\App Paths\\" + app.program.substr(app.folder.size() + 1));
    PathValue("", app.program, app.removed);
    Text("Path", app.folder);
    Key(RootKey::LocalMachine, std::string(CurrentVersion) + "\\SharedDlls");
    Number(app.library, 1);
    Number(app.control, 1 + static_cast<std::uint32_t>(rng_.Below(3)));
  }

  void WriteApplication(const Application& app) {
    const std::size_t index = static_cast<std::size_t>(&app - apps_.data());
    WriteClasses(app);
    WriteFileType(app, index);
    WriteInstallRecords(app);
    if (rng_.Percent(20)) {
      const std::string service = "SYSTEM\\CurrentControlSet\\Services\\LqSvc" + std::to_string(index);
      Key(RootKey::LocalMachine, service);
      PathValue("ImagePath", app.program, app.removed);
      Text("DisplayName", app.name + " Service");
      Number("Type", 16);
      Number("Start", 2 + static_cast<std::uint32_t>(rng_.Below(3)));
      Key(RootKey::LocalMachine, service + "\\Parameters");
      Text("Folder", app.folder);
    }
    if (rng_.Percent(5)) {
      Key(RootKey::LocalMachine, std::string(CurrentVersion) + "\\Run");
      Text(app.name, "\"" + app.program + "\" /background");
    }
    if (!shape_.programsFolder.empty() && rng_.Percent(60)) {
      const std::string menu = shape_.programsFolder + "\\" + app.name.substr(0, app.name.find('.'));
      sink_.file(menu, true);
      sink_.shortcut(menu + "\\" + app.name + ".lnk", app.program);
      ++counts_.shortcuts;
    }
    if (!shape_.desktopFolder.empty() && rng_.Percent(10)) {
      sink_.shortcut(shape_.desktopFolder + "\\" + app.name + ".lnk", app.program);
      ++counts_.shortcuts;
    }
  }

  void WriteFonts(std::size_t count) {
    Key(RootKey::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    std::vector<std::string> present;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string file = "lqfont" + std::to_string(i) + ".ttf";
      if (!rng_.Percent(5)) present.push_back(file);
      Text("Lq Font " + std::to_string(i) + " (TrueType)", file);
    }
    for (const std::string& file : present) File(shape_.fontsFolder + "\\" + file);
  }

  void WriteSoundEvents(std::size_t count) {
    const std::string media = shape_.root + "\\Media";
    sink_.file(media, true);
    for (std::size_t i = 0; i < count; ++i) {
      const std::string sound = media + "\\event" + std::to_string(i) + ".wav";
      File(sound);
      Key(RootKey::CurrentUser, "AppEvents\\Schemes\\Apps\\.Default\\LqEvent" + std::to_string(i) + "\\.Current");
      PathValue("", sound, false);
    }
  }

  // UserAssist names are ROT13 of the program path; the data is binary.
  static std::string Rot13(std::string text) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>('a' + (c - 'a' + 13) % 26);
      if (c >= 'A' && c <= 'Z') c = static_cast<char>('A' + (c - 'A' + 13) % 26);
    }
    return text;
  }

  void WriteUsage(std::size_t count) {
    Key(RootKey::CurrentUser, std::string(CurrentVersion) +
                                  "\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count");
    for (std::size_t i = 0; i < count; ++i) Number(Rot13("UEME_RUNPATH:" + AnyApp().program), rng_.Next());
  }

  void WriteHistoryLists() {
    const std::string openSave = std::string(CurrentVersion) + "\\Explorer\\ComDlg32\\OpenSaveMRU\\";
    for (const char* ext : {"*", "txt", "doc", "lq"}) {
      Key(RootKey::CurrentUser, openSave + ext);
      std::string order;
      for (char letter = 'a'; letter < 'k'; ++letter) {
        const Application& app = AnyApp();
        PathValue(std::string(1, letter), app.folder + "\\document" + std::to_string(rng_.Below(9)) + ".txt", true);
        order += letter;
      }
      Text("MRUList", order);
    }
    Key(RootKey::CurrentUser, std::string(CurrentVersion) + "\\Explorer\\RunMRU");
    for (char letter = 'a'; letter < 'z'; ++letter) Text(std::string(1, letter), AnyApp().program + "\\1");
  }

  std::string SettingText(const Application& app) {
    const std::size_t kind = rng_.Below(100);
    if (kind < 12) {
      ++counts_.paths;
      if (app.removed) ++counts_.missingPaths;
      return rng_.Percent(50) ? app.program : app.library;
    }
    if (kind < 16) {
      ++counts_.paths;
      ++counts_.missingPaths;
      return app.folder + "\\recent\\file" + std::to_string(rng_.Below(100)) + ".txt";
    }
    if (kind < 20) return "\"" + app.program + "\" --open";
    std::string text = PlainTexts[rng_.Below(std::size(PlainTexts))];
    if (rng_.Percent(30)) text += " " + std::to_string(rng_.Next());
    return text;
  }

  // The bulk: per application a tree of settings, four tenths under the
  // machine and the rest under the user, filling the keys and values left.
  void WriteSettings() {
    const std::size_t keysLeft = shape_.keys > counts_.keys ? shape_.keys - counts_.keys : 0;
    std::size_t perApp = keysLeft / apps_.size(), extraKeys = keysLeft % apps_.size();
    std::size_t settingKeys = keysLeft;
    for (const Application& app : apps_) {
      const std::size_t count = perApp + (extraKeys ? 1 : 0);
      if (extraKeys) --extraKeys;
      const std::string base = "Software\\" + app.name.substr(0, app.name.find('.')) + "\\" +
                               app.name.substr(app.name.find('.') + 1);
      // Eight children to a key, parents first, in two trees: the machine's
      // share, then the user's.
      const std::size_t machineKeys = count * 4 / 10;
      std::vector<std::string> paths;
      paths.reserve(count);
      for (std::size_t i = 0; i < count; ++i) {
        const RootKey root = i < machineKeys ? RootKey::LocalMachine : RootKey::CurrentUser;
        if (i == machineKeys) paths.clear();
        const std::size_t j = paths.size();
        const std::string& parent = j < 8 ? base : paths[j / 8 - 1];
        paths.push_back(parent + "\\" + SettingWords[i % std::size(SettingWords)] + std::to_string(i));
        const std::string& path = paths.back();
        Key(root, path);
        const std::size_t valuesLeft = shape_.values > counts_.values ? shape_.values - counts_.values : 0;
        const std::size_t values = settingKeys ? (valuesLeft + settingKeys - 1) / settingKeys : 0;
        --settingKeys;
        for (std::size_t v = 0; v < values; ++v) {
          if (rng_.Percent(30)) {
            Number("Flag" + std::to_string(v), rng_.Next() & 0xFF);
          } else {
            Text("Value" + std::to_string(v), SettingText(app));
          }
        }
      }
    }
  }

  const InstallShape& shape_;
  const SyntheticSink& sink_;
  Random rng_;
  std::vector<Application> apps_;
  InstallCounts counts_;
};

}  // namespace

InstallCounts GenerateInstall(const InstallShape& shape, const SyntheticSink& sink) {
  return Generator(shape, sink).Run();
}

}  // namespace lindqua::bench
