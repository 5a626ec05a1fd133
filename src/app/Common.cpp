#include "app/Common.h"

#include "engine/CodePage.h"
#include "platform/KeyboardState.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <memory>

namespace app {

// clang-format off
constexpr std::array<std::uint8_t, 256> PasswordTable = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,  // 00
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,  // 10
    0x20, 0x53, 0x2C, 0x48, 0xE2, 0xA9, 0xC0, 0x60, 0x8D, 0xCC, 0x52, 0xC1, 0x22, 0x83, 0xF3, 0x5E,  // 20
    0xFC, 0xE6, 0xBD, 0xE4, 0x72, 0xD6, 0x7B, 0x78, 0x91, 0x9D, 0x57, 0x79, 0xA8, 0x88, 0xBA, 0x69,  // 30
    0xE7, 0xFA, 0xD7, 0xAE, 0x5A, 0x86, 0x89, 0x55, 0x23, 0xCB, 0x75, 0x8F, 0xB4, 0xF1, 0xC2, 0x61,  // 40
    0x9B, 0x64, 0x2A, 0x21, 0x94, 0x47, 0xC8, 0x3A, 0x5B, 0xB9, 0x44, 0x58, 0x80, 0xDA, 0x2F, 0xAA,  // 50
    0x27, 0x4F, 0xA1, 0x85, 0x51, 0x6D, 0xEA, 0xA5, 0xFF, 0x3F, 0x7C, 0xF8, 0x95, 0x65, 0xB3, 0xBF,  // 60
    0xC3, 0xBC, 0x34, 0xCA, 0xAB, 0x4A, 0xA3, 0xCD, 0x37, 0x3B, 0x8A, 0x36, 0x6A, 0xC6, 0xC4, 0x7F,  // 70
    0x5C, 0xA7, 0xAD, 0x2D, 0xF2, 0x63, 0x45, 0xBE, 0x3D, 0x46, 0x7A, 0xB1, 0x93, 0x28, 0xA6, 0x4B,  // 80
    0x99, 0x38, 0xE8, 0x8C, 0x54, 0x6C, 0xBB, 0xF5, 0x98, 0x90, 0xFB, 0x50, 0xEC, 0x39, 0xD9, 0xB6,  // 90
    0xA0, 0x62, 0xF0, 0x76, 0xE5, 0x67, 0x8E, 0x81, 0x3C, 0x25, 0x5F, 0x74, 0xDE, 0x82, 0x43, 0xF7,  // A0
    0xE9, 0x8B, 0xED, 0x6E, 0x4C, 0xCF, 0x9F, 0xD3, 0xCE, 0x59, 0x3E, 0x96, 0x71, 0x32, 0x87, 0x6F,  // B0
    0x26, 0x2B, 0x4E, 0x70, 0x7E, 0xEF, 0x7D, 0xD5, 0x56, 0xFD, 0x73, 0x49, 0x29, 0x77, 0xB8, 0xB5,  // C0
    0xF4, 0xE3, 0xEE, 0xB7, 0xE1, 0xC7, 0x35, 0x42, 0xEB, 0x9E, 0x5D, 0xDD, 0xDF, 0xDB, 0xAC, 0xDC,  // D0
    0xFE, 0xD4, 0x24, 0xD1, 0x33, 0xA4, 0x31, 0x40, 0x92, 0xB0, 0x66, 0xD8, 0x9C, 0xB2, 0xD2, 0xC5,  // E0
    0xA2, 0x4D, 0x84, 0x2E, 0xD0, 0x97, 0xF9, 0xAF, 0x6B, 0xF6, 0x41, 0x9A, 0x30, 0xC9, 0xE0, 0x68,  // F0
};
// clang-format on

namespace {

constexpr bool isPrintableDefined(unsigned b) {
    return (b >= 0x21 && b <= 0x7E) || (b >= 0x80 && b != 0x98);
}

// The table's promises, checked by the compiler: an involution that moves every printable defined
// byte except 0xA0 to another such byte and leaves every other byte alone.
constexpr bool passwordTableIsSound() {
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned s = PasswordTable[b];
        if (PasswordTable[s] != b)
            return false;
        const bool moves = isPrintableDefined(b) && b != 0xA0;
        if (moves != (s != b) || (moves && !isPrintableDefined(s)))
            return false;
    }
    return true;
}
static_assert(passwordTableIsSound());

