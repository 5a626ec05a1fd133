#include "engine/CdxIndex.h"

#include "engine/CdxChecker.h"
#include "engine/CdxFormat.h"
#include "engine/CdxPager.h"
#include "engine/CdxTagList.h"
#include "engine/CdxTree.h"
#include "engine/EngineError.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace engine {

using namespace cdx;

namespace {

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void checkDefinitions(const File& file, const std::vector<CdxTagDefinition>& tags) {
    std::set<std::string> names;
    for (const CdxTagDefinition& tag : tags) {
        std::string name = upperAscii(tag.name);
        auto refuse = [&](const std::string& why) {
            throw EngineError("Index file " + file.name() + ": tag \"" + tag.name + "\" " + why);
        };
        if (name.empty() || name.size() > kTagNameLength)
            refuse("needs a name of 1 to 10 characters");
        if (name.find_first_of(std::string(" \0", 2)) != std::string::npos)
            refuse("has a blank or NUL in its name");
        if (!names.insert(name).second)
            refuse("is defined twice");
        if (tag.keyLength == 0 || tag.keyLength > kMaxKeyLength)
            refuse("needs a key length of 1 to 240 bytes");
        if (tag.expression.empty() || tag.expression.size() + 2 > kPageSize ||
            tag.expression.find('\0') != std::string::npos)
            refuse("has no usable key expression");
    }
}

CdxNode emptyRoot(std::uint32_t offset) {
    CdxNode node;
    node.offset = offset;
    node.root = true;
    return node;
}

// Sorted, distinct entries as the one leaf a bulk load starts from.
CdxNode sortedLeaf(const std::vector<CdxEntry>& entries, std::size_t keyLength) {
    CdxNode node(keyLength, ' ');
    node.recnos.reserve(entries.size());
    node.recnos.reserve(entries.size());
    for (const CdxEntry& e : entries)
        node.push_back(e.key, e.recno);
    return node;
}

} // namespace

void CdxIndex::create(File& file, const std::vector<CdxTagDefinition>& tags) {
    checkDefinitions(file, tags);
    file.truncate(0);
    CdxPager pager(file);
    pager.grow();
    pager.grow();
    std::uint32_t listRoot = pager.grow();
    CdxTagList::writeHeader(pager, 0, listRoot, kTagNameLength, kOptCompound, "");
    CdxTree list(pager, 0, kTagNameLength, ' ');
    list.store(emptyRoot(listRoot));

    std::vector<CdxEntry> names;
    for (const CdxTagDefinition& tag : tags) {
        std::uint32_t header = pager.grow();
        pager.grow();
        std::uint32_t root = pager.grow();
        CdxTagList::writeHeader(pager, header, root, tag.keyLength, kOptTag, tag.expression);
        CdxTree(pager, header, tag.keyLength, tag.pad).store(emptyRoot(root));
        std::string key = upperAscii(tag.name);
        key.resize(kTagNameLength, ' ');
        names.push_back({key, header});
    }
    std::sort(names.begin(), names.end(), entryLess);
    list.bulkLoad(sortedLeaf(names, kTagNameLength)); // reuses the empty root page
    pager.commit(false);
}

CdxIndex::CdxIndex(File& file) : m_file(file), m_cache(std::make_unique<CdxCache>()) {
    CdxPager pager(file);
    m_tags = CdxTagList::read(pager);
    m_pads.assign(m_tags.size(), ' ');
}

CdxIndex::~CdxIndex() = default;

std::unique_ptr<CdxPager> CdxIndex::readPager() {
    return std::make_unique<CdxPager>(m_file, m_cache.get(), false, m_cacheOnly);
}

int CdxIndex::findTag(std::string_view name) const {
    std::string wanted = upperAscii(name);
    for (std::size_t i = 0; i < m_tags.size(); ++i)
        if (upperAscii(m_tags[i].name) == wanted)
            return static_cast<int>(i);
    return -1;
}

