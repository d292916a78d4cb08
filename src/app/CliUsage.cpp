// The texts of --help: an overview, and one page per command.
#include "app/CliArguments.h"

#include "engine/ScanSection.h"

namespace lindqua {

namespace {

constexpr char Overview[] =
    "Usage: lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore]\r\n"
    "                        [--check-64bit-paths] [--settings FILE]\r\n"
    "       lindqua-cli clean [--sections LIST] [--dry-run] [--yes] [--restore-point] [--no-ignore]\r\n"
    "                         [--format text|json] [--check-64bit-paths] [--settings FILE]\r\n"
    "       lindqua-cli backups [--format text|json] [--settings FILE]\r\n"
    "       lindqua-cli backups delete FILE... [--settings FILE]\r\n"
    "       lindqua-cli restore FILE|--latest [--yes] [--keep] [--format text|json] [--settings FILE]\r\n"
    "       lindqua-cli COMMAND --help | --help | --version\r\n"
    "\r\n"
    "scan lists every problem found, in the order found. clean scans, then backs up\r\n"
    "and deletes every finding, writing each key or value to a REGEDIT4 backup file\r\n"
    "in the backup folder before it is deleted. backups lists, and backups delete\r\n"
    "removes, those files; restore imports one and checks that it came back.\r\n"
    "\r\n"
    "  --settings FILE  read this settings file instead of the window's (never written);\r\n"
    "                   it must exist\r\n"
    "  --check-64bit-paths  scan, clean: on 64-bit Windows, look for files under\r\n"
    "                   System32 and Program Files in both the 32-bit and the 64-bit\r\n"
    "                   view instead of passing over them (also a setting)\r\n"
    "\r\n"
    "Exit status: 0 done, 1 failed or not confirmed, 2 the command line was wrong,\r\n"
    "3 clean: some findings could not be fixed / restore: differences found,\r\n"
    "4 clean ended early (backup not written, folder not made, interrupted).\r\n"
    "Standard output holds only the requested output; messages go to standard error.\r\n";

constexpr char ScanHelp[] =
    "Usage: lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore]\r\n"
    "                        [--check-64bit-paths] [--settings FILE]\r\n"
    "\r\n"
    "Lists every problem found, in the order found; changes nothing.\r\n"
    "\r\n"
    "  --sections LIST  sections to scan, numbers and ranges such as 3-6,8\r\n"
    "                   (default: the sections checked in the settings)\r\n"
    "  --format text    one line per finding: problem  ^^^  data  ^^^  key (default);\r\n"
    "                   control characters are written as <0xNN>\r\n"
    "  --format json    {\"findings\":[{\"section\":..,\"problem\":..,\"data\":..,\"key\":..,\"tag\":..,\r\n"
    "                   \"reason\":..}]}, the reason saying what was tested and found\r\n"
    "  --output FILE    write the findings to FILE in UTF-8 instead of the console\r\n"
    "  --no-ignore      keep the findings under ignored keys\r\n"
    "  --check-64bit-paths  on 64-bit Windows, look for files under System32 and\r\n"
    "                   Program Files in both views instead of passing over them\r\n"
    "  --settings FILE  read this settings file instead of the window's (never written)\r\n"
    "\r\n"
    "Exit status: 0 the scan ran, 1 it failed, 2 the command line was wrong.\r\n";

constexpr char CleanHelp[] =
    "Usage: lindqua-cli clean [--sections LIST] [--dry-run] [--yes] [--restore-point] [--no-ignore]\r\n"
    "                         [--format text|json] [--check-64bit-paths] [--settings FILE]\r\n"
    "\r\n"
    "Scans, then backs up and deletes every finding. The backup file is named\r\n"
    "before the first deletion. Ctrl+C finishes the current finding and stops.\r\n"
    "\r\n"
    "  --sections LIST  sections to scan, as for scan\r\n"
    "  --dry-run        print what the clean would do with each finding, delete nothing\r\n"
    "  --yes            do not ask (neither before deleting nor after a failed restore point)\r\n"
    "  --restore-point  have Windows make a restore point first\r\n"
    "  --no-ignore      keep the findings under ignored keys\r\n"
    "  --check-64bit-paths  scan as scan --check-64bit-paths does\r\n"
    "  --format json    {\"dryRun\":..,\"backupFile\":..,\"completed\":..,\"endReason\":..,\r\n"
    "                   \"findings\":[{..the scan's fields..,\"target\":..,\"result\":..,\"why\":..}],\r\n"
    "                   \"notAttempted\":..}; result is deleted, already gone, refused or failed\r\n"
    "  --settings FILE  read this settings file instead of the window's (never written)\r\n"
    "\r\n"
    "Exit status: 0 everything attempted was fixed, 1 it failed or was not\r\n"
    "confirmed, 2 the command line was wrong, 3 some findings could not be fixed\r\n"
    "(listed with the reason), 4 the clean ended early: the backup could not be\r\n"
    "written, the backup folder could not be made, or it was interrupted.\r\n";

constexpr char BackupsHelp[] =
    "Usage: lindqua-cli backups [--format text|json] [--settings FILE]\r\n"
    "       lindqua-cli backups delete FILE... [--settings FILE]\r\n"
    "\r\n"
    "backups lists the backup files of the backup folder, newest first, with\r\n"
    "their time, size and the keys and values each holds:\r\n"
    "  text  name  time  size  keys  values, one file a line\r\n"
    "  json  {\"folder\":..,\"backups\":[{\"name\":..,\"path\":..,\"time\":..,\"bytes\":..,\r\n"
    "        \"keys\":..,\"values\":..,\"readable\":..,\"problem\":..}]}\r\n"
    "backups delete removes the named .reg files of the backup folder (a name\r\n"
    "alone is taken from the backup folder); anything else is refused.\r\n"
    "\r\n"
    "Exit status: 0 done, 1 a file could not be listed or deleted, 2 the\r\n"
    "command line was wrong.\r\n";

constexpr char RestoreHelp[] =
    "Usage: lindqua-cli restore FILE|--latest [--yes] [--keep] [--format text|json] [--settings FILE]\r\n"
    "\r\n"
    "Imports a backup file with the system's registry editor, then reads every\r\n"
    "key and value of the file back from the registry and compares type and\r\n"
    "data. The file is deleted only when both succeeded and --keep is not given.\r\n"
    "\r\n"
    "  --latest         the newest backup file of the backup folder\r\n"
    "  --yes            do not ask before importing\r\n"
    "  --keep           keep the backup file\r\n"
    "  --format json    {\"file\":..,\"keys\":..,\"values\":..,\"verified\":..,\"deleted\":..,\r\n"
    "                   \"differences\":[{\"key\":..,\"value\":..,\"problem\":..}]}\r\n"
    "\r\n"
    "Exit status: 0 restored and verified, 1 failed, 2 the command line was\r\n"
    "wrong, 3 restored with differences (listed; the file is kept).\r\n";

}  // namespace

std::string CliUsageText(CliAction topic) {
  switch (topic) {
    case CliAction::Scan: return ScanHelp;
    case CliAction::Clean: return CleanHelp;
    case CliAction::Backups:
    case CliAction::BackupsDelete: return BackupsHelp;
    case CliAction::Restore: return RestoreHelp;
    default: break;
  }
  std::string text = Overview;
  text += "\r\nSections:\r\n";
  for (const ScanSectionInfo& section : ScanSections()) {
    text += "  ";
    if (section.id < 10) text += ' ';
    text += std::to_string(section.id) + "  " + section.treeCaption + "\r\n";
  }
  return text;
}

}  // namespace lindqua
