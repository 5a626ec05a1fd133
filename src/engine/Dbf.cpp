#include "engine/Dbf.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <set>

namespace engine {

namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr std::uint8_t kTerminator = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr std::size_t kMaxFields = 255;

std::uint16_t le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

std::uint32_t le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

void putLe(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string upperName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Header bytes 1-7: date of the last change and record count.
std::string dateAndCount(DbfDate date, std::uint32_t count) {
    std::string b(7, '\0');
    b[0] = static_cast<char>(std::clamp(date.year - 1900, 0, 255));
    b[1] = static_cast<char>(date.month);
    b[2] = static_cast<char>(date.day);
    putLe(b, 3, count, 4);
    return b;
}

} // namespace

DbfDate today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void Dbf::checkFields(const std::vector<FieldDef>& fields) {
    if (fields.empty() || fields.size() > kMaxFields)
        throw EngineError("A table needs 1 to " + std::to_string(kMaxFields) + " fields");
    std::set<std::string> names;
    std::size_t length = 1;
    for (const FieldDef& f : fields) {
        std::string name = upperName(f.name);
        auto refuse = [&](const std::string& why) { throw EngineError("Field \"" + f.name + "\" " + why); };
        if (name.empty() || name.size() > 10 || !std::isalpha(static_cast<unsigned char>(name[0])))
            refuse("needs a name of 1 to 10 characters starting with a letter");
        for (char c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
                refuse("may hold only letters, digits and '_' in its name");
        if (!names.insert(name).second)
            refuse("is defined twice");
        if (f.type == FieldType::Character && (f.width < 1 || f.width > 254 || f.decimals != 0))
            refuse("of type C needs a width of 1 to 254 and no decimals");
        if (f.type == FieldType::Numeric &&
            (f.width < 1 || f.width > 20 || f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2)))
            refuse("of type N needs a width of 1 to 20 and room for its decimals");
        if (f.type != FieldType::Character && f.type != FieldType::Numeric)
            refuse("has a type other than C or N");
        length += static_cast<std::size_t>(f.width);
    }
    if (length > 65535)
        throw EngineError("The fields of a table may take at most 65535 bytes");
}

void Dbf::create(File& file, const std::vector<FieldDef>& fields, DbfDate date) {
    checkFields(fields);
    std::size_t headerLength = kHeaderSize + kDescriptorSize * fields.size() + 1;
    std::string header(headerLength, '\0');
    std::size_t recordLength = 1;
    for (const FieldDef& f : fields)
        recordLength += static_cast<std::size_t>(f.width);
    header[0] = static_cast<char>(kVersion);
    header.replace(1, 7, dateAndCount(date, 0));
    putLe(header, 8, static_cast<std::uint32_t>(headerLength), 2);
    putLe(header, 10, static_cast<std::uint32_t>(recordLength), 2);
    header[29] = static_cast<char>(kCodePage866);
    std::size_t offset = 1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::size_t at = kHeaderSize + kDescriptorSize * i;
        std::string name = upperName(fields[i].name);
        header.replace(at, name.size(), name);
        header[at + 11] = static_cast<char>(fields[i].type);
        putLe(header, at + 12, static_cast<std::uint32_t>(offset), 4);
        header[at + 16] = static_cast<char>(fields[i].width);
        header[at + 17] = static_cast<char>(fields[i].decimals);
        offset += static_cast<std::size_t>(fields[i].width);
    }
    header[headerLength - 1] = static_cast<char>(kTerminator);
    header += kEndOfFile;
    file.truncate(0);
    file.write(0, header.data(), header.size());
}

Dbf::Dbf(File& file) : m_file(file) {
    std::string start(kHeaderSize, '\0');
    if (file.read(0, start.data(), kHeaderSize) != kHeaderSize)
        damaged("the file is shorter than a table header");
    std::size_t headerLength = le16(start, 8);
    if (headerLength < kHeaderSize + kDescriptorSize + 1)
        damaged("the header length " + std::to_string(headerLength) + " does not fit the file");
    std::string header(headerLength, '\0');
    if (file.read(0, header.data(), headerLength) != headerLength)
        damaged("the header length " + std::to_string(headerLength) + " does not fit the file");
    // The size after the header: a row another program appends meanwhile is in the file before
    // the header counts it, so the size read later never falls short of the count read first.
    parseHeader(header, file.size());
}

void Dbf::damaged(const std::string& what) const {
    throw EngineError("Table " + m_file.name() + " is damaged or not a table: " + what);
}

