// Anchors the platform library's interfaces.
#include "platform/KeyboardState.h"
#include "platform/PathMapper.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/ShellFolders.h"
