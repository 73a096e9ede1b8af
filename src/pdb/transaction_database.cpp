#include "pdb/transaction_database.h"