void Dbf::parseHeader(const std::string& header, std::uint64_t fileSize) {
    static const std::set<std::uint8_t> versions{0x03, 0x83, 0x8B, 0xF5, 0x30, 0x31};
    auto version = static_cast<std::uint8_t>(header[0]);
    if (!versions.count(version))
        damaged("unknown version byte " + std::to_string(version));
    m_version = version;
    m_headerLength = header.size();
    m_recordLength = le16(header, 10);
    m_flags = static_cast<std::uint8_t>(header[28]);
    m_codePage = static_cast<std::uint8_t>(header[29]);
    m_date = {1900 + static_cast<std::uint8_t>(header[1]), static_cast<std::uint8_t>(header[2]),
              static_cast<std::uint8_t>(header[3])};
    m_count = le32(header, 4);

    std::size_t at = kHeaderSize;
    std::size_t offset = 1;
    std::set<std::string> names;
    while (true) {
        if (at >= header.size())
            damaged("the field list has no end mark");
        if (static_cast<std::uint8_t>(header[at]) == kTerminator)
            break;
        if (at + kDescriptorSize > header.size())
            damaged("the field list runs past the header");
        std::string name = header.substr(at, 11);
        name = name.substr(0, name.find('\0'));
        char type = header[at + 11];
        int width = static_cast<std::uint8_t>(header[at + 16]);
        int decimals = static_cast<std::uint8_t>(header[at + 17]);
        std::string field = "field " + std::to_string(m_fields.size() + 1);
        if (name.empty() || !names.insert(upperName(name)).second)
            damaged(field + " has no name or a name used before");
        if (width == 0)
            damaged(field + " has width 0");
        FieldDef def{upperName(name), FieldType::Character, width, 0};
        if (type == 'N' || type == 'F') {
            def.type = FieldType::Numeric;
            def.decimals = decimals;
        } else if (type != 'C' && type != 'D' && type != 'L') {
            damaged(field + " (" + name + ") has type '" + std::string(1, type) + "', which is not supported");
        }
        m_fields.push_back({def, offset});
        offset += static_cast<std::size_t>(width);
        at += kDescriptorSize;
    }
    if (m_fields.empty())
        damaged("the table has no fields");
    if (offset != m_recordLength)
        damaged("the record length " + std::to_string(m_recordLength) + " is not that of the fields (" +
                std::to_string(offset) + ")");
    std::uint64_t needed = m_headerLength + std::uint64_t{m_count} * m_recordLength;
    if (needed > fileSize)
        damaged("the header counts " + std::to_string(m_count) + " records, the file holds only " +
                std::to_string((fileSize - m_headerLength) / m_recordLength));
}

int Dbf::findField(std::string_view name) const {
    std::string wanted = upperName(name);
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].def.name == wanted)
            return static_cast<int>(i);
    return -1;
}

void Dbf::reloadHeader() {
    std::string start(kHeaderSize, '\0');
    if (m_file.read(0, start.data(), kHeaderSize) != kHeaderSize)
        damaged("the header cannot be read");
    std::uint32_t count = le32(start, 4);
    // A count that did not change was checked against the file's size before.
    if (count != m_count && m_headerLength + std::uint64_t{count} * m_recordLength > m_file.size())
        damaged("the header counts " + std::to_string(count) + " records, more than the file holds");
    m_count = count;
    m_flags = static_cast<std::uint8_t>(start[28]);
    m_date = {1900 + static_cast<std::uint8_t>(start[1]), static_cast<std::uint8_t>(start[2]),
              static_cast<std::uint8_t>(start[3])};
}

std::string Dbf::blankRecord() const {
    return std::string(m_recordLength, ' ');
}

std::string Dbf::readRecord(std::uint32_t recno) {
    return readRecords(recno, 1);
}

std::string Dbf::readRecords(std::uint32_t first, std::uint32_t count) {
    if (first == 0 || count == 0 || std::uint64_t{first} + count - 1 > m_count)
        throw EngineError("Table " + m_file.name() + " has no record " + std::to_string(first + count - 1));
    std::string out(m_recordLength * count, '\0');
    std::uint64_t offset = m_headerLength + std::uint64_t{first - 1} * m_recordLength;
    if (m_file.read(offset, out.data(), out.size()) != out.size())
        damaged("record " + std::to_string(first) + " cannot be read in full");
    return out;
}

void Dbf::writeRecord(std::uint32_t recno, std::string_view record) {
    if (recno == 0 || recno > m_count || record.size() != m_recordLength)
        throw EngineError("Table " + m_file.name() + ": record " + std::to_string(recno) + " cannot be written");
    m_file.write(m_headerLength + std::uint64_t{recno - 1} * m_recordLength, record.data(), record.size());
}

std::uint32_t Dbf::appendRecord(std::string_view record, DbfDate date) {
    if (record.size() != m_recordLength)
        throw EngineError("Table " + m_file.name() + ": a record of the wrong length cannot be added");
    if (m_count == 0xFFFFFFFFu)
        throw EngineError("Table " + m_file.name() + " is full");
    std::string bytes(record);
    bytes += kEndOfFile;
    m_file.write(m_headerLength + std::uint64_t{m_count} * m_recordLength, bytes.data(), bytes.size());
    std::string header = dateAndCount(date, m_count + 1);
    m_file.write(1, header.data(), header.size());
    m_date = date;
    return ++m_count;
}

void Dbf::writeDate(DbfDate date) {
    std::string bytes = dateAndCount(date, 0).substr(0, 3);
    m_file.write(1, bytes.data(), bytes.size());
    m_date = date;
}

void Dbf::writeFlags(std::uint8_t flags) {
    auto byte = static_cast<char>(flags);
    m_file.write(28, &byte, 1);
    m_flags = flags;
}

} // namespace engine
