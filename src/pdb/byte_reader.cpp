#include "pdb/byte_reader.h"
