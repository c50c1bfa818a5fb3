#pragma once
// The script language of ostrel-host: one export call per line,
//   Export text value mem
// text and mem: a double-quoted string (escapes \" and \\) or null; mem may also
// be `out`, a 4096-byte output block. value: a decimal number or nan. Missing
// trailing arguments are null, 0, null. `#` starts a comment.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::host {

struct ScriptCall {
    std::string exportName;
    std::optional<std::string> text;
    double value = 0;
    enum class Mem { Null, Text, Out } memKind = Mem::Null;
    std::string memText;
};

// nullopt with `error` set for a malformed line; a call with an empty name for
// a blank or comment line.
std::optional<ScriptCall> parseScriptLine(std::string_view line, std::string& error);

// The text in the host's quoted form.
std::string quoteText(std::string_view text);

}  // namespace ostrel::host
