#pragma once
#include "app/Common.h"
#include "main/ClassificationBar.h"
#include "main/ClassificationData.h"

#include <set>
#include <utility>
#include <vector>

namespace barstest {

// A bar held as plain data.
class MemoryBar : public mainwin::ClassificationBar {
public:
    explicit MemoryBar(widgets::SectionBarData data = {}) { setContent(data); }

    int sectionCount() const override { return static_cast<int>(m_data.sections.size()); }
    int itemCount(int s) const override {
        return validSection(s) ? static_cast<int>(m_data.sections[s].items.size()) : 0;
    }
    std::string sectionCaption(int s) const override { return validSection(s) ? m_data.sections[s].caption : ""; }
    std::string itemCaption(int s, int i) const override {
        return validItem(s, i) ? m_data.sections[s].items[i].caption : "";
    }
    std::int32_t itemId(int s, int i) const override { return validItem(s, i) ? m_data.sections[s].items[i].id : 0; }
    int activeSection() const override { return m_active; }
    void setActiveSection(int s) override {
        if (validSection(s))
            m_active = s;
    }
    void showItem(int s, int i) override { shown = {s, i}; }
    std::pair<int, int> shown{-1, -1}; // the item last scrolled into view
    int addSection(const std::string& caption) override {
        m_data.sections.push_back({caption, {}});
        if (m_active < 0)
            m_active = 0;
        return sectionCount() - 1;
    }
    int addItem(int s, const std::string& caption, std::int32_t id) override {
        if (!validSection(s))
            return -1;
        m_data.sections[s].items.push_back({caption, id});
        return itemCount(s) - 1;
    }
    void removeSection(int s) override {
        if (!validSection(s))
            return;
        m_data.sections.erase(m_data.sections.begin() + s);
        m_active = std::min(m_active, sectionCount() - 1);
    }
    void removeItem(int s, int i) override {
        if (validItem(s, i))
            m_data.sections[s].items.erase(m_data.sections[s].items.begin() + i);
    }
    widgets::SectionBarData content() const override { return m_data; }
    void setContent(const widgets::SectionBarData& data) override {
        m_data = data;
        m_active = m_data.sections.empty() ? -1 : 0;
    }

private:
    bool validSection(int s) const { return s >= 0 && s < sectionCount(); }
    bool validItem(int s, int i) const { return validSection(s) && i >= 0 && i < itemCount(s); }

    widgets::SectionBarData m_data;
    int m_active = -1;
};

// The data module as the bars see it: records every call; the ids in `used` are in use.
class RecordingData : public mainwin::ClassificationData {
public:
    struct Filter {
        app::FilterMode mode;
        std::int32_t category; // CurrentCategoryId at the call
        std::int32_t division; // CurrentDivisionId at the call
        bool operator==(const Filter&) const = default;
    };

    void applyFilter(app::FilterMode mode) override {
        filters.push_back({mode, app::CurrentCategoryId, app::CurrentDivisionId});
    }
    void assignClassification(int categoryId, int divisionId) override {
        assigned.emplace_back(categoryId, divisionId);
    }
    bool isItemUsed(mainwin::BarKind kind, std::int32_t id) override { return used.count({kind, id}) != 0; }

    std::vector<Filter> filters;
    std::vector<std::pair<int, int>> assigned;
    std::set<std::pair<mainwin::BarKind, std::int32_t>> used;
};

// The process-wide variables of the bars back at their start values.
inline void resetBarVariables() {
    app::CurrentCategoryId = app::CurrentDivisionId = 0;
    app::CategorySection = app::CategoryItem = app::DivisionSection = app::DivisionItem = 0;
    app::NextCategoryId = app::NextDivisionId = 0;
}

// Two sections on the category side, one on the division side.
inline widgets::SectionBarData categorySample() {
    return {{{"Опт", {{"Склад", 1}, {"Магазин", 2}}}, {"Розница", {{"Киоск", 3}}}, {"Пустая", {}}}};
}
inline widgets::SectionBarData divisionSample() {
    return {{{"Отделы", {{"Бухгалтерия", 1}, {"Кадры", 12}}}}};
}

} // namespace barstest
