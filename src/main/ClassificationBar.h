#pragma once
#include "widgets/SectionBarData.h"

#include <cstdint>
#include <string>

namespace mainwin {

// The two classification axes. Everything of the bars holds for both; the category side comes first.
enum class BarKind { Category = 0, Division = 1 };

// One section bar as the classification rules see it: sections with captions, each with items
// (caption, id), and one active section. The window's bar implements it; tests use plain data.
// Indexes count from 0; invalid indexes read as empty and are ignored by the changes.
class ClassificationBar {
public:
    virtual ~ClassificationBar() = default;

    virtual int sectionCount() const = 0;
    virtual int itemCount(int section) const = 0;
    virtual std::string sectionCaption(int section) const = 0;
    virtual std::string itemCaption(int section, int item) const = 0;
    virtual std::int32_t itemId(int section, int item) const = 0;
    // -1 when the bar has no section.
    virtual int activeSection() const = 0;
    virtual void setActiveSection(int section) = 0;
    // Scrolls the bar so that the item of the active section shows (a chosen item is always in view).
    virtual void showItem(int section, int item) = 0;

    // Appends and returns the new index (-1 when the section does not exist).
    virtual int addSection(const std::string& caption) = 0;
    virtual int addItem(int section, const std::string& caption, std::int32_t id) = 0;
    virtual void removeSection(int section) = 0;
    virtual void removeItem(int section, int item) = 0;

    // The whole content; replacing it makes the first section active.
    virtual widgets::SectionBarData content() const = 0;
    virtual void setContent(const widgets::SectionBarData& content) = 0;
};

} // namespace mainwin
