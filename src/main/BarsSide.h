#pragma once
#include "main/ClassificationBar.h"
#include "main/ClassificationFile.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;

namespace widgets {
class SectionBar;
}

namespace mainwin {

// One side of the classification: the caption strip ("Категория" or "Раздел" with the filter box
// cbxCategoryFilter / cbxDivisionFilter), the bar barCategory / barDivision and the status line
// stxCategory / stxDivision. It is the bar the rules work on, and it writes its bar file when it
// is destroyed, whichever way the program ends.
class BarsSide : public QWidget, public ClassificationBar {
    Q_OBJECT
public:
    BarsSide(BarKind kind, QWidget* parent = nullptr);
    ~BarsSide() override;

    BarKind kind() const { return m_kind; }
    widgets::SectionBar* bar() const { return m_bar; }
    QCheckBox* filterBox() const { return m_filter; }
    QLabel* statusLabel() const { return m_status; }

    // Loads the bar from its file; on destruction the bar is written back to it. A write that
    // fails goes to reportError.
    void attachFile(ClassificationFile file, std::function<void(const std::string&)> reportError);
    // Writes the bar file now (also done on destruction); false when it failed (already reported).
    bool writeFile();

    // ClassificationBar
    int sectionCount() const override;
    int itemCount(int section) const override;
    std::string sectionCaption(int section) const override;
    std::string itemCaption(int section, int item) const override;
    std::int32_t itemId(int section, int item) const override;
    int activeSection() const override;
    void setActiveSection(int section) override;
    void showItem(int section, int item) override;
    int addSection(const std::string& caption) override;
    int addItem(int section, const std::string& caption, std::int32_t id) override;
    void removeSection(int section) override;
    void removeItem(int section, int item) override;
    widgets::SectionBarData content() const override;
    void setContent(const widgets::SectionBarData& content) override;

private:
    BarKind m_kind;
    QCheckBox* m_filter;
    widgets::SectionBar* m_bar;
    QLabel* m_status;
    std::optional<ClassificationFile> m_file;
    std::function<void(const std::string&)> m_reportError;
};

} // namespace mainwin
