#include "render/row.h"
