#include "platform/memory/PortableIniFile.h"

#include "platform/memory/IniDocument.h"
#include "platform/Text.h"

namespace lindqua {

PortableIniFile::PortableIniFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

std::string PortableIniFile::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) {
  // Blanks at the end of a default are dropped, as the system does.
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  std::string bytes;
  IniDocument document;
  if (files_.ReadWholeFile(path_, bytes)) document = ParseIniDocument(bytes);
  const IniEntry* entry = FindIniEntry(document, Utf8ToUtf16(section), Utf8ToUtf16(key));
  const std::u16string stored = entry && entry->value ? *entry->value : Utf8ToUtf16(defaultValue);
  return Utf16ToUtf8(IniReadResult(stored, MaxReadChars));
}

bool PortableIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string bytes;
  IniDocument document;
  if (files_.ReadWholeFile(path_, bytes)) document = ParseIniDocument(bytes);
  // An unchanged value leaves the file alone, as the system's function does.
  if (!SetIniEntry(document, Utf8ToUtf16(section), Utf8ToUtf16(key), Utf8ToUtf16(value))) return true;
  return files_.WriteWholeFile(path_, SerializeIniDocument(document));
}

std::unique_ptr<IniFile> PortableIniFiles::Open(std::string_view path) {
  return std::make_unique<PortableIniFile>(files_, std::string(path));
}

}  // namespace lindqua
