#include "settings/ControlMap.h"

namespace settings {

std::string ControlMap{DefaultControlMap};

std::string LoadControlMap(std::string_view stored) {
    std::string map(stored.substr(0, ControlMapLength));
    map.resize(ControlMapLength, '0');
    return map;
}

std::string StoreControlMap(const std::string& map) {
    return map;
}

std::size_t controlMapIndex(int row, int column) {
    return static_cast<std::size_t>((row - 1) * ControlMapColumns + (column - 1));
}

namespace {

std::string_view rowOf(std::string_view map, int row) {
    return map.substr(controlMapIndex(row, 1), ControlMapColumns);
}

} // namespace

void ClearCoincidingRows(std::string& map, int row) {
    if (map.size() < ControlMapLength || row < 1 || row > ControlMapRows)
        return;
    const std::string pattern(rowOf(map, row));
    for (int k = 1; k <= ControlMapRows; ++k) {
        if (k != row && rowOf(map, k) == pattern)
            map.replace(controlMapIndex(k, 1), ControlMapColumns, ControlMapColumns, '0');
    }
}

std::string combinationOfMask(int mask) {
    return {(mask & 2) ? '1' : '0', (mask & 4) ? '1' : '0', (mask & 1) ? '1' : '0'};
}

int mappedRow(std::string_view map, int mask) {
    if (map.size() < ControlMapLength)
        return 0;
    const std::string combination = combinationOfMask(mask);
    for (int row = 1; row <= ControlMapRows; ++row) {
        if (rowOf(map, row) == combination)
            return row;
    }
    return 0;
}

} // namespace settings