namespace {

// The tree of a tag for one call, after checking that its header still gives the same key length.
CdxTree openTree(CdxPager& pager, const std::vector<CdxTagInfo>& tags, const std::vector<char>& pads, int tag) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= tags.size())
        throw EngineError("Index file " + pager.fileName() + " has no tag number " + std::to_string(tag));
    const CdxTagInfo& info = tags[static_cast<std::size_t>(tag)];
    if (!pager.validPage(info.headerOffset, kHeaderSize))
        pager.damaged("header of tag " + info.name + " at " + hexOffset(info.headerOffset) + " lies outside the file");
    const std::uint16_t keyLength = getLe16(&pager.read(info.headerOffset)[kHdrKeyLength]);
    if (keyLength != info.keyLength)
        pager.damaged("the key length of tag " + info.name + " changed from " + std::to_string(info.keyLength) +
                      " to " + std::to_string(keyLength));
    return CdxTree(pager, info.headerOffset, info.keyLength, pads[static_cast<std::size_t>(tag)]);
}

// A tree whose tag may be changed: we keep keys in ascending order only.
CdxTree openForChange(CdxPager& pager, const std::vector<CdxTagInfo>& tags, const std::vector<char>& pads, int tag) {
    CdxTree tree = openTree(pager, tags, pads, tag);
    const CdxTagInfo& info = tags[static_cast<std::size_t>(tag)];
    if (info.descending)
        throw EngineError("Index file " + pager.fileName() + ": tag " + info.name +
                          " is in descending order, which cannot be changed here");
    return tree;
}

// The key padded to the tag's key length; a longer key is refused, never cut.
std::string fullKey(const CdxTree& tree, const std::string& fileName, std::string_view key) {
    std::uint16_t length = tree.codec().keyLength();
    if (key.size() > length)
        throw EngineError("Index file " + fileName + ": a key of " + std::to_string(key.size()) +
                          " bytes is longer than the tag's key length " + std::to_string(length));
    std::string full(key);
    full.resize(length, tree.codec().pad());
    return full;
}

} // namespace

void CdxIndex::setPad(int tag, char pad) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= m_pads.size())
        throw EngineError("Index file " + m_file.name() + " has no tag number " + std::to_string(tag));
    m_pads[static_cast<std::size_t>(tag)] = pad;
}

CdxIndex::Change::Change(CdxIndex& index)
    : m_index(index), m_pager(std::make_unique<CdxPager>(index.m_file, index.m_cache.get(), true)) {}

CdxIndex::Change::~Change() = default;

bool CdxIndex::Change::marked() {
    if (m_pager->fileSize() < kHeaderSize)
        m_pager->damaged("the file is shorter than its header");
    return m_pager->marked();
}

void CdxIndex::Change::mark() {
    m_pager->mark();
}

void CdxIndex::Change::insert(int tag, std::string_view key, std::uint32_t recno) {
    CdxTree tree = openForChange(*m_pager, m_index.m_tags, m_index.m_pads, tag);
    tree.insert({fullKey(tree, m_pager->fileName(), key), recno});
}

bool CdxIndex::Change::remove(int tag, std::string_view key, std::uint32_t recno) {
    CdxTree tree = openForChange(*m_pager, m_index.m_tags, m_index.m_pads, tag);
    return tree.remove({fullKey(tree, m_pager->fileName(), key), recno});
}

bool CdxIndex::Change::removeRecord(int tag, std::uint32_t recno) {
    CdxTree tree = openForChange(*m_pager, m_index.m_tags, m_index.m_pads, tag);
    std::optional<CdxEntry> entry = tree.findRecord(recno);
    return entry && tree.remove(*entry);
}

void CdxIndex::Change::commit(bool clearMarker) {
    m_pager->commit(true, clearMarker);
}

void CdxIndex::insert(int tag, std::string_view key, std::uint32_t recno) {
    Change change(*this);
    change.insert(tag, key, recno);
    change.commit();
}

bool CdxIndex::remove(int tag, std::string_view key, std::uint32_t recno) {
    Change change(*this);
    const bool removed = change.remove(tag, key, recno);
    change.commit();
    return removed;
}

bool CdxIndex::removeRecord(int tag, std::uint32_t recno) {
    Change change(*this);
    const bool removed = change.removeRecord(tag, recno);
    change.commit();
    return removed;
}

void CdxIndex::rebuild(int tag, std::vector<CdxEntry> entries) {
    CdxKeyList list;
    {
        CdxPager pager(m_file, m_cache.get());
        CdxTree tree = openTree(pager, m_tags, m_pads, tag);
        list.keyLength = tree.codec().keyLength();
        for (const CdxEntry& e : entries) {
            list.keys += fullKey(tree, pager.fileName(), e.key);
            list.recnos.push_back(e.recno);
        }
    }
    rebuildFromKeys(tag, list);
}

