#include "export/export_driver.h"
