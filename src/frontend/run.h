// The run of the program from its command line to its exit status: the date
// range, locating and reading the databases, the export, and every message
// and early end.
#ifndef QMX_FRONTEND_RUN_H_
#define QMX_FRONTEND_RUN_H_

#include <ostream>
#include <string>
#include <vector>

// arguments[0] is the program name. Returns the exit status: 0 after a
// complete export, 1 after the usage text and after every failure.
int runProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

#endif  // QMX_FRONTEND_RUN_H_
