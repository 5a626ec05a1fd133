// Anchors the platform library while it holds only interfaces.
#include "platform/KeyboardState.h"
#include "platform/PathMapper.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SpecialFolders.h"
