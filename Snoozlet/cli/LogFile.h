#pragma once

#include "common/Result.h"
#include "sessions/LogReader.h"

#include <cstdio>
#include <string>

namespace snoozlet {

// Streams a captured power log ("-" for standard input) into a reader in
// 256 KiB blocks, so memory follows the block size, not the log's size. The
// error names the file and the reason ("cannot read x: Is a directory").
Status readLogFile(const std::string& path, LogReader& reader);

// Streams an open file into a reader.
Status readLogStream(std::FILE* file, const std::string& name, LogReader& reader);

}  // namespace snoozlet
