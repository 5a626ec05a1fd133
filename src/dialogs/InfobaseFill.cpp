#include "dialogs/InfobaseFill.h"

#include "app/Common.h"

namespace dialogs {

InfobaseFill fillInfobaseDialog(int mode, InfobaseSource& source) {
    InfobaseFill fill;
    if (mode == 1) {
        const InfobaseRecord row = source.currentInfobase();
        static_cast<InfobaseTexts&>(fill) = row;
        fill.category = classificationCaption(source.categoryBar(), row.category);
        fill.division = classificationCaption(source.divisionBar(), row.division);
        return fill;
    }
    fill.name = app::NextNewBaseName();
    if (mode == 2)
        fill.path = source.explorerDirectory();
    return fill;
}

std::string classificationCaption(const widgets::SectionBarData& bar, long long id) {
    std::string caption;
    if (id <= 0)
        return caption;
    for (const auto& section : bar.sections)
        for (const auto& item : section.items)
            if (item.id == id)
                caption = section.caption + ", " + item.caption;
    return caption;
}

std::string withTrailingBackslash(const std::string& directory) {
    if (!directory.empty() && directory.back() == '\\')
        return directory;
    return directory + '\\';
}

} // namespace dialogs
