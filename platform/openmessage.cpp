#include "openmessage.h"

#include "files.h"

#include <QList>

namespace platform {

QByteArray EncodeOpenMessage(const std::vector<std::string> &paths)
{
    if (paths.empty())
        return QByteArray(1, '\0');
    QByteArray message;
    for (const std::string &path : paths) {
        if (!message.isEmpty())
            message.append('\0');
        message.append(path.data(), static_cast<qsizetype>(path.size()));
    }
    return message;
}

std::vector<std::string> DecodeOpenMessage(const QByteArray &message)
{
    std::vector<std::string> paths;
    for (const QByteArray &part : message.split('\0')) {
        if (!part.isEmpty())
            paths.emplace_back(part.constData(), static_cast<std::size_t>(part.size()));
    }
    return paths;
}

std::string AbsolutePath(const std::string &path, const std::string &folder)
{
    if (path.empty() || path.front() == PathDelimiter)
        return path;
    return IncludeTrailingDelimiter(folder) + path;
}

} // namespace platform
