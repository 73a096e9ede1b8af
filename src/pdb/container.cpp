#include "pdb/container.h"
