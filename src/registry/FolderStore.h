#pragma once
#include <string>
#include <string_view>

// What the registry synchronisation needs of table folder: the seek of an upper-cased directory on
// the PATH tag, and the insertion of a row. The program implements it on the data module's data
// sets; tests use a fake.
namespace registry {

class FolderStore {
public:
    virtual ~FolderStore() = default;
    // Makes rows posted since the last seeks visible to seekPath.
    virtual void prepareSeeks() = 0;
    // True when a row's upper-cased PATH begins with the key (the key is not padded).
    virtual bool seekPath(std::string_view upperKey) = 0;
    // A new pending row with the new-row defaults (CATEGORY, DIVISION).
    virtual void insert() = 0;
    // Sets a text field of the pending row, cut to the field's width.
    virtual void setField(std::string_view field, std::string_view text) = 0;
    virtual void post() = 0;
    // Drops the pending row; harmless when there is none.
    virtual void cancel() = 0;
};

} // namespace registry
