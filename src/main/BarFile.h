#pragma once
#include "widgets/SectionBarData.h"

#include <filesystem>
#include <string>
#include <string_view>

// The bar files category.cfg and division.cfg: one whole section bar per file.
//
// Layout (version 1). Text in Windows-1251, one record per line, each line ended by CR LF (a
// reader also takes a bare LF). The first field of a line is its tag, fields are separated by one
// blank:
//
//   TARVESK-BAR 1            magic word and the format version in decimal; always the first line
//   S <caption>              a section; the I lines that follow belong to it
//   I <id> <caption>         an item: id as a signed 32-bit decimal, then its caption
//   E <sections> <items>     end record with the number of S and I lines; nothing follows it
//
// Captions may be empty; in them a backslash is written "\\", CR "\r" and LF "\n", so a record
// never spans lines. A file without its end record, with a line cut short, an item before the
// first section, a malformed record or counts that disagree is damaged: the reader keeps the
// sections and items read before the fault and says so. A later version may add records with
// other tags; a version-1 reader skips them and reports the file as damaged too, because writing
// it back would lose what it could not read.
namespace mainwin {

struct BarFileReadResult {
    widgets::SectionBarData bar;
    // The file is not a complete version-1 bar file: keep it (keepAsBad) before writing the bar again.
    bool damaged = false;
    // The file was written by a later format version (damaged is then true as well).
    bool newerVersion = false;
    // What was wrong, for the log; empty when nothing was.
    std::string problem;
};

struct BarFileStatus {
    bool ok = true;
    std::string error;
};

class BarFile {
public:
    static constexpr int kVersion = 1;

    // Reads a bar file. A missing file gives an empty bar that is not damaged; a file that cannot
    // be read gives an empty bar reported as damaged.
    static BarFileReadResult read(const std::filesystem::path& path);
    // Replaces the file with the whole bar (platform::replaceWholeFile: the old file stays whole on
    // any failure, a read-only one is left alone). Refuses a bar with a caption that Windows-1251
    // cannot hold and writes nothing then. A failure names the file in Russian: "Не удалось
    // записать файл category.cfg: ...".
    static BarFileStatus write(const std::filesystem::path& path, const widgets::SectionBarData& bar);
    static BarFileStatus writeBytes(const std::filesystem::path& path, const std::string& bytes);
    // Renames a damaged file to "<name>.bad" (replacing an earlier one) so that writing the bar
    // again does not destroy it.
    static BarFileStatus keepAsBad(const std::filesystem::path& path);

    // The same on bytes in memory, for tests and the fuzz target.
    static BarFileReadResult parse(std::string_view bytes);
    // The file content of a bar; ok is false (and the text empty) when a caption cannot be stored.
    static BarFileStatus serialize(const widgets::SectionBarData& bar, std::string& bytes);
};

} // namespace mainwin
