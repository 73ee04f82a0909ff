#pragma once
// The message that hands files to the running copy over the single-instance channel: the
// paths' bytes exactly as given, separated by NUL bytes. A message of no paths is a single
// NUL (a message must not be empty); it asks the running copy to come to the front.

#include <QByteArray>
#include <string>
#include <vector>

namespace platform {

QByteArray EncodeOpenMessage(const std::vector<std::string> &paths);
// The paths of message in order; empty ones (a lone NUL, doubled or trailing NULs) are
// dropped.
std::vector<std::string> DecodeOpenMessage(const QByteArray &message);

// path as seen from folder: an absolute path stays as it is, a relative one gets folder
// (absolute) and "/" put in front; nothing is resolved or normalised.
std::string AbsolutePath(const std::string &path, const std::string &folder);

} // namespace platform
