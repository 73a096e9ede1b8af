#include "export/csv_writer.h"
