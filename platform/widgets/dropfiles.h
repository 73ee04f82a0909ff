#pragma once
// The files dropped on a window from the file manager, in the order the drop lists them.

#include <string>
#include <vector>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

// True when data carries at least one local file.
bool HasDroppedFiles(const QMimeData *data);
// The local paths of the drop as the file system's bytes: taken from the raw URI list,
// so a name that is not valid UTF-8 arrives unchanged. Non-file URIs are left out.
std::vector<std::string> DroppedFilePaths(const QMimeData *data);

// Accepts a drag (entering or moving) that carries files, as a copy whatever action was
// proposed, so that the file manager never deletes the files it offered. False, and the
// event left ignored, for a drag without files or one whose files cannot be copied (it
// offers only to move or link them).
bool AcceptFileDrag(QDragMoveEvent *event);
// The files of a drop, accepted as a copy; nothing, and the drop left ignored, when it
// carries none.
std::vector<std::string> TakeFileDrop(QDropEvent *event);
