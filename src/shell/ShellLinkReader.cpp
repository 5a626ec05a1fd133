#include "shell/ShellLinkReader.h"

#include <array>

#include "engine/CodePage.h"
#include "shell/ByteReader.h"
#include "shell/ShellError.h"
#include "shell/Utf16.h"

namespace shell {

namespace {

constexpr std::uint32_t headerSize = 0x4C;
constexpr std::array<unsigned char, 16> linkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t linkInfoMinHeader = 0x1C;
constexpr std::uint32_t linkInfoUnicodeHeader = 0x24;
constexpr std::uint32_t volumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t commonNetworkRelativeLink = 0x2;

// Cuts a string at its first NUL: some writers count a terminating NUL in a string's length.
std::u16string cutAtNul(std::u16string text) {
    const auto nul = text.find(u'\0');
    if (nul != std::u16string::npos)
        text.resize(nul);
    return text;
}

std::string cutAtNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

void readHeader(ByteReader& in, ShellLinkRecord& link) {
    if (in.size() < headerSize)
        throw ShellError("файл короче заголовка ярлыка");
    if (in.u32() != headerSize)
        throw ShellError("неверный размер заголовка");
    const auto clsid = in.bytes(linkClsid.size());
    for (std::size_t i = 0; i < linkClsid.size(); ++i) {
        if (static_cast<unsigned char>(clsid[i]) != linkClsid[i])
            throw ShellError("неверный идентификатор класса в заголовке");
    }
    link.flags = in.u32();
    link.fileAttributes = in.u32();
    link.creationTime = in.u64();
    link.accessTime = in.u64();
    link.writeTime = in.u64();
    link.fileSize = in.u32();
    link.iconIndex = static_cast<std::int32_t>(in.u32());
    link.showCommand = static_cast<std::int32_t>(in.u32());
    link.hotKey = in.u16();
    in.skip(10); // reserved
}

// The item ID list is skipped; only its items are counted (each item's size counts itself, a
// zero size ends the list).
void readIdList(ByteReader& in, ShellLinkRecord& link) {
    link.idListSize = in.u16();
    ByteReader list(in.bytes(link.idListSize), "список идентификаторов");
    while (!list.atEnd()) {
        const auto itemSize = list.u16();
        if (itemSize == 0)
            break;
        if (itemSize < 2)
            list.fail();
        list.skip(itemSize - 2u);
        ++link.idListItems;
    }
}

// A NUL-terminated string at an offset inside the LinkInfo structure.
std::string ansiAt(std::string_view info, std::uint32_t offset) {
    ByteReader in(info, "LinkInfo");
    in.seek(offset);
    return engine::utf8FromCp1251(in.ansiString());
}

std::string unicodeAt(std::string_view info, std::uint32_t offset) {
    ByteReader in(info, "LinkInfo");
    in.seek(offset);
    return utf8FromUtf16(in.unicodeString());
}

void readVolumeId(std::string_view info, std::uint32_t offset, ShellLinkRecord& link) {
    ByteReader head(info, "VolumeID");
    head.seek(offset);
    const auto size = head.u32();
    if (size <= 0x10)
        head.fail();
    head.seek(offset);
    const auto volume = head.bytes(size);
    ByteReader in(volume, "VolumeID");
    in.skip(4);
    link.driveType = in.u32();
    link.driveSerial = in.u32();
    const auto labelOffset = in.u32();
    if (labelOffset == 0x14) {
        in.seek(in.u32());
        link.volumeLabel = utf8FromUtf16(in.unicodeString());
    } else {
        in.seek(labelOffset);
        link.volumeLabel = engine::utf8FromCp1251(in.ansiString());
    }
}

void readNetworkLink(std::string_view info, std::uint32_t offset, ShellLinkRecord& link) {
    ByteReader head(info, "CommonNetworkRelativeLink");
    head.seek(offset);
    const auto size = head.u32();
    if (size < 0x14)
        head.fail();
    head.seek(offset);
    const auto block = head.bytes(size);
    ByteReader in(block, "CommonNetworkRelativeLink");
    in.skip(8); // size, flags
    const auto netNameOffset = in.u32();
    in.skip(8); // device name offset, provider type
    if (netNameOffset > 0x14) {
        const auto unicodeOffset = in.u32();
        if (unicodeOffset != 0) {
            in.seek(unicodeOffset);
            link.netName = utf8FromUtf16(in.unicodeString());
            return;
        }
    }
    in.seek(netNameOffset);
    link.netName = engine::utf8FromCp1251(in.ansiString());
}

void readLinkInfo(ByteReader& in, ShellLinkRecord& link) {
    const auto start = in.pos();
    const auto size = ByteReader(in.bytes(4), "LinkInfo").u32();
    in.seek(start);
    if (size < linkInfoMinHeader)
        throw ShellError("неверный размер блока LinkInfo");
    const auto info = in.bytes(size);
    ByteReader head(info, "LinkInfo");
    head.skip(4);
    link.hasLinkInfo = true;
    link.linkInfoHeaderSize = head.u32();
    if (link.linkInfoHeaderSize < linkInfoMinHeader || link.linkInfoHeaderSize > size)
        throw ShellError("неверный размер заголовка блока LinkInfo");
    link.linkInfoFlags = head.u32();
    const auto volumeIdOffset = head.u32();
    const auto localBasePathOffset = head.u32();
    const auto networkOffset = head.u32();
    const auto suffixOffset = head.u32();
    std::uint32_t localBasePathUnicodeOffset = 0;
    std::uint32_t suffixUnicodeOffset = 0;
    if (link.linkInfoHeaderSize >= linkInfoUnicodeHeader) {
        localBasePathUnicodeOffset = head.u32();
        suffixUnicodeOffset = head.u32();
    }
    if (link.linkInfoFlags & volumeIdAndLocalBasePath) {
        readVolumeId(info, volumeIdOffset, link);
        link.localBasePath = ansiAt(info, localBasePathOffset);
        if (localBasePathUnicodeOffset != 0)
            link.localBasePathUnicode = unicodeAt(info, localBasePathUnicodeOffset);
    }
    if (link.linkInfoFlags & commonNetworkRelativeLink)
        readNetworkLink(info, networkOffset, link);
    if (suffixOffset != 0)
        link.commonPathSuffix = ansiAt(info, suffixOffset);
    if (suffixUnicodeOffset != 0)
        link.commonPathSuffixUnicode = unicodeAt(info, suffixUnicodeOffset);
}

// One StringData entry: a count of characters, then that many UTF-16 units or ANSI bytes.
std::string readString(ByteReader& in, bool unicode) {
    const std::size_t count = in.u16();
    if (unicode)
        return utf8FromUtf16(cutAtNul(in.unicodeChars(count)));
    return engine::utf8FromCp1251(cutAtNul(in.bytes(count)));
}

void readStrings(ByteReader& in, ShellLinkRecord& link) {
    const bool unicode = link.flags & linkflags::IsUnicode;
    const std::pair<std::uint32_t, std::string*> strings[] = {
        {linkflags::HasName, &link.name},
        {linkflags::HasRelativePath, &link.relativePath},
        {linkflags::HasWorkingDir, &link.workingDir},
        {linkflags::HasArguments, &link.arguments},
        {linkflags::HasIconLocation, &link.iconLocation},
    };
    for (const auto& [flag, target] : strings) {
        if (link.flags & flag)
            *target = readString(in, unicode);
    }
}

// ExtraData blocks are skipped up to the terminal block, a size below 4, which must be present.
void readExtraData(ByteReader& in, ShellLinkRecord& link) {
    for (;;) {
        const auto start = in.pos();
        const auto size = in.u32();
        if (size < 4)
            return;
        if (size < 8)
            in.fail();
        const auto signature = in.u32();
        in.seek(start);
        in.skip(size);
        link.extraBlocks.push_back({size, signature});
    }
}

} // namespace

ShellLinkRecord ShellLinkReader::parse(std::string_view bytes) {
    ShellLinkRecord link;
    ByteReader header(bytes, "заголовок");
    readHeader(header, link);

    ByteReader in(bytes, "список идентификаторов");
    in.seek(headerSize);
    if (link.flags & linkflags::HasLinkTargetIDList)
        readIdList(in, link);
    if (link.flags & linkflags::HasLinkInfo) {
        ByteReader infoPart(bytes.substr(in.pos()), "LinkInfo");
        readLinkInfo(infoPart, link);
        in.skip(infoPart.pos());
    }
    ByteReader strings(bytes.substr(in.pos()), "строки");
    readStrings(strings, link);
    ByteReader extra(bytes.substr(in.pos() + strings.pos()), "дополнительные данные");
    readExtraData(extra, link);
    return link;
}

} // namespace shell
