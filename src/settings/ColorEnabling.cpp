#include "settings/ColorEnabling.h"

namespace settings {

std::vector<ColorEnabling> colorEnabling(int form, int bars, int button) {
    std::vector<ColorEnabling> result;
    if (form >= 0 && form <= 2) {
        result.push_back({"cbnDefaultForm", form == 1});
        result.push_back({"cbnColorForm", form == 2});
    }
    if (bars >= 0 && bars <= 2) {
        result.push_back({"cbnSimple", bars == 1});
        result.push_back({"cbnFrom", bars == 2});
        result.push_back({"cbnTo", bars == 2});
    }
    result.push_back({"cbnButtonColor", button == 2});
    return result;
}

} // namespace settings
