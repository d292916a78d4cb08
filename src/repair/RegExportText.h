#pragma once
// The text of a backup block: key lines and value lines in the REGEDIT4 form
// that regedit imports back to the same key names, value names, types and
// data. Everything is rendered in memory first, so that a name or a text the
// backup cannot hold exactly is found before a byte reaches the file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "platform/RegistryBackend.h"
#include "repair/RegKeySnapshot.h"

namespace lindqua {

// Why a key or value cannot be backed up exactly; empty when it can.
struct RenderProblem {
  std::string what;
};

// The data part of a value line ("\"text\"", "dword:0000000A", "hex(2):41,00"),
// or nullopt with the reason when regedit could not restore it exactly.
std::optional<std::string> RenderValueData(const RegValue& value, const AnsiCodePage& ansi, RenderProblem& problem);
// The whole value line with its CR LF (hex data may span several lines).
std::optional<std::string> RenderValueLine(const RegValueEntry& entry, const AnsiCodePage& ansi,
                                           RenderProblem& problem);
// "hex:" style byte list with the ",\" continuation after bytes 25, 50, 75 ...
std::string HexByteList(std::string_view bytes);

// The key block of a snapshot: an empty line, the key line and its value
// lines, then the blocks of its subkeys, parent first and depth first.
[[nodiscard]] bool WriteKeyBlock(const RegKeySnapshot& key, RootKey root, const AnsiCodePage& ansi, std::string& out,
                                 RenderProblem& problem);

}  // namespace lindqua
