#pragma once
// The helper's work on one opened archive: list it, extract members, or test them. Each
// sends its records through out and ends with a Result record.

#include "outside/arccommon/memberreader.h"
#include "outside/arccommon/workerjob.h"
#include "recordwriter.h"

namespace arc {

// Lists at most this many members; a larger listing ends with ERROR_TOO_MANY_FILES.
constexpr std::size_t maxListedMembers = 100000;

void RunList(MemberReader &reader, RecordWriter &out);
// Writes every member selected by job.masks into job.folder (flat, or below its stored
// folders when job.keepFolders) under job's size limits.
void RunExtract(MemberReader &reader, const WorkerJob &job, RecordWriter &out);
// Reads (and so checks) every selected member's data without writing it.
void RunTest(MemberReader &reader, const WorkerJob &job, RecordWriter &out);

} // namespace arc
