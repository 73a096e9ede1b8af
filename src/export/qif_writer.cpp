#include "export/qif_writer.h"
