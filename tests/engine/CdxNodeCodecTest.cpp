#include "engine/CdxNodeCodec.h"
#include "CdxTestUtil.h"
#include "engine/EngineError.h"

#include <gtest/gtest.h>

using engine::CdxEntry;
using engine::EngineError;
using engine::cdx::CdxNode;
using engine::cdx::CdxNodeCodec;
using engine::cdx::Page;
using enginetest::hexBytes;

namespace {

std::vector<CdxEntry> entriesOf(const CdxNode& node) {
    std::vector<CdxEntry> out;
    for (std::size_t i = 0; i < node.size(); ++i)
        out.push_back(node.entry(i));
    return out;
}

Page pageOf(const std::string& bytes) {
    Page page{};
    std::copy(bytes.begin(), bytes.end(), page.begin());
    return page;
}

// A leaf as another writer might lay it out: key length 6, 10 record bits, 3+3 count bits, two
// bytes per entry. Keys "ABC"/5, "ABD"/7 (shares "AB"), "X"/300.
std::string handWrittenLeaf() {
    std::string page = hexBytes("03 00 03 00 FF FF FF FF FF FF FF FF"
                                "DD 01"
                                "FF 03 00 00 07 07 0A 03 03 02"
                                "05 60 07 68 2C A1");
    page.resize(507, '\0');
    page += "X"
            "D"
            "ABC";
    return page;
}

TEST(CdxNodeCodec, DecodesAHandWrittenLeafWithItsOwnWidths) {
    CdxNodeCodec codec(6, ' ');
    CdxNode node = codec.decode(pageOf(handWrittenLeaf()), 0xA00, "t.cdx");
    EXPECT_TRUE(node.leaf);
    EXPECT_TRUE(node.root);
    EXPECT_EQ(node.left, 0xFFFFFFFFu);
    EXPECT_EQ(entriesOf(node), (std::vector<CdxEntry>{{"ABC   ", 5}, {"ABD   ", 7}, {"X     ", 300}}));
    EXPECT_EQ(node.storedFree, 477u);
    EXPECT_EQ(node.actualFree, 477u);
}

TEST(CdxNodeCodec, DecodesAnInteriorNodeWithBigEndianNumbers) {
    std::string bytes = hexBytes("00 00 02 00 00 0C 00 00 FF FF FF FF");
    bytes += "AB" + hexBytes("00 00 00 30 00 00 0A 00");
    bytes += "CD" + hexBytes("00 01 00 00 00 00 1E 00");
    CdxNode node = CdxNodeCodec(2, ' ').decode(pageOf(bytes), 0x1000, "t.cdx");
    EXPECT_FALSE(node.leaf);
    EXPECT_FALSE(node.root);
    EXPECT_EQ(node.left, 0xC00u);
    EXPECT_EQ(entriesOf(node), (std::vector<CdxEntry>{{"AB", 48}, {"CD", 65536}}));
    EXPECT_EQ(node.children, (std::vector<std::uint32_t>{0xA00, 0x1E00}));
}

TEST(CdxNodeCodec, FreshLeafWidthsFollowKeyLengthAndRecordNumbers) {
    struct Case {
        std::uint16_t keyLength;
        std::uint32_t maxRecno;
        unsigned rec, dup, bytes;
    };
    const Case cases[] = {
        {10, 3, 16, 4, 3},    {10, 65535, 16, 4, 3},      {10, 65536, 24, 4, 4}, {40, 4095, 12, 6, 3},
        {40, 4096, 20, 6, 4}, {240, 255, 8, 8, 3},        {240, 1000, 16, 8, 4}, {240, 0xFFFFFFFF, 32, 8, 6},
        {1, 5, 22, 1, 3},     {10, 0xFFFFFFFF, 32, 4, 5},
    };
    for (const Case& c : cases) {
        CdxNodeCodec::Layout l = CdxNodeCodec(c.keyLength, ' ').layoutFor(c.maxRecno);
        EXPECT_EQ(l.recBits, c.rec) << c.keyLength << "/" << c.maxRecno;
        EXPECT_EQ(l.dupBits, c.dup) << c.keyLength << "/" << c.maxRecno;
        EXPECT_EQ(l.trailBits, c.dup) << c.keyLength << "/" << c.maxRecno;
        EXPECT_EQ(l.entryBytes, c.bytes) << c.keyLength << "/" << c.maxRecno;
    }
}

TEST(CdxNodeCodec, SharedBytesNeverReachIntoTrailingPad) {
    CdxNodeCodec codec(4, ' ');
    struct Case {
        std::string prev, key;
        std::size_t shared;
    };
    const Case cases[] = {{"AB  ", "AB C", 2}, {"AB C", "AB D", 3}, {"ABCD", "ABC ", 3},
                          {"A   ", "A   ", 1}, {"    ", "    ", 0}, {"ABCD", "ABCD", 4}};
    for (const Case& c : cases)
        EXPECT_EQ(codec.shared(c.prev, codec.trailing(c.prev), c.key, codec.trailing(c.key)), c.shared)
            << c.prev << "|" << c.key;
}

TEST(CdxNodeCodec, LeavesRoundTripAwkwardKeys) {
    for (char pad : {' ', '\0'}) {
        CdxNodeCodec codec(5, pad);
        std::string p(5, pad);
        CdxNode node(5, pad);
        node.offset = 0x400;
        node.left = 0x200;
        const std::vector<CdxEntry> entries{{p, 1},
                                            {std::string(p).replace(0, 1, "A"), 2},
                                            {std::string(p).replace(0, 3, std::string("A") + pad + "B"), 3},
                                            {"AAAAA", 4},
                                            {"AAAAA", 99999},
                                            {std::string(p).replace(0, 2, "\xFF\xFF"), 0xFFFFFFFF}};
        for (const CdxEntry& e : entries)
            node.push_back(e.key, e.recno);
        Page page;
        codec.encode(node, page);
        CdxNode back = codec.decode(page, 0x400, "t.cdx");
        EXPECT_EQ(entriesOf(back), entries);
        EXPECT_EQ(back.left, 0x200u);
        EXPECT_FALSE(back.root);
        EXPECT_EQ(back.storedFree, back.actualFree);
    }
}

TEST(CdxNodeCodec, ImpossiblePagesAreReportedAsDamage) {
    struct Case {
        const char* what;
        std::size_t at;
        std::string bytes;
    };
    const Case cases[] = {
        {"more entries than fit", 2, hexBytes("F5 00")},
        {"zero bytes per entry", 23, hexBytes("00")},
        {"widths wider than the entry", 20, hexBytes("10 08 08")},
        {"duplicate and trailing counts beyond the key", 27, hexBytes("FF")},
        {"text overlapping the entries", 2, hexBytes("A0 00")},
    };
    for (const Case& c : cases) {
        std::string bytes = handWrittenLeaf();
        bytes.replace(c.at, c.bytes.size(), c.bytes);
        EXPECT_THROW(CdxNodeCodec(6, ' ').decode(pageOf(bytes), 0xA00, "t.cdx"), EngineError) << c.what;
    }
    std::string interior = hexBytes("00 00 FF 00 FF FF FF FF FF FF FF FF");
    EXPECT_THROW(CdxNodeCodec(6, ' ').decode(pageOf(interior), 0xA00, "t.cdx"), EngineError);
}

} // namespace
