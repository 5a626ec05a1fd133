#pragma once
#include "engine/Dbf.h"

#include <optional>
#include <string>
#include <string_view>

// Field values inside a record buffer. C fields hold bytes of the table's code page, blank-padded
// on the right; N fields hold a number as ASCII text, right-aligned with blanks, all blanks
// meaning 0.
namespace engine::field {

// The field's bytes as stored (full width).
std::string_view raw(const DbfField& f, std::string_view record);
// The stored bytes without trailing blanks (and, for N, without leading ones).
std::string text(const DbfField& f, std::string_view record);
// Numeric value of the field: a blank or unreadable field counts as 0.
double number(const DbfField& f, std::string_view record);
// Integer value: the number cut to its integral part; a C field holding a number gives it too.
long long integer(const DbfField& f, std::string_view record);

// Stores bytes in a C field, cut to the width. For an N field the text must be a number that
// fits; EngineError otherwise.
void setText(const DbfField& f, std::string& record, std::string_view bytes);
// Stores an integer: right-aligned with the field's decimals in an N field (EngineError when it
// does not fit), as decimal text in a C field.
void setInteger(const DbfField& f, std::string& record, long long value);
void clear(const DbfField& f, std::string& record);

// The value of a number's text (optional blanks, sign, digits, one point), std::nullopt when
// it is not one.
std::optional<double> parseNumber(std::string_view text);

} // namespace engine::field
