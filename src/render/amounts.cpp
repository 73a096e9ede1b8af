#include "render/amounts.h"
