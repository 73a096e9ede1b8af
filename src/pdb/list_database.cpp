#include "pdb/list_database.h"
