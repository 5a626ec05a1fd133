#include "main/BarsSide.h"

#include "widgets/SectionBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace mainwin {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

BarsSide::BarsSide(BarKind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_filter(new QCheckBox(this)), m_bar(new widgets::SectionBar(this)),
      m_status(new QLabel(this)) {
    bool category = kind == BarKind::Category;
    setObjectName(category ? QStringLiteral("sideCategory") : QStringLiteral("sideDivision"));

    auto* caption = new QLabel(category ? QStringLiteral("Категория") : QStringLiteral("Раздел"), this);
    caption->setObjectName(category ? QStringLiteral("lblCategory") : QStringLiteral("lblDivision"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    m_filter->setObjectName(category ? QStringLiteral("cbxCategoryFilter") : QStringLiteral("cbxDivisionFilter"));
    m_filter->setToolTip(category ? QStringLiteral(" Отбирать по категориям")
                                  : QStringLiteral(" Отбирать по разделам"));
    m_filter->setAccessibleName(m_filter->toolTip().trimmed());
    m_bar->setObjectName(category ? QStringLiteral("barCategory") : QStringLiteral("barDivision"));
    m_status->setObjectName(category ? QStringLiteral("stxCategory") : QStringLiteral("stxDivision"));
    m_status->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setMinimumWidth(1); // a long status line must not widen the window

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(4, 0, 4, 0);
    strip->addWidget(caption);
    strip->addStretch();
    strip->addWidget(m_filter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(strip);
    layout->addWidget(m_bar, 1);
    layout->addWidget(m_status);
}

BarsSide::~BarsSide() {
    writeFile();
}

void BarsSide::attachFile(ClassificationFile file, std::function<void(const std::string&)> reportError) {
    m_file = std::move(file);
    m_reportError = std::move(reportError);
    setContent(m_file->load());
}

bool BarsSide::writeFile() {
    if (!m_file)
        return true;
    BarFileStatus status = m_file->save(content());
    if (status.ok)
        return true;
    if (m_reportError) {
        try {
            m_reportError(status.error);
        } catch (...) {
            // Reached from the destructor too: a failing report must not end the program there.
        }
    }
    return false;
}

int BarsSide::sectionCount() const {
    return m_bar->sectionCount();
}

int BarsSide::itemCount(int section) const {
    return m_bar->itemCount(section);
}

std::string BarsSide::sectionCaption(int section) const {
    return m_bar->sectionCaption(section).toStdString();
}

std::string BarsSide::itemCaption(int section, int item) const {
    return m_bar->itemCaption(section, item).toStdString();
}

std::int32_t BarsSide::itemId(int section, int item) const {
    return m_bar->itemId(section, item);
}

int BarsSide::activeSection() const {
    return m_bar->activeSection();
}

void BarsSide::showItem(int section, int item) {
    if (section == m_bar->activeSection())
        m_bar->ensureItemVisible(item);
}

void BarsSide::setActiveSection(int section) {
    m_bar->setActiveSection(section);
}

int BarsSide::addSection(const std::string& caption) {
    return m_bar->addSection(qt(caption));
}

int BarsSide::addItem(int section, const std::string& caption, std::int32_t id) {
    return m_bar->addItem(section, qt(caption), id);
}

void BarsSide::removeSection(int section) {
    m_bar->removeSection(section);
}

void BarsSide::removeItem(int section, int item) {
    m_bar->removeItem(section, item);
}

widgets::SectionBarData BarsSide::content() const {
    return m_bar->data();
}

void BarsSide::setContent(const widgets::SectionBarData& content) {
    m_bar->setData(content);
}

} // namespace mainwin
