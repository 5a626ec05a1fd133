#include "shell/ShellLinkFile.h"

#include <cstdint>
#include <cstdio>

#include "engine/CodePage.h"
#include "shell/ByteWriter.h"
#include "shell/ShellError.h"
#include "shell/ShellLinkReader.h"
#include "shell/ShellLinkRecord.h"
#include "shell/Utf16.h"

namespace shell {

namespace {

constexpr unsigned char linkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t linkInfoHeaderSize = 0x24; // with the two Unicode offsets
constexpr std::uint32_t driveFixed = 3;
constexpr std::uint32_t validNetType = 0x2;
constexpr std::uint32_t netLanman = 0x00020000;

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool isUncPath(std::string_view path) {
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

// LinkInfo for a local target: VolumeID (fixed drive, no serial, empty label), the path in
// Windows-1251 and in UTF-16, each with an empty suffix.
std::string localLinkInfo(const std::string& target) {
    ByteWriter out;
    out.zeros(linkInfoHeaderSize);
    const auto volumeId = out.size();
    out.u32(0x11);
    out.u32(driveFixed);
    out.u32(0);    // serial number
    out.u32(0x10); // label offset
    out.ansiz("");
    const auto basePath = out.size();
    out.ansiz(engine::cp1251FromUtf8Lossy(target));
    const auto suffix = out.size();
    out.ansiz("");
    out.alignEven();
    const auto basePathUnicode = out.size();
    out.unicodez(utf16FromUtf8(target));
    const auto suffixUnicode = out.size();
    out.unicodez(u"");

    out.patch32(0, out.size());
    out.patch32(4, linkInfoHeaderSize);
    out.patch32(8, 0x1); // VolumeIDAndLocalBasePath
    out.patch32(12, volumeId);
    out.patch32(16, basePath);
    out.patch32(20, 0);
    out.patch32(24, suffix);
    out.patch32(28, basePathUnicode);
    out.patch32(32, suffixUnicode);
    return out.take();
}

// LinkInfo for a UNC target "\\server\share\rest": the share in a CommonNetworkRelativeLink
// (with its Unicode name), the rest as the common path suffix.
std::string networkLinkInfo(const std::string& target) {
    std::string share = target;
    std::string rest;
    const auto serverEnd = target.find('\\', 2);
    const auto shareEnd = serverEnd == std::string::npos ? serverEnd : target.find('\\', serverEnd + 1);
    if (shareEnd != std::string::npos) {
        share = target.substr(0, shareEnd);
        rest = target.substr(shareEnd + 1);
    }
    ByteWriter out;
    out.zeros(linkInfoHeaderSize);
    const auto network = out.size();
    out.zeros(0x1C);
    out.ansiz(engine::cp1251FromUtf8Lossy(share));
    out.alignEven();
    const auto netNameUnicode = out.size() - network;
    out.unicodez(utf16FromUtf8(share));
    const auto networkSize = out.size() - network;
    const auto suffix = out.size();
    out.ansiz(engine::cp1251FromUtf8Lossy(rest));
    out.alignEven();
    const auto suffixUnicode = out.size();
    out.unicodez(utf16FromUtf8(rest));

    out.patch32(network, networkSize);
    out.patch32(network + 4, validNetType);
    out.patch32(network + 8, 0x1C); // net name follows the structure's header
    out.patch32(network + 12, 0);   // no device name
    out.patch32(network + 16, netLanman);
    out.patch32(network + 20, netNameUnicode);
    out.patch32(network + 24, 0);

    out.patch32(0, out.size());
    out.patch32(4, linkInfoHeaderSize);
    out.patch32(8, 0x2); // CommonNetworkRelativeLinkAndPathSuffix
    out.patch32(12, 0);
    out.patch32(16, 0);
    out.patch32(20, network);
    out.patch32(24, suffix);
    out.patch32(28, 0);
    out.patch32(32, suffixUnicode);
    return out.take();
}

void writeString(ByteWriter& out, const std::string& text, const char* what) {
    const auto units = utf16FromUtf8(text);
    if (units.size() > 0xFFFF)
        throw ShellError(std::string("Строка «") + what + "» слишком длинна для ярлыка Windows");
    out.u16(static_cast<std::uint32_t>(units.size()));
    out.unicode(units);
}

std::string hex(std::uint64_t value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(value));
    return buf;
}

} // namespace

std::string ShellLinkFile::encode(const TShellLinkInfo& info) {
    const std::string& target = info.TargetPath;
    std::string linkInfo;
    if (hasDriveLetter(target))
        linkInfo = localLinkInfo(target);
    else if (isUncPath(target))
        linkInfo = networkLinkInfo(target);
    const bool relative = linkInfo.empty() && !target.empty();

    std::uint32_t flags = linkflags::IsUnicode;
    if (!linkInfo.empty())
        flags |= linkflags::HasLinkInfo;
    if (!info.Description.empty())
        flags |= linkflags::HasName;
    if (relative)
        flags |= linkflags::HasRelativePath;
    if (!info.WorkingDirectory.empty())
        flags |= linkflags::HasWorkingDir;
    if (!info.Arguments.empty())
        flags |= linkflags::HasArguments;
    if (!info.IconPath.empty())
        flags |= linkflags::HasIconLocation;

    ByteWriter out;
    out.u32(0x4C);
    out.bytes(std::string_view(reinterpret_cast<const char*>(linkClsid), sizeof linkClsid));
    out.u32(flags);
    out.u32(0);    // attributes of the target: not known without the file system
    out.zeros(24); // creation, access and write times: not set
    out.u32(0);    // target size
    out.u32(static_cast<std::uint32_t>(info.IconIndex));
    out.u32(static_cast<std::uint32_t>(info.ShowCommand));
    out.u16(info.HotKey);
    out.zeros(10);

    out.bytes(linkInfo);
    if (!info.Description.empty())
        writeString(out, info.Description, "описание");
    if (relative)
        writeString(out, target, "объект");
    if (!info.WorkingDirectory.empty())
        writeString(out, info.WorkingDirectory, "рабочая папка");
    if (!info.Arguments.empty())
        writeString(out, info.Arguments, "аргументы");
    if (!info.IconPath.empty())
        writeString(out, info.IconPath, "значок");
    out.u32(0); // terminal block
    return out.take();
}

TShellLinkInfo ShellLinkFile::decode(std::string_view bytes, std::string_view fileName) {
    ShellLinkRecord link;
    try {
        link = ShellLinkReader::parse(bytes);
    } catch (const ShellError& e) {
        const std::string subject =
            fileName.empty() ? std::string("Данные не являются") : "Файл " + std::string(fileName) + " не является";
        throw ShellError(subject + " ярлыком Windows: " + e.what());
    }
    TShellLinkInfo info;
    info.TargetPath = link.targetPath();
    info.Arguments = link.arguments;
    info.Description = link.name;
    info.WorkingDirectory = link.workingDir;
    info.IconPath = link.iconLocation;
    info.IconIndex = link.iconIndex;
    info.ShowCommand = link.showCommand;
    info.HotKey = link.hotKey;
    return info;
}

std::string ShellLinkFile::dump(std::string_view bytes) {
    ShellLinkRecord link;
    try {
        link = ShellLinkReader::parse(bytes);
    } catch (const ShellError& e) {
        return std::string("error: ") + e.what() + "\n";
    }
    std::string out;
    const auto line = [&out](const char* name, const std::string& value) {
        out += name;
        out += ": ";
        out += value;
        out += '\n';
    };
    const auto optional = [&line](const char* name, const std::optional<std::string>& value) {
        if (value)
            line(name, *value);
    };
    line("flags", hex(link.flags));
    line("attributes", hex(link.fileAttributes));
    line("creation time", std::to_string(link.creationTime));
    line("access time", std::to_string(link.accessTime));
    line("write time", std::to_string(link.writeTime));
    line("file size", std::to_string(link.fileSize));
    line("icon index", std::to_string(link.iconIndex));
    line("show command", std::to_string(link.showCommand));
    line("hot key", hex(link.hotKey));
    if (link.flags & linkflags::HasLinkTargetIDList)
        line("id list", std::to_string(link.idListSize) + " bytes, " + std::to_string(link.idListItems) + " items");
    if (link.hasLinkInfo) {
        line("link info header size", hex(link.linkInfoHeaderSize));
        line("link info flags", hex(link.linkInfoFlags));
        if (link.localBasePath) {
            line("drive type", std::to_string(link.driveType));
            line("drive serial", hex(link.driveSerial));
            line("volume label", link.volumeLabel);
        }
        optional("local base path", link.localBasePath);
        optional("local base path unicode", link.localBasePathUnicode);
        optional("net name", link.netName);
        optional("common path suffix", link.commonPathSuffix);
        optional("common path suffix unicode", link.commonPathSuffixUnicode);
    }
    const std::pair<std::uint32_t, const std::string*> strings[] = {
        {linkflags::HasName, &link.name},
        {linkflags::HasRelativePath, &link.relativePath},
        {linkflags::HasWorkingDir, &link.workingDir},
        {linkflags::HasArguments, &link.arguments},
        {linkflags::HasIconLocation, &link.iconLocation},
    };
    const char* names[] = {"description", "relative path", "working directory", "arguments", "icon location"};
    for (std::size_t i = 0; i < std::size(strings); ++i) {
        if (link.flags & strings[i].first)
            line(names[i], *strings[i].second);
    }
    for (const auto& block : link.extraBlocks)
        line("extra block", hex(block.signature) + ", " + std::to_string(block.size) + " bytes");
    line("target", link.targetPath());
    return out;
}

} // namespace shell
