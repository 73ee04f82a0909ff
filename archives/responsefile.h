#pragma once
// Passing a long file list to a library through an "@" response file.

#include "archiveroptions.h"

namespace archives {

// When usage is in own.ResFileUsage, own.ResFileName is neither unset nor empty and files
// is given: writes every item of files, backslashes written as delimiter, in double quotes
// and followed by CR LF, to own.ResFileName (replacing it atomically; it stays afterwards),
// and returns the process's shared one-item list "@" + own.ResFileName, valid until the next
// call. Otherwise returns files unchanged. A file that cannot be written throws
// std::runtime_error naming it.
const TStringList *UseResponseFile(const TArchiverOptions &own, TResFileUse usage,
                                   const TStringList *files, char delimiter);

} // namespace archives
