#pragma once
#include "engine/Engine.h"
#include "engine/File.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// One field of a table with its place in the record (offset 0 is the deletion flag).
struct DbfField {
    FieldDef def;
    std::size_t offset = 0;
};

struct DbfDate {
    int year = 1900; // full year
    int month = 1;
    int day = 1;
};

// A FoxPro 2.x table file without memo: the 32-byte header, the field descriptors ended by 0x0D,
// then the records, each a deletion flag (' ' live, '*' deleted) and the field bytes, and the
// end-of-file byte 0x1A after the last one. Records are located through the header length and the
// record length, never through the descriptors' offsets. The object reads no record ahead; the
// caller takes the locks.
class Dbf {
public:
    static constexpr std::uint8_t kVersion = 0x03;
    static constexpr std::uint8_t kCodePage866 = 0x65;
    static constexpr std::uint8_t kCodePage1251 = 0xC9;
    static constexpr std::uint8_t kFlagIndex = 0x01; // byte 28: a production index exists
    static constexpr char kLive = ' ';
    static constexpr char kDeleted = '*';

    // Writes an empty table with these fields over the (empty) file. EngineError when a field is
    // not valid: name of 1-10 letters, digits or '_' starting with a letter, unique; C 1-254
    // wide without decimals; N 1-20 wide with fewer decimals than width - 1.
    static void create(File& file, const std::vector<FieldDef>& fields, DbfDate date);
    static void checkFields(const std::vector<FieldDef>& fields);

    // Reads and checks the header; EngineError when the file is not a table we can read.
    explicit Dbf(File& file);

    File& file() { return m_file; }
    std::string fileName() const { return m_file.name(); }
    const std::vector<DbfField>& fields() const { return m_fields; }
    // Index of a field by name, without regard to case; -1 when there is none.
    int findField(std::string_view name) const;

    std::uint32_t recordCount() const { return m_count; }
    std::size_t recordLength() const { return m_recordLength; }
    std::size_t headerLength() const { return m_headerLength; }
    std::uint8_t version() const { return m_version; }
    std::uint8_t flags() const { return m_flags; }
    std::uint8_t codePageMark() const { return m_codePage; }
    // Text of the table is in Windows-1251 rather than 866 (code-page mark 0xC9).
    bool ansiText() const { return m_codePage == kCodePage1251; }
    DbfDate date() const { return m_date; }

    // Rereads the record count (and date) from the header: rows other processes appended.
    void reloadHeader();
    // A record of blanks marked live.
    std::string blankRecord() const;
    // Reads record recno (1-based, at most recordCount()); EngineError when it is not in the file.
    std::string readRecord(std::uint32_t recno);
    // Reads count records from first on into one buffer.
    std::string readRecords(std::uint32_t first, std::uint32_t count);
    void writeRecord(std::uint32_t recno, std::string_view record);
    // Writes record recordCount() + 1 and the end-of-file byte, then the header with the new
    // count and the date. The row is in the file before the header counts it.
    std::uint32_t appendRecord(std::string_view record, DbfDate date);
    void writeFlags(std::uint8_t flags);
    // Writes the date of the last change (header bytes 1-3) alone.
    void writeDate(DbfDate date);

private:
    void parseHeader(const std::string& header, std::uint64_t fileSize);
    [[noreturn]] void damaged(const std::string& what) const;

    File& m_file;
    std::vector<DbfField> m_fields;
    std::uint32_t m_count = 0;
    std::size_t m_headerLength = 0;
    std::size_t m_recordLength = 0;
    std::uint8_t m_version = 0;
    std::uint8_t m_flags = 0;
    std::uint8_t m_codePage = 0;
    DbfDate m_date;
};

// Today's date on this machine.
DbfDate today();

} // namespace engine