void CdxIndex::rebuildFromKeys(int tag, const CdxKeyList& list) {
    CdxPager pager(m_file, m_cache.get());
    CdxTree tree = openForChange(pager, m_tags, m_pads, tag);
    const std::size_t length = tree.codec().keyLength();
    if (list.keyLength != length || list.keys.size() != list.size() * length)
        throw EngineError("Index file " + pager.fileName() + ": the keys given for tag " +
                          m_tags[static_cast<std::size_t>(tag)].name + " are not of its key length " +
                          std::to_string(length));
    // Sorted through an order of positions: the keys themselves stay where they are.
    std::vector<std::uint32_t> order(list.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const char* keys = list.keys.data();
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = std::memcmp(keys + a * length, keys + b * length, length);
        return c != 0 ? c < 0 : list.recnos[a] < list.recnos[b];
    });
    CdxNode sorted(length, tree.codec().pad());
    sorted.recnos.reserve(list.size());
    sorted.ends.reserve(list.size());
    for (std::uint32_t i : order) {
        const std::size_t n = sorted.size();
        if (n > 0 && sorted.recnos[n - 1] == list.recnos[i] && sorted.body(n - 1) == keyBody(list.key(i), sorted.pad))
            continue; // the same entry twice
        sorted.push_back(list.key(i), list.recnos[i]);
    }
    tree.bulkLoad(std::move(sorted));
    pager.commit();
}

std::optional<CdxEntry> CdxIndex::first(int tag) {
    auto held = readPager();
    CdxPager& pager = *held;
    return openTree(pager, m_tags, m_pads, tag).first();
}

std::optional<CdxEntry> CdxIndex::last(int tag) {
    auto held = readPager();
    CdxPager& pager = *held;
    return openTree(pager, m_tags, m_pads, tag).last();
}

std::optional<CdxEntry> CdxIndex::next(int tag, const CdxEntry& after) {
    auto held = readPager();
    CdxPager& pager = *held;
    CdxTree tree = openTree(pager, m_tags, m_pads, tag);
    return tree.after({fullKey(tree, pager.fileName(), after.key), after.recno});
}

std::optional<CdxEntry> CdxIndex::prior(int tag, const CdxEntry& before) {
    auto held = readPager();
    CdxPager& pager = *held;
    CdxTree tree = openTree(pager, m_tags, m_pads, tag);
    return tree.before({fullKey(tree, pager.fileName(), before.key), before.recno});
}

std::optional<CdxEntry> CdxIndex::seek(int tag, std::string_view prefix) {
    auto held = readPager();
    CdxPager& pager = *held;
    CdxTree tree = openTree(pager, m_tags, m_pads, tag);
    std::size_t length = tree.codec().keyLength();
    if (prefix.size() > length) {
        // Only pad bytes may stand beyond the key length.
        if (prefix.find_first_not_of(tree.codec().pad(), length) != std::string_view::npos)
            return std::nullopt;
        prefix = prefix.substr(0, length);
    }
    return tree.seekPrefix(prefix);
}

std::uint64_t CdxIndex::count(int tag) {
    auto held = readPager();
    CdxPager& pager = *held;
    return openTree(pager, m_tags, m_pads, tag).count();
}

std::size_t CdxIndex::depth(int tag) {
    auto held = readPager();
    CdxPager& pager = *held;
    return openTree(pager, m_tags, m_pads, tag).depth();
}

std::string CdxIndex::check() {
    CdxPager pager(m_file, m_cache.get());
    std::map<std::uint32_t, char> pads;
    for (std::size_t i = 0; i < m_tags.size(); ++i)
        pads[m_tags[i].headerOffset] = m_pads[i];
    return CdxChecker(pager, std::move(pads)).run();
}

void CdxIndex::setUpdateInProgress(bool on) {
    if (m_file.size() < kHeaderSize)
        throwDamaged(m_file.name(), "the file is shorter than its header");
    std::uint8_t mark = on ? 1 : 0;
    m_file.write(kHdrUpdateMarker, &mark, 1);
}

bool CdxIndex::updateInProgress() {
    std::uint8_t mark = 0;
    if (m_file.read(kHdrUpdateMarker, &mark, 1) != 1)
        throwDamaged(m_file.name(), "the file is shorter than its header");
    return mark != 0;
}

} // namespace engine
