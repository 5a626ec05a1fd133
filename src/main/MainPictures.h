#pragma once
#include <QIcon>

namespace mainwin {

// The main window's pictures from the resource file: one per start regime and one per tool button.
class MainPictures {
public:
    enum class Tool { Settings, Registry, About };

    static QIcon regimeIcon(int regime); // 0..4
    static QIcon toolIcon(Tool tool);
};

} // namespace mainwin
