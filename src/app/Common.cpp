#include "app/Common.h"