std::unique_ptr<platform::RegistryKey> openTitles(platform::Registry& registry) {
    return registry.openKey(platform::RegistryRoot::CurrentUser, std::string(TitlesKeyPath));
}

// Upper-cased extension of the file name: from its last dot, dot included; empty without a dot.
std::string upperExtension(std::string_view path) {
    const auto nameStart = path.find_last_of("\\:/");
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (nameStart != std::string_view::npos && dot < nameStart))
        return {};
    return engine::upperUtf8(path.substr(dot));
}

} // namespace

int ShiftStateBits(const platform::KeyboardState& keys) {
    int bits = 0;
    if (keys.isDown(platform::ModifierKey::Alt))
        bits += 2;
    if (keys.isDown(platform::ModifierKey::Ctrl))
        bits += 4;
    if (keys.isDown(platform::ModifierKey::Shift))
        bits += 1;
    return bits;
}

std::string ScramblePassword(std::string_view text) {
    std::string bytes = engine::cp1251FromUtf8Lossy(text);
    for (char& c : bytes)
        c = static_cast<char>(PasswordTable[static_cast<std::uint8_t>(c)]);
    return engine::utf8FromCp1251(bytes);
}

std::string NextNewBaseName() {
    ++NewBaseCounter;
    return "Новая ИБ " + std::to_string(NewBaseCounter);
}

bool TitleExists(platform::Registry& registry, const std::string& directory) {
    if (directory.empty())
        return false;
    const auto key = openTitles(registry);
    return key && key->hasValue(directory);
}

void TitleDelete(platform::Registry& registry, const std::string& directory) {
    if (directory.empty())
        return;
    const auto key = openTitles(registry);
    if (key && key->hasValue(directory)) {
        key->deleteValue(directory);
        key->flush();
    }
}

void TitleWrite(platform::Registry& registry, const std::string& directory, const std::string& title) {
    if (directory.empty())
        return;
    if (const auto key = openTitles(registry)) {
        key->writeString(directory, title);
        key->flush();
    }
}

void TitleWriteIfAbsent(platform::Registry& registry, const std::string& directory, const std::string& title) {
    if (directory.empty())
        return;
    const auto key = openTitles(registry);
    if (key && !key->hasValue(directory)) {
        key->writeString(directory, title);
        key->flush();
    }
}

void TitleRegister(platform::Registry& registry, const std::string& directory, const std::string& title) {
    if (directory.empty())
        return;
    TitleWriteIfAbsent(registry, directory, title);
    if (const auto key =
            registry.createKey(platform::RegistryRoot::CurrentUser, std::string(InfobaseKeyPrefix) + title))
        key->flush();
}

void RunProgram(platform::Shell& shell, const std::string& program, const std::string& arguments,
                const std::string& password) {
    shell.runProgram(program, arguments, password);
}

bool IsShortcutFile(std::string_view path) {
    return upperExtension(path) == ".LNK";
}

bool IsExeFile(std::string_view path) {
    return upperExtension(path) == ".EXE";
}

bool IsEnterpriseExe(std::string_view path) {
    const auto nameStart = path.find_last_of("\\:/");
    const auto name = nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
    return engine::upperUtf8(name).find("1CV7") != std::string::npos && IsExeFile(path);
}

std::string ExtractSwitch(std::string_view switchText, std::string_view arguments) {
    const auto found = arguments.find(switchText);
    if (found == std::string_view::npos)
        return {};
    std::string value;
    for (std::size_t i = found + switchText.size(); i < arguments.size(); ++i) {
        if (arguments[i] == ' ' && i + 1 < arguments.size() && arguments[i + 1] == '/')
            break;
        value.push_back(arguments[i]);
    }
    return value;
}

LaunchArgs ParseLaunchArgs(std::string_view arguments) {
    std::string unquoted;
    unquoted.reserve(arguments.size());
    for (char c : arguments)
        if (c != '"')
            unquoted.push_back(c);
    LaunchArgs args;
    args.directory = ExtractSwitch("/d", unquoted);
    args.userName = ExtractSwitch("/n", unquoted);
    args.password = ExtractSwitch("/p", unquoted);
    args.userDirectory = ExtractSwitch("/u", unquoted);
    args.batchFile = ExtractSwitch("/@", unquoted);
    return args;
}

} // namespace app
