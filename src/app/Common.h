#pragma once
#include "app/FilterMode.h"
#include "app/LaunchArgs.h"
#include "app/LaunchSource.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class KeyboardState;
class Registry;
class Shell;
} // namespace platform

// Unit Common: the constant tables of the 1C:Enterprise command line, the password substitution,
// the Titles helpers, the shell launch, file-type tests, the argument-string parser and the
// process-wide ids of the category and division bars. All text is UTF-8.
namespace app {

// Mode keyword of each start regime: 0 enterprise, 1 configurator, 2 debugger, 3 monitor, 4 batch
// (batch uses the configurator's keyword; the batch file makes it batch).
inline constexpr std::array<std::string_view, 5> RegimeKeywords = {"enterprise", "config", "debug", "monitor",
                                                                   "config"};

// Argument for the exclusive flag: ExclusiveArgs[exclusive].
inline constexpr std::array<std::string_view, 2> ExclusiveArgs = {"", " /m"};

// Captions of the key grid: ModifierCaptions[flag][column], columns Alt, Ctrl, Shift.
inline constexpr std::array<std::array<std::string_view, 3>, 2> ModifierCaptions = {
    {{"", "", ""}, {"Alt", "Ctrl", "Shift"}}};

// Byte substitution of stored passwords. It is its own inverse and pairs up the printable, defined
// Windows-1251 bytes (0x21-0x7E, 0x80-0xFF) except the no-break space 0xA0; every other byte
// (controls, blank, DEL, the undefined 0x98, 0xA0) stays itself, so a scrambled password never
// gains a blank, a NUL, a control character or an undefined byte. Stored passwords depend on
// these values: never change them.
extern const std::array<std::uint8_t, 256> PasswordTable;

// Process-wide state; 0 when the program starts.
inline std::int32_t NewBaseCounter = 0;    // default infobase names handed out this run
inline std::int32_t CurrentCategoryId = 0; // id of the category item chosen last
inline std::int32_t CurrentDivisionId = 0; // id of the division item chosen last
inline std::int32_t CategorySection = 0;   // section index of the category item chosen last
inline std::int32_t CategoryItem = 0;      // item index of the category item chosen last
inline std::int32_t DivisionSection = 0;   // section index of the division item chosen last
inline std::int32_t DivisionItem = 0;      // item index of the division item chosen last
inline std::int32_t NextCategoryId = 0;    // id counter of new category items
inline std::int32_t NextDivisionId = 0;    // id counter of new division items

// Key of 1C:Enterprise's list of infobases under HKEY_CURRENT_USER (value name = directory,
// data = title), and the prefix of its per-infobase keys (prefix + title).
inline constexpr std::string_view TitlesKeyPath = "Software\\1C\\1Cv7\\7.7\\Titles";
inline constexpr std::string_view InfobaseKeyPrefix = "Software\\1C\\1Cv7\\7.7\\";

// Modifier bit mask of the input event being handled: 1 Shift, 2 Alt, 4 Ctrl.
int ShiftStateBits(const platform::KeyboardState& keys);

// Scrambles or unscrambles a password (the same call does both): each Windows-1251 byte is
// replaced through PasswordTable; the length in characters never changes. A character that
// Windows-1251 cannot hold (or malformed UTF-8) is taken as '?' first.
std::string ScramblePassword(std::string_view text);

// Advances NewBaseCounter and returns "Новая ИБ " followed by it in decimal.
std::string NextNewBaseName();

// The Titles helpers open the Titles key afresh for each call and never create it: without the
// key, TitleExists answers false and the writers do nothing. An empty directory would name the
// key's unnamed default value, so it is never looked up or written. A RegistryError raised while
// setting a value reaches the caller.

// True when the Titles key holds an entry named directory (names compare without regard to case).
bool TitleExists(platform::Registry& registry, const std::string& directory);
// Removes the entry named directory, if there is one.
void TitleDelete(platform::Registry& registry, const std::string& directory);
// Writes the entry directory = title, replacing an existing one.
void TitleWrite(platform::Registry& registry, const std::string& directory, const std::string& title);
// Writes the entry directory = title only when there is no entry of that name yet.
void TitleWriteIfAbsent(platform::Registry& registry, const std::string& directory, const std::string& title);
// TitleWriteIfAbsent, then makes sure the per-infobase key InfobaseKeyPrefix + title exists under
// HKEY_CURRENT_USER (created from the root, even when the Titles key is missing).
void TitleRegister(platform::Registry& registry, const std::string& directory, const std::string& title);

// Starts a program with an argument string through the shell; failures are silent. password is the
// plain password the string carries, which the shell keeps out of sight of other users.
void RunProgram(platform::Shell& shell, const std::string& program, const std::string& arguments,
                const std::string& password = {});

// File-type tests on the extension of the file name (from its last dot, dot included), compared
// without regard to case. The file name is what follows the last "\", ":" or "/".
bool IsShortcutFile(std::string_view path); // ".lnk"
bool IsExeFile(std::string_view path);      // ".exe"
// An ".exe" whose file name (not directory) contains "1cv7" in any case.
bool IsEnterpriseExe(std::string_view path);

// Value of a switch such as "/d" in an argument string: the text after the first occurrence of
// the switch (case-sensitive, anywhere), up to the first blank that is directly followed by "/",
// or to the end. Nothing is trimmed; empty when the switch does not occur.
std::string ExtractSwitch(std::string_view switchText, std::string_view arguments);

// Splits an argument string into its five values after removing every double quote.
LaunchArgs ParseLaunchArgs(std::string_view arguments);

} // namespace app
