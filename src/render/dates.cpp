#include "render/dates.h"
