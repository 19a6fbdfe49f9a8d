// Print jobs: a finished PDF document handed to the system's spooler (`lp`)
// under a job title, or written to a file when the caller asks for one. The spooler is started with an argument vector,
// never through a shell, so no title or path is ever taken as a command.
#pragma once

#include <string>
#include <vector>

namespace plat {

struct PrintJobResult {
    bool ok = false;
    bool toFile = false;       // the document went to a file, not to the spooler
    std::string file;          // that file, when toFile
    std::string message;       // what failed, when !ok
};

// Sends pdf to the spooler titled jobName. When toFile is set, writes it to
// outputFile instead (a file named after the job in the home folder, or in
// the current folder without one, when empty). A printer name sends it to
// that printer instead of the spooler's default. Any failure (no `lp` on
// PATH, which writes no file at all; the document cannot be written; lp
// cannot be started or ends with an error, the first line it wrote on
// standard error then told) is reported in the result, never as success.
PrintJobResult SubmitPrintJob(const std::string& pdf, const std::string& jobName, bool toFile = false,
                              const std::string& outputFile = "", const std::string& printer = "");

// The printers the spooler lists (`lpstat -e`, one name a line), or none
// when there is no lpstat or it fails.
std::vector<std::string> ListPrinters();

// The full path of the first executable named name on PATH, or "".
std::string FindOnPath(const std::string& name);

} // namespace plat
