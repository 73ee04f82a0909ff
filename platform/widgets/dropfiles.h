#pragma once
// The files dropped on a window from the file manager, in the order the drop lists them.

#include <string>
#include <vector>

class QMimeData;

// True when data carries at least one local file.
bool HasDroppedFiles(const QMimeData *data);
// The local paths of the drop as the file system's bytes: taken from the raw URI list,
// so a name that is not valid UTF-8 arrives unchanged. Non-file URIs are left out.
std::vector<std::string> DroppedFilePaths(const QMimeData *data);
